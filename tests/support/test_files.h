// Files and folders of a test's own, and the small text helpers the tests
// of the command-line programs share.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace orvela_test {

// The lines of a text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The arguments `base` followed by `more`.
inline std::vector<std::string> With(std::vector<std::string> base, const std::vector<std::string>& more)
{
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

// The names in a folder, so that a test sees what a program left there.
inline std::set<std::string> Listing(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const std::filesystem::directory_entry& e : std::filesystem::directory_iterator(folder)) {
        names.insert(e.path().filename().string());
    }
    return names;
}

// A file's whole content, empty when it cannot be read.
inline std::string FileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file of the test's own with the given content, removed at the end.
class TempFile {
public:
    explicit TempFile(const std::string& content)
    {
        std::string name = (std::filesystem::temp_directory_path() / "orvela-test-XXXXXX").string();
        const int fd = ::mkstemp(name.data());
        EXPECT_GE(fd, 0);
        ::close(fd);
        path_ = name;
        std::ofstream(path_, std::ios::binary) << content;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }
    const char* CPath() const { return path_.c_str(); }

private:
    std::string path_;
};

// A folder of the test's own under the temporary folder, removed at the end
// with everything in it, even what a test made read-only.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "no scratch folder " << pattern;
            return;
        }
        path_ = std::filesystem::canonical(pattern);
    }
    ~ScratchFolder()
    {
        if (path_.empty()) {
            return;
        }
        std::error_code ignored;
        for (const auto& e : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            if (e.is_directory(ignored)) {
                std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
        }
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace orvela_test
