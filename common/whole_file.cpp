#include "common/whole_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvela {

std::string WholeFile::Problem() const
{
    return std::strerror(Error);
}

std::string WholeFile::Kind() const
{
    if (S_ISDIR(Mode)) {
        return "a folder";
    }
    if (S_ISFIFO(Mode)) {
        return "a named pipe";
    }
    if (S_ISCHR(Mode) || S_ISBLK(Mode)) {
        return "a device";
    }
    if (S_ISSOCK(Mode)) {
        return "a socket";
    }
    return "a regular file";
}

WholeFile ReadWholeFile(const std::string& path, std::size_t maxBytes, FileKinds kinds)
{
    WholeFile file;
    // Opening a named pipe waits for its writer unless it is opened without
    // blocking; a regular file reads the same either way.
    const int flags = O_RDONLY | O_CLOEXEC | (kinds == FileKinds::RegularOnly ? O_NONBLOCK : 0);
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        file.Error = errno;
        return file;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } const closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        file.Error = errno;
        return file;
    }
    file.Mode = st.st_mode;
    if (kinds == FileKinds::RegularOnly && !S_ISREG(st.st_mode)) {
        file.NotRegular = true;
        return file;
    }
    if (S_ISDIR(st.st_mode)) {
        file.Error = EISDIR;
        return file;
    }
    // A regular file's size tells what to make room for; a pipe or a device
    // says nothing, and a file may grow while it is read.
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        file.Size = static_cast<std::uintmax_t>(st.st_size);
        if (file.Size > maxBytes) {
            file.TooLarge = true;
            return file;
        }
        file.Bytes.reserve(static_cast<std::size_t>(st.st_size));
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            file.Error = errno;
            file.Bytes.clear();
            return file;
        }
        if (static_cast<std::size_t>(n) > maxBytes - file.Bytes.size()) {
            file.TooLarge = true;
            file.Size = file.Bytes.size() + static_cast<std::size_t>(n);
            file.Bytes.clear();
            return file;
        }
        file.Bytes.append(buffer, static_cast<std::size_t>(n));
    }
    file.Size = file.Bytes.size();
    return file;
}

} // namespace orvela
