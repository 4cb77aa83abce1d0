// A whole file read into memory, with the reason when it cannot be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <sys/types.h>

namespace orvela {

// Which kinds of file a reader takes.
enum class FileKinds {
    // Whatever the name opens: a regular file, a pipe, a device.
    Any,
    // A regular file only: a named pipe, a folder or a device is refused
    // before a byte is read, and a pipe without a writer does not block.
    RegularOnly,
};

struct WholeFile {
    // The errno of opening or reading: ENOENT for a missing file, EISDIR
    // for a folder; 0 when the file was read.
    int Error = 0;
    // Longer than the reader would take; no bytes are kept then.
    bool TooLarge = false;
    // Not a regular file, when only those are taken; Kind() says what it is.
    bool NotRegular = false;
    // The file's size in bytes: a regular file's own, a stream's as far as
    // it was read (past the limit when TooLarge).
    std::uintmax_t Size = 0;
    // The file's type and permission bits, once it was opened.
    mode_t Mode = 0;
    std::string Bytes;

    // The system's words for Error ("No such file or directory").
    std::string Problem() const;
    // What the file is, from Mode: "a folder", "a named pipe", "a device",
    // "a socket", "a regular file".
    std::string Kind() const;
    std::span<const std::uint8_t> Data() const
    {
        return {reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size()};
    }
};

// Reads the file at `path` to its end, through interruptions. A file of
// more than `maxBytes` is TooLarge; a regular one is refused by its size,
// before it is read.
WholeFile ReadWholeFile(const std::string& path, std::size_t maxBytes = std::numeric_limits<std::size_t>::max(),
                        FileKinds kinds = FileKinds::Any);

} // namespace orvela
