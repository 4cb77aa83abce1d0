// Copies of NOAA's products kept in the user's cache folder, each with the
// address it came from and the time it was fetched, so that a run without
// the network still has the flux it last saw, and says how old it is.
//
// One file a product. Its first line says what it holds:
//   ORVELA-CACHE 1 <fetched, seconds since 1970 UTC> <bytes> <FNV-1a 64, hex> <address>
// and the product's bytes follow, exactly as downloaded. A file whose line
// is not that, whose bytes are not as many as it says or whose checksum
// differs is damaged: it is never used. Files are written beside their
// final name and renamed into place, so that a reader (another run) finds
// the old copy or the new one, never a part.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace orvela::solar {

struct CachedCopy {
    std::string Url;
    std::chrono::sys_seconds FetchedAt{};
    std::string Body;
};

struct CacheRead {
    std::optional<CachedCopy> Copy;
    std::string Problem; // one line: a file is there but cannot be used
};

// A cache file's bytes from a copy, and back: the copy, or why the bytes
// are none (a problem of one line).
std::string EncodeCachedCopy(const CachedCopy& copy);
CacheRead DecodeCachedCopy(std::string_view file);

// $XDG_CACHE_HOME/orvela. An unset, empty or relative XDG_CACHE_HOME is
// ignored in favour of $HOME/.cache/orvela (the home folder of the password
// database when HOME is unset or relative). Empty when there is no home.
std::string DefaultCacheFolder();

class ProductCache {
public:
    explicit ProductCache(std::string folder);

    const std::string& Folder() const { return folder_; }
    std::string PathOf(std::string_view fileName) const;

    // The copy kept under fileName; neither a copy nor a problem when there
    // is no such file.
    CacheRead Read(std::string_view fileName) const;

    // Keeps the copy under fileName, making the folder if need be. Empty, or
    // why it could not be kept.
    std::string Write(std::string_view fileName, const CachedCopy& copy) const;

private:
    std::string folder_;
};

} // namespace orvela::solar
