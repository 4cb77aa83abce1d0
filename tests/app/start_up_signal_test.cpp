// The desktop program itself, told to end by a signal while its start-up
// waits for the user: it ends normally and writes nothing.
#include "tests/app/window_fixture.h"
#include "tests/support/http_test_server.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace orvela::app {
namespace {

using namespace ::orvela::app::testing;
using Clock = std::chrono::steady_clock;

// A port of the loopback interface that refuses every connection: bound, so
// that nobody else takes it meanwhile, and never listening.
class RefusingPort {
public:
    RefusingPort()
    {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof a;
        if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
            ADD_FAILURE() << "no loopback port: " << std::strerror(errno);
        }
        port_ = ntohs(a.sin_port);
    }
    ~RefusingPort()
    {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    int fd_ = -1;
    int port_ = 0;
};

// The program, started with the environment of the tests (the sanitizers'
// options among it) and the variables given; its standard error is read as
// it comes.
class RunningProgram {
public:
    RunningProgram(const std::string& folder, const std::map<std::string, std::string>& variables)
    {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (variables.count(entry.substr(0, entry.find('='))) == 0) {
                env.push_back(entry);
            }
        }
        for (const auto& [name, value] : variables) {
            env.push_back(name + "=" + value);
        }
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        char program[] = ORVELA_PROGRAM_PATH;
        char* argv[] = {program, nullptr};

        int err[2];
        if (pipe2(err, O_CLOEXEC) != 0) {
            ADD_FAILURE() << "pipe failed";
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            const int devNull = open("/dev/null", O_RDWR);
            if (devNull < 0 || chdir(folder.c_str()) != 0) {
                _exit(126);
            }
            dup2(devNull, STDIN_FILENO);
            dup2(devNull, STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            execve(program, argv, envp.data());
            _exit(127);
        }
        close(err[1]);
        err_ = err[0];
    }

    ~RunningProgram()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Reap();
        }
        if (err_ >= 0) {
            close(err_);
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Reads the standard error until it holds `text`; false when the
    // program closed it first, or when `limit` passed.
    bool WaitFor(const std::string& text, std::chrono::seconds limit)
    {
        const Clock::time_point end = Clock::now() + limit;
        while (err_text_.find(text) == std::string::npos) {
            if (!ReadSome(end)) {
                return false;
            }
        }
        return true;
    }

    void Signal(int sig) const { kill(pid_, sig); }

    // Reads the standard error to its end, then the exit status: 128 plus
    // the signal's number when a signal killed the program, as a shell
    // gives it, and -1 when it did not end within `limit`.
    int Finish(std::chrono::seconds limit)
    {
        const Clock::time_point end = Clock::now() + limit;
        while (ReadSome(end)) {
        }
        if (Clock::now() >= end) {
            return -1;
        }
        return Reap();
    }

    const std::string& Err() const { return err_text_; }

private:
    // False at the end of the stream or at `end`.
    bool ReadSome(Clock::time_point end)
    {
        while (err_ >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
            if (left <= 0) {
                return false;
            }
            pollfd p{err_, POLLIN, 0};
            const int ready = poll(&p, 1, static_cast<int>(left));
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            if (ready <= 0) {
                return false;
            }
            char buf[4096];
            const ssize_t n = read(err_, buf, sizeof buf);
            if (n > 0) {
                err_text_.append(buf, static_cast<std::size_t>(n));
                return true;
            }
            if (n < 0 && errno == EINTR) {
                continue;
            }
            close(err_);
            err_ = -1;
        }
        return false;
    }

    int Reap()
    {
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    }

    pid_t pid_ = -1;
    int err_ = -1;
    std::string err_text_;
};

// Every file under `folder` with its contents.
std::map<QString, std::string> FilesUnder(const QString& folder)
{
    std::map<QString, std::string> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files[file] = ReadFile(file.toStdString());
    }
    return files;
}

// The settings folder of a scratch home, and its runtime folder, made.
void MakeScratchFolders(const QTemporaryDir& home)
{
    ASSERT_TRUE(home.isValid());
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("config/Talvik Software"))));
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("runtime"))));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The program's environment: its home, settings and runtime folders in the
// scratch home, every download through `proxy`, Qt's logging rules
// `logging`, and each log line led by its category.
std::map<std::string, std::string> ProgramEnvironment(const QTemporaryDir& home, const std::string& proxy,
                                                      const std::string& logging)
{
    return {{"QT_QPA_PLATFORM", "offscreen"},
            {"HOME", home.path().toStdString()},
            {"XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toStdString()},
            {"XDG_RUNTIME_DIR", home.filePath(QStringLiteral("runtime")).toStdString()},
            {"http_proxy", proxy},
            {"https_proxy", proxy},
            {"HTTPS_PROXY", proxy},
            {"all_proxy", proxy},
            {"ALL_PROXY", proxy},
            {"no_proxy", ""},
            {"NO_PROXY", ""},
            {"QT_LOGGING_RULES", logging},
            {"QT_MESSAGE_PATTERN", "%{category}: %{message}"}};
}

std::size_t Occurrences(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// A signal while the first-run dialog or a start-up message box is open
// ends the program with exit status 0: the dialog is not taken as accepted,
// no further box opens, the remote point is not saved, and the settings
// folder is left as it was. The download goes through a proxy on a port
// that refuses it, so that it fails at once, without the network.
TEST(StartUpSignal, ASignalWhileStartUpWaitsForTheUserEndsTheProgramAndWritesNothing)
{
    const std::string station = std::string(Header) + StationKey +
                                "\"CallSign\"=\"F6XYZ\"\r\n\"Power\"=\"100\"\r\n\r\n" + DiversKey +
                                "\"DistLon\"=\"10\"\r\n\"DistLat\"=\"20\"\r\n";
    struct Case {
        const char* name;
        std::string file; // the settings file; empty: none, a first run
        std::string waitsIn;
        int sig;
    };
    const Case cases[] = {
        {"the first-run dialog", "", "Before anything else...", SIGTERM},
        {"the download's error box", station, "Error", SIGTERM},
        {"the unreadable settings' warning", std::string(Header) + "this line is no registry line\r\n", "Warning",
         SIGHUP},
    };
    const RefusingPort proxy;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir home;
        ASSERT_NO_FATAL_FAILURE(MakeScratchFolders(home));
        const QString config = home.filePath(QStringLiteral("config"));
        if (!c.file.empty()) {
            WriteFile(config.toStdString() + "/Talvik Software/ORVELA.reg", c.file);
        }
        const std::map<QString, std::string> before = FilesUnder(config);

        RunningProgram program(home.path().toStdString(),
                               ProgramEnvironment(home, proxy.Url(), "orvela.modal.debug=true"));
        // Generous: the wait ends as soon as the line comes, and a sanitized
        // program on a busy machine takes its time over the splash and the
        // window's construction.
        const std::string opens = "orvela.modal: opens ";
        ASSERT_TRUE(program.WaitFor(opens + c.waitsIn + "\n", std::chrono::seconds(300))) << program.Err();
        program.Signal(c.sig);
        EXPECT_EQ(program.Finish(std::chrono::seconds(300)), 0) << program.Err();
        EXPECT_EQ(Occurrences(program.Err(), opens), 1u) << program.Err();
        EXPECT_EQ(FilesUnder(config), before);
    }
}

// A signal while the download hangs ends the program at once with exit
// status 0, writing nothing: the download is cancelled, not waited for to
// its time-outs, whether the signal comes during the splash or while the
// start-up sequence waits for the bulletin. The proxy takes the request and
// never answers.
TEST(StartUpSignal, ASignalWhileTheDownloadHangsCancelsItAndWritesNothing)
{
    const std::string station = std::string(Header) + StationKey +
                                "\"CallSign\"=\"F6XYZ\"\r\n\"Power\"=\"100\"\r\n\r\n" + DiversKey +
                                "\"DistLon\"=\"10\"\r\n\"DistLat\"=\"20\"\r\n";
    struct Case {
        const char* name;
        const char* waitFor; // the line on the standard error to signal at; none: the request
    };
    const Case cases[] = {
        {"the request just sent, during the splash", nullptr},
        {"start-up waiting for the download", "orvela.download: start-up waits for the download\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::promise<void> requested;
        solar::testing::HttpTestServer proxy(
            [&](const solar::testing::HttpRequest&, solar::testing::HttpConnection& connection) {
                requested.set_value();
                connection.WaitForClose();
            });
        QTemporaryDir home;
        ASSERT_NO_FATAL_FAILURE(MakeScratchFolders(home));
        const QString config = home.filePath(QStringLiteral("config"));
        WriteFile(config.toStdString() + "/Talvik Software/ORVELA.reg", station);
        const std::map<QString, std::string> before = FilesUnder(config);

        RunningProgram program(
            home.path().toStdString(),
            ProgramEnvironment(home, proxy.Origin(), "orvela.modal.debug=true;orvela.download.debug=true"));
        if (c.waitFor != nullptr) {
            ASSERT_TRUE(program.WaitFor(c.waitFor, std::chrono::seconds(300))) << program.Err();
        } else {
            ASSERT_EQ(requested.get_future().wait_for(std::chrono::seconds(300)), std::future_status::ready);
        }
        program.Signal(SIGTERM);
        EXPECT_EQ(program.Finish(std::chrono::seconds(300)), 0) << program.Err();
        // Cancelled: a download that ran into a time-out says so instead.
        EXPECT_NE(program.Err().find("orvela.download: ended: the download was cancelled\n"), std::string::npos)
            << program.Err();
        EXPECT_EQ(Occurrences(program.Err(), "orvela.modal: opens "), 0u) << program.Err();
        EXPECT_EQ(FilesUnder(config), before);
    }
}

} // namespace
} // namespace orvela::app
