#include "common/atomic_file.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace orvela {

AtomicFile::AtomicFile(std::string path)
    : path_(std::move(path))
{
}

AtomicFile::~AtomicFile()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (!temp_.empty() && !placed_) {
        ::unlink(temp_.c_str());
    }
}

void AtomicFile::RemoveLeftovers(const std::string& path)
{
    const std::string prefix = path.substr(path.rfind('/') + 1) + std::string(TempInfix);
    DIR* dir = ::opendir(FolderOf(path).c_str());
    if (!dir) {
        return;
    }
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() == prefix.size() + TempSuffixLength && name.compare(0, prefix.size(), prefix) == 0) {
            ::unlinkat(::dirfd(dir), name.c_str(), 0);
        }
    }
    ::closedir(dir);
}

int AtomicFile::Open()
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device seed;
    std::minstd_rand pick(seed());
    std::uniform_int_distribution<std::size_t> letter(0, sizeof Letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = path_ + std::string(TempInfix);
        for (std::size_t i = 0; i < TempSuffixLength; ++i) {
            name += Letters[letter(pick)];
        }
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            temp_ = std::move(name);
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

int AtomicFile::SetMode(mode_t mode)
{
    return ::fchmod(fd_, mode) == 0 ? 0 : errno;
}

int AtomicFile::Write(std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int AtomicFile::Commit(const std::function<int()>& beforeRename)
{
    int error = ::fsync(fd_) == 0 ? 0 : errno;
    if (::close(fd_) != 0 && error == 0) {
        error = errno;
    }
    fd_ = -1;
    if (error == 0 && beforeRename) {
        error = beforeRename();
    }
    if (error == 0 && ::rename(temp_.c_str(), path_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        return error;
    }
    placed_ = true;
    SyncFolderOf(path_);
    return 0;
}

int WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicFile file(path);
    if (const int error = file.Open()) {
        return error;
    }
    if (const int error = file.Write(bytes)) {
        return error;
    }
    return file.Commit();
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolderOf(const std::string& path)
{
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace orvela
