// Files read whole, or the reason they cannot be.
#include "common/whole_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace orvela {
namespace {

class WholeFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/orvela-whole-file-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = dir + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    std::string dir;
};

// Every byte, past the reader's own buffer, with NULs and the file's mode;
// an empty file is no error.
TEST_F(WholeFileTest, ReadsEveryByteAndTheMode)
{
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7 % 251);
    }
    const std::string path = Write("big.bin", bytes);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const WholeFile file = ReadWholeFile(path);
    EXPECT_EQ(file.Error, 0);
    EXPECT_FALSE(file.TooLarge);
    EXPECT_TRUE(file.Bytes == bytes);
    EXPECT_EQ(file.Data().size(), bytes.size());
    EXPECT_TRUE(S_ISREG(file.Mode));
    EXPECT_EQ(file.Mode & 07777, 0640u);

    const WholeFile empty = ReadWholeFile(Write("empty", ""));
    EXPECT_EQ(empty.Error, 0);
    EXPECT_TRUE(empty.Bytes.empty());
}

// What cannot be read says why, in the system's words; a file longer than
// the reader takes is too large, one just as long is not. Standard input's
// pipe has no size to go by: its bytes count as they come.
TEST_F(WholeFileTest, RefusalsSayWhy)
{
    const WholeFile missing = ReadWholeFile(dir + "/absent.jpg");
    EXPECT_EQ(missing.Error, ENOENT);
    EXPECT_EQ(missing.Problem(), "No such file or directory");

    const WholeFile folder = ReadWholeFile(dir);
    EXPECT_EQ(folder.Error, EISDIR);
    EXPECT_EQ(folder.Problem(), "Is a directory");

    const std::string ten = Write("ten", "0123456789");
    EXPECT_EQ(ReadWholeFile(ten, 10).Bytes, "0123456789");
    const WholeFile tooLarge = ReadWholeFile(ten, 9);
    EXPECT_EQ(tooLarge.Error, 0);
    EXPECT_TRUE(tooLarge.TooLarge);
    EXPECT_TRUE(tooLarge.Bytes.empty());

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ASSERT_EQ(::write(pipeEnds[1], "0123456789", 10), 10);
    ::close(pipeEnds[1]);
    const WholeFile piped = ReadWholeFile("/proc/self/fd/" + std::to_string(pipeEnds[0]), 9);
    ::close(pipeEnds[0]);
    EXPECT_TRUE(piped.TooLarge);
    EXPECT_EQ(piped.Size, 10u);
}

// A reader of regular files only refuses a named pipe without waiting for
// its writer, and a folder, saying what each is; a regular file too large
// is refused by its size, unread, and the size is told.
TEST_F(WholeFileTest, RegularOnlyRefusesOtherKindsUnreadAndTellsTheSize)
{
    const std::string fifo = dir + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const WholeFile pipe = ReadWholeFile(fifo, 100, FileKinds::RegularOnly);
    EXPECT_EQ(pipe.Error, 0);
    EXPECT_TRUE(pipe.NotRegular);
    EXPECT_EQ(pipe.Kind(), "a named pipe");

    const WholeFile folder = ReadWholeFile(dir, 100, FileKinds::RegularOnly);
    EXPECT_TRUE(folder.NotRegular);
    EXPECT_EQ(folder.Kind(), "a folder");

    const std::string ten = Write("ten", "0123456789");
    const WholeFile tooLarge = ReadWholeFile(ten, 9, FileKinds::RegularOnly);
    EXPECT_FALSE(tooLarge.NotRegular);
    EXPECT_TRUE(tooLarge.TooLarge);
    EXPECT_EQ(tooLarge.Size, 10u);
    const WholeFile whole = ReadWholeFile(ten, 10, FileKinds::RegularOnly);
    EXPECT_EQ(whole.Bytes, "0123456789");
    EXPECT_EQ(whole.Size, 10u);
}

} // namespace
} // namespace orvela
