// The products' copies in the cache folder.
#include "solar/product_cache.h"
#include "common/atomic_file.h"
#include "common/whole_file.h"
#include "common/whole_number.h"
#include "solar/products.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orvela::solar {

namespace {

constexpr std::string_view Tag = "ORVELA-CACHE 1 ";
// The first line: the tag, three numbers and an address.
constexpr std::size_t LongestHead = 4096;

std::uint64_t Fnv1a64(std::string_view bytes)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

std::string HeadOf(const CachedCopy& copy)
{
    char numbers[96];
    std::snprintf(numbers, sizeof numbers, "%lld %zu %016" PRIx64 " ",
                  static_cast<long long>(copy.FetchedAt.time_since_epoch().count()), copy.Body.size(),
                  Fnv1a64(copy.Body));
    return std::string(Tag) + numbers + copy.Url + "\n";
}

std::optional<long long> WholeNumber(std::string_view text)
{
    if (!IsDigits(text) || text.size() > 18)
        return std::nullopt;
    long long v = 0;
    for (const char c : text)
        v = v * 10 + (c - '0');
    return v;
}

// The next word of `line` (words are separated by one blank).
std::string_view Word(std::string_view& line)
{
    const std::size_t end = line.find(' ');
    const std::string_view word = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
    return word;
}

CacheRead Damaged(std::string why)
{
    return {std::nullopt, std::move(why)};
}

std::string WithoutTrailingSlashes(std::string p)
{
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

} // namespace

std::string EncodeCachedCopy(const CachedCopy& copy)
{
    return HeadOf(copy) + copy.Body;
}

CacheRead DecodeCachedCopy(std::string_view file)
{
    const std::size_t end = file.find('\n');
    if (file.substr(0, Tag.size()) != Tag || end == std::string_view::npos || end > LongestHead)
        return Damaged("its first line is not a cached copy's");
    std::string_view head = file.substr(Tag.size(), end - Tag.size());
    const std::optional<long long> seconds = WholeNumber(Word(head));
    const std::optional<long long> bytes = WholeNumber(Word(head));
    const std::string_view hash = Word(head);
    const std::string_view url = head;
    // Fetched by the year 9999 at the latest, so that every date on it is one.
    constexpr long long LastSecond = 253402300799;
    if (!seconds || *seconds > LastSecond || !bytes || hash.size() != 16 ||
        hash.find_first_not_of("0123456789abcdef") != std::string::npos || url.empty())
        return Damaged("its first line is not a cached copy's");
    CachedCopy copy;
    copy.Body = file.substr(end + 1);
    if (copy.Body.size() != static_cast<unsigned long long>(*bytes))
        return Damaged("it holds " + std::to_string(copy.Body.size()) + " bytes of " + std::to_string(*bytes));
    char expected[24];
    std::snprintf(expected, sizeof expected, "%016" PRIx64, Fnv1a64(copy.Body));
    if (hash != expected)
        return Damaged("its checksum differs");
    copy.Url = std::string(url);
    copy.FetchedAt = std::chrono::sys_seconds(std::chrono::seconds(*seconds));
    return {std::move(copy), ""};
}

std::string DefaultCacheFolder()
{
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && xdg[0] == '/')
        return WithoutTrailingSlashes(xdg) + "/orvela";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else {
        std::vector<char> buf(16384);
        passwd pw{};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir &&
            found->pw_dir[0] == '/')
            home = found->pw_dir;
    }
    if (home.empty())
        return "";
    return WithoutTrailingSlashes(home) + "/.cache/orvela";
}

ProductCache::ProductCache(std::string folder)
    : folder_(std::move(folder))
{
}

std::string ProductCache::PathOf(std::string_view fileName) const
{
    return folder_ + "/" + std::string(fileName);
}

CacheRead ProductCache::Read(std::string_view fileName) const
{
    const WholeFile file = ReadWholeFile(PathOf(fileName), MaxProductBytes + LongestHead, FileKinds::RegularOnly);
    // No copy yet: no file, or no folder (a file in its place).
    if (file.Error == ENOENT || file.Error == ENOTDIR)
        return {};
    if (file.Error != 0)
        return Damaged("it cannot be read: " + file.Problem());
    if (file.NotRegular)
        return Damaged("it is not a file but " + file.Kind());
    if (file.TooLarge)
        return Damaged("it is larger than any product (" + std::to_string(file.Size) + " bytes)");
    return DecodeCachedCopy(file.Bytes);
}

std::string ProductCache::Write(std::string_view fileName, const CachedCopy& copy) const
{
    if (folder_.empty())
        return "no cache folder";
    std::error_code made;
    std::filesystem::create_directories(folder_, made);
    if (made)
        return "cannot make the folder " + folder_ + ": " + made.message();
    const std::string path = PathOf(fileName);
    if (const int error = WriteFileAtomically(path, EncodeCachedCopy(copy)); error != 0)
        return "cannot write " + path + ": " + std::strerror(error);
    return "";
}

} // namespace orvela::solar
