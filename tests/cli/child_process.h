// Runs a command-line program of the project as a user does: a child
// process, its two output streams and its exit status.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace orvela::child {

struct Outcome {
    int Status = -1; // exit status, or -1 if the program did not exit normally
    std::string Out;
    std::string Err;
};

// The argument vector of execv: the program, then the arguments.
inline std::vector<char*> Argv(const char* program, std::vector<std::string>& args)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    return argv;
}

inline int ExitStatus(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the program with its output going to pipes, both read as they fill.
// With `stdoutFile`, standard output goes to that file instead (Out then
// stays empty): "/dev/full" is a disc that is always full. With
// `stdinFile`, standard input comes from that file.
inline Outcome RunProgram(const char* program, std::vector<std::string> args, const char* stdoutFile = nullptr,
                          const char* stdinFile = nullptr)
{
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    std::vector<char*> argv = Argv(program, args);
    const pid_t pid = fork();
    if (pid == 0) {
        const int stdoutFd = stdoutFile ? open(stdoutFile, O_WRONLY) : out[1];
        const int stdinFd = stdinFile ? open(stdinFile, O_RDONLY) : STDIN_FILENO;
        if (stdoutFd < 0 || stdinFd < 0) {
            _exit(126);
        }
        dup2(stdinFd, STDIN_FILENO);
        dup2(stdoutFd, STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        close(out[0]);
        close(out[1]);
        close(err[0]);
        close(err[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    Outcome o;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&o.Out, &o.Err};
    int open = 2;
    while (open > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buf[4096];
            const ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    o.Status = ExitStatus(pid);
    return o;
}

// A refusal as every program of the project gives it: exit status 2,
// nothing on standard output, and one line on standard error that starts
// with the program's name and holds `says`.
inline void ExpectRefusal(const Outcome& o, const std::string& program, const std::string& says)
{
    EXPECT_EQ(o.Status, 2);
    EXPECT_EQ(o.Out, "");
    ASSERT_FALSE(o.Err.empty());
    EXPECT_EQ(o.Err.find('\n'), o.Err.size() - 1) << "not one line: " << o.Err;
    EXPECT_EQ(o.Err.rfind(program + ": ", 0), 0u) << o.Err;
    EXPECT_NE(o.Err.find(says), std::string::npos) << o.Err;
}

// The arguments as a shell line, for a test's trace.
inline std::string Shown(const std::vector<std::string>& args)
{
    std::string shown;
    for (const std::string& a : args) {
        shown += (shown.empty() ? "" : " ") + a;
    }
    return shown;
}

} // namespace orvela::child
