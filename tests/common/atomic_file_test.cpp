// Files replaced whole or not at all.
#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using orvela::AtomicFile;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvela-atomic-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::set<std::string> Listing() const
    {
        std::set<std::string> names;
        DIR* d = ::opendir(dir.c_str());
        while (const dirent* e = ::readdir(d)) {
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") {
                names.insert(e->d_name);
            }
        }
        ::closedir(d);
        return names;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string dir;
};

// A new file, then a replacement: the content is whole each time, the
// temporary file gone, and the permissions those the umask allows.
TEST_F(AtomicFileTest, WritesAndReplacesWhole)
{
    const std::string path = dir + "/out.txt";
    ASSERT_EQ(orvela::WriteFileAtomically(path, "first"), 0);
    ASSERT_EQ(orvela::WriteFileAtomically(path, "second, longer"), 0);
    EXPECT_EQ(Read(path), "second, longer");
    EXPECT_EQ(Listing(), std::set<std::string>{"out.txt"});
    const mode_t mask = ::umask(0);
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

// A failure at any step leaves the old file as it was and no temporary
// file: a folder that is not there, a refusal before the rename, a file
// given up before its commit.
TEST_F(AtomicFileTest, AFailureLeavesTheOldFileAndNoTemporary)
{
    const std::string path = dir + "/keep.txt";
    ASSERT_EQ(orvela::WriteFileAtomically(path, "old"), 0);

    EXPECT_EQ(orvela::WriteFileAtomically(dir + "/missing/x.txt", "new"), ENOENT);
    {
        AtomicFile file(path);
        ASSERT_EQ(file.Open(), 0);
        EXPECT_EQ(file.TempName().substr(0, path.size() + AtomicFile::TempInfix.size()),
                  path + std::string(AtomicFile::TempInfix));
        EXPECT_EQ(file.TempName().size(), path.size() + AtomicFile::TempInfix.size() + AtomicFile::TempSuffixLength);
        ASSERT_EQ(file.Write("new"), 0);
        EXPECT_EQ(file.Commit([] { return EPERM; }), EPERM);
    }
    {
        AtomicFile file(path);
        ASSERT_EQ(file.Open(), 0);
        ASSERT_EQ(file.Write("abandoned"), 0);
    }
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Listing(), std::set<std::string>{"keep.txt"});

    // A folder in the way of the final name: the rename fails, nothing stays.
    ASSERT_EQ(::mkdir((dir + "/folder.txt").c_str(), 0700), 0);
    EXPECT_NE(orvela::WriteFileAtomically(dir + "/folder.txt", "x"), 0);
    EXPECT_EQ(Listing(), (std::set<std::string>{"keep.txt", "folder.txt"}));
}

} // namespace
