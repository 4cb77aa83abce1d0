// A file written beside its final name and renamed over it once complete:
// a reader finds the old file or the new one, never a part of either, and a
// failure leaves neither a partial file nor the temporary one.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace orvela {

class AtomicFile {
public:
    // The temporary file's name is the final one, this infix and six
    // characters, so that a writer that died part way can be cleaned up.
    static constexpr std::string_view TempInfix = ".tmp-";
    static constexpr std::size_t TempSuffixLength = 6;

    explicit AtomicFile(std::string path);

    // Removes the temporary files of `path` that a writer which died before
    // its rename left. Only when no other writer of `path` can be at work.
    static void RemoveLeftovers(const std::string& path);
    // Removes the temporary file unless it was renamed into place.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file beside the final one, readable and writable
    // as the process's umask allows. 0, or the errno of the failure.
    int Open();
    // The open temporary file, for writers that take a descriptor.
    int Fd() const { return fd_; }
    const std::string& TempName() const { return temp_; }
    // Gives the temporary file these permission bits.
    int SetMode(mode_t mode);
    // All the bytes, through interruptions. 0 or errno.
    int Write(std::string_view bytes);
    // Flushes the file to disk, closes it, runs `beforeRename` (which may
    // refuse with an errno), renames the file into place and flushes the
    // folder, so that the rename itself lasts. 0 or the errno of the first
    // failure; the final file is replaced only when it returns 0.
    int Commit(const std::function<int()>& beforeRename = {});

private:
    std::string path_;
    std::string temp_;
    int fd_ = -1;
    bool placed_ = false;
};

// `bytes` as the whole content of `path`, as AtomicFile writes it. 0 or
// errno.
int WriteFileAtomically(const std::string& path, std::string_view bytes);

// The folder of a path: "." for a bare name, "/" for a file at the root.
std::string FolderOf(const std::string& path);

// The folder of a path, flushed to disk; a folder that
// cannot be flushed (some file systems refuse) leaves nothing to report.
void SyncFolderOf(const std::string& path);

} // namespace orvela
