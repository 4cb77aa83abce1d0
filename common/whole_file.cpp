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

WholeFile ReadWholeFile(const std::string& path, std::size_t maxBytes)
{
    WholeFile file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
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
    if (S_ISDIR(st.st_mode)) {
        file.Error = EISDIR;
        return file;
    }
    file.Mode = st.st_mode;
    // A regular file's size tells what to make room for; a pipe or a device
    // says nothing, and a file may grow while it is read.
    if (S_ISREG(st.st_mode) && st.st_size > 0) {
        if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
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
            file.Bytes.clear();
            return file;
        }
        file.Bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return file;
}

} // namespace orvela
