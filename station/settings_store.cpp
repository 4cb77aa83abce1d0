#include "station/settings_store.h"

#include "common/atomic_file.h"
#include "common/whole_file.h"

#include <optional>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvela {

namespace {

constexpr const char* StoreKey = "HKEY_CURRENT_USER\\Software\\Talvik Software\\ORVELA";
constexpr const char* FolderName = "Talvik Software";
constexpr const char* FileName = "ORVELA.reg";
// A settings file is a few hundred bytes; anything this large is not one,
// and is treated like a file that cannot be parsed.
constexpr std::size_t MaxFileSize = 16 * 1024 * 1024;

std::string ErrorText(int err)
{
    return std::generic_category().message(err);
}

class UniqueFd {
public:
    explicit UniqueFd(int fd = -1)
        : fd_(fd)
    {
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }
    int Get() const { return fd_; }
    // Closes now and reports close's own error (0 when none).
    int Close()
    {
        const int rc = fd_ >= 0 ? ::close(fd_) : 0;
        fd_ = -1;
        return rc == 0 ? 0 : errno;
    }
    void Reset()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = -1;
    }

private:
    int fd_;
};

// The document in a file that was read, and the reason it could not be
// parsed to its end ("" when it could).
std::pair<reg::RegDocument, std::string> ParseContents(const WholeFile& fc)
{
    if (fc.TooLarge) {
        return {reg::RegDocument{}, "the file is larger than a settings file can be"};
    }
    reg::ParseResult r = reg::RegDocument::Parse(fc.Bytes);
    return {std::move(r.Document), std::move(r.Problem)};
}

// mkdir -p; new folders are private to the user. Returns an errno or 0.
int MakeFolders(const std::string& folder)
{
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        return 0;
    }
    std::size_t pos = 0;
    while (true) {
        pos = folder.find('/', pos + 1);
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return errno;
        }
        if (pos == std::string::npos) {
            break;
        }
    }
    if (::stat(folder.c_str(), &st) != 0) {
        return errno;
    }
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

// A settings file reached through a symbolic link is replaced where the
// link points, so the link survives.
std::string ResolveTarget(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string target(real);
            std::free(real);
            return target;
        }
    }
    return path;
}

// Keeps the faulty file under "<target>.unreadable-YYYYMMDD-HHMMSS[-N]"
// (local time). A hard link keeps it in place too, so the settings file is
// never missing; where links are not supported it is renamed.
int SetAside(const std::string& target)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = target + ".unreadable-" + stamp;
    for (int n = 0; n < 1000; ++n) {
        const std::string name = n == 0 ? base : base + "-" + std::to_string(n);
        if (::link(target.c_str(), name.c_str()) == 0) {
            return 0;
        }
        if (errno == EEXIST) {
            continue;
        }
        struct stat st {};
        if (::lstat(name.c_str(), &st) == 0) {
            continue;
        }
        return ::rename(target.c_str(), name.c_str()) == 0 ? 0 : errno;
    }
    return EEXIST;
}

bool IsValidSection(const std::string& section)
{
    if (section.empty()) {
        return false;
    }
    for (char c : section) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string DefaultSettingsFile()
{
    auto withoutTrailingSlashes = [](std::string p) {
        while (!p.empty() && p.back() == '/') {
            p.pop_back();
        }
        return p;
    };
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = withoutTrailingSlashes(xdg);
    } else {
        std::string home;
        if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
            home = h;
        } else {
            std::vector<char> buf(16384);
            passwd pw{};
            passwd* found = nullptr;
            if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir) {
                home = found->pw_dir;
            } else {
                home = ".";
            }
        }
        base = withoutTrailingSlashes(home) + "/.config";
    }
    return base + "/" + FolderName + "/" + FileName;
}

std::string SectionKeyPath(const std::string& section)
{
    return std::string(StoreKey) + "\\" + section;
}

RegIni::RegIni(std::string path, BeforeReplace beforeReplace)
    : file_(std::move(path))
    , beforeReplace_(std::move(beforeReplace))
{
    const WholeFile fc = ReadWholeFile(file_, MaxFileSize);
    if (fc.Error == ENOENT) {
        return;
    }
    if (fc.Error != 0) {
        problem_ = "cannot read the file: " + ErrorText(fc.Error);
        return;
    }
    auto [doc, problem] = ParseContents(fc);
    doc_ = std::move(doc);
    problem_ = std::move(problem);
}

void RegIni::CreateKey(const std::string& section)
{
    if (!IsValidSection(section)) {
        throw StoreError("Cannot create the settings section \"" + section + "\" in \"" + file_ +
                         "\": not a valid key name");
    }
}

const reg::RegValue* RegIni::Find(const std::string& section, const std::string& name) const
{
    return doc_.Find(SectionKeyPath(section), name);
}

std::string RegIni::ReadString(const std::string& section, const std::string& name, const std::string& def)
{
    const reg::RegValue* v = Find(section, name);
    if (!v) {
        return def;
    }
    if (!v->IsText()) {
        throw StoreError("The setting " + section + "\\" + name + " in \"" + file_ + "\" is not a text value");
    }
    return v->AsText();
}

int RegIni::ReadInteger(const std::string& section, const std::string& name, int def)
{
    return ParseWholeNumber(ReadString(section, name, "")).value_or(def);
}

bool RegIni::ReadBool(const std::string& section, const std::string& name, bool def)
{
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

RegIni::Value RegIni::Value::Text(std::string name, std::string text)
{
    return {std::move(name), reg::RegValue::String(std::move(text))};
}

RegIni::Value RegIni::Value::Integer(std::string name, int value)
{
    return {std::move(name), reg::RegValue::String(std::to_string(value))};
}

RegIni::Value RegIni::Value::Extended(std::string name, long double value)
{
    const std::array<std::uint8_t, 10> bytes = EncodeExtended(value);
    return {std::move(name), reg::RegValue::Hex({bytes.begin(), bytes.end()})};
}

void RegIni::WriteString(const std::string& section, const std::string& name, const std::string& text)
{
    Store(section, {Value::Text(name, text)});
}

void RegIni::WriteInteger(const std::string& section, const std::string& name, int value)
{
    Store(section, {Value::Integer(name, value)});
}

void RegIni::WriteValues(const std::string& section, const std::vector<Value>& values)
{
    Store(section, values);
}

long double RegIni::ReadExtended(const std::string& section, const std::string& name)
{
    try {
        const reg::RegValue* v = Find(section, name);
        if (!v) {
            return 0.0L;
        }
        const std::vector<std::uint8_t> raw = v->RawData();
        if (raw.size() > 10) {
            return 0.0L;
        }
        std::array<std::uint8_t, 10> bytes{};
        for (std::size_t i = 0; i < raw.size(); ++i) {
            bytes[i] = raw[i];
        }
        return DecodeExtended(bytes);
    } catch (const std::exception&) {
        return 0.0L;
    }
}

bool RegIni::WriteExtended(const std::string& section, const std::string& name, long double value)
{
    try {
        Store(section, {Value::Extended(name, value)});
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void RegIni::Store(const std::string& section, const std::vector<Value>& values)
{
    CreateKey(section);
    auto fail = [this](int err) {
        throw StoreError("Cannot save the settings to \"" + file_ + "\": " + ErrorText(err));
    };
    if (file_.empty()) {
        fail(ENOENT);
    }

    const std::string target = ResolveTarget(file_);
    const std::string folder = FolderOf(target);
    if (const int err = MakeFolders(folder)) {
        fail(err);
    }

    // The settings file itself is replaced by every write, so the lock
    // lives on a file of its own beside it.
    UniqueFd lock(::open((target + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.Get() < 0) {
        fail(errno);
    }
    while (::flock(lock.Get(), LOCK_EX) != 0) {
        if (errno != EINTR) {
            fail(errno);
        }
    }
    // Under the lock no other writer can own one.
    AtomicFile::RemoveLeftovers(target);

    // Another Orvela may have written since this store was opened: apply
    // the change to what is on disk now.
    const WholeFile current = ReadWholeFile(target, MaxFileSize);
    reg::RegDocument doc;
    std::string problem;
    if (current.Error != 0 && current.Error != ENOENT) {
        fail(current.Error);
    }
    if (current.Error == 0) {
        std::tie(doc, problem) = ParseContents(current);
    }
    for (const Value& v : values) {
        doc.Set(SectionKeyPath(section), v.Name, v.Data);
    }
    const std::string bytes = doc.Serialize();

    AtomicFile file(target);
    if (const int err = file.Open()) {
        fail(err);
    }
    // The file keeps the permissions it had; a new one is the user's alone.
    if (const int err = file.SetMode(current.Error == 0 ? (current.Mode & 07777) : 0600)) {
        fail(err);
    }
    if (const int err = file.Write(bytes)) {
        fail(err);
    }
    const int err = file.Commit([&] {
        // A file that could not be read is kept aside before it is replaced.
        if (!problem.empty()) {
            if (const int aside = SetAside(target)) {
                return aside;
            }
        }
        if (beforeReplace_) {
            beforeReplace_();
        }
        return 0;
    });
    if (err != 0) {
        fail(err);
    }
    doc_ = std::move(doc);
}

} // namespace orvela
