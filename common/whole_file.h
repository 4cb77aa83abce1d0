// A whole file read into memory, with the reason when it cannot be.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <sys/types.h>

namespace orvela {

struct WholeFile {
    // The errno of opening or reading: ENOENT for a missing file, EISDIR
    // for a folder; 0 when the file was read.
    int Error = 0;
    // Longer than the reader would take; no bytes are kept then.
    bool TooLarge = false;
    // The file's type and permission bits, once it was opened.
    mode_t Mode = 0;
    std::string Bytes;

    // The system's words for Error ("No such file or directory").
    std::string Problem() const;
    std::span<const std::uint8_t> Data() const
    {
        return {reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size()};
    }
};

// Reads the file at `path` to its end, through interruptions. A file of
// more than `maxBytes` is TooLarge.
WholeFile ReadWholeFile(const std::string& path, std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

} // namespace orvela
