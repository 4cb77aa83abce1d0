#include "map/picture_io.h"
#include "common/whole_file.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>

namespace orvela {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> Bytes(std::string_view name)
{
    const std::span<const std::uint8_t> data = MapResource(name);
    return {data.begin(), data.end()};
}

TEST(MapResources, DecodeToTheirSizes)
{
    for (const char* name : {"MAP_DAY", "MAP_NIGHT"}) {
        SCOPED_TRACE(name);
        const Picture24 p = LoadJpegImage(name);
        EXPECT_EQ(p.Width, 512);
        EXPECT_EQ(p.Height, 256);
        EXPECT_EQ(p.Bytes.size(), 512u * 256u * 3u);
    }
    // Blue first: the Pacific on the equator at 180 degrees is blue by day.
    const Picture24 day = LoadJpegImage("MAP_DAY");
    const std::uint8_t* ocean = day.Row(128);
    EXPECT_GT(ocean[0], ocean[2] + 20);

    const Picture24 sun = DecodeBmp24(MapResource("SUN_BMP"));
    EXPECT_EQ(sun.Width, 30);
    EXPECT_EQ(sun.Height, 30);
    // A warm glyph: more red than blue at its centre.
    EXPECT_GT(sun.Row(15)[3 * 15 + 2], sun.Row(15)[3 * 15]);

    const Picture8 mask = DecodeBmp8(MapResource("SUN_ALPHA"));
    EXPECT_EQ(mask.Width, 30);
    EXPECT_EQ(mask.Height, 30);
    // The grey level is the opacity: transparent corners, an opaque centre.
    EXPECT_EQ(*std::min_element(mask.Bytes.begin(), mask.Bytes.end()), 0);
    EXPECT_EQ(*std::max_element(mask.Bytes.begin(), mask.Bytes.end()), 255);
    EXPECT_EQ(mask.Row(0)[0], 0);
    EXPECT_EQ(mask.Row(15)[15], 255);

    EXPECT_TRUE(MapResource("MAP_DAWN").empty());
    EXPECT_THROW(LoadJpegImage("MAP_DAWN"), PictureError);
    EXPECT_THROW(LoadJpegImage("SUN_BMP"), PictureError); // not a JPEG
}

TEST(DecodeJpeg, RejectsWhatIsNotAWholeJpeg)
{
    const std::vector<std::uint8_t> day = Bytes("MAP_DAY");
    const std::vector<std::uint8_t> garbage(1000, 0x5a);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
    };
    const Case cases[] = {
        {"first half", {day.begin(), day.begin() + static_cast<long>(day.size() / 2)}},
        {"all but the end marker", {day.begin(), day.end() - 2}},
        {"header only", {day.begin(), day.begin() + 600}},
        {"garbage", garbage},
        {"nothing", {}},
        {"a BMP", Bytes("SUN_BMP")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DecodeJpeg(c.data), PictureError);
    }
}

TEST(DecodeBmp, RejectsWhatIsNotAWholeBmp)
{
    const std::vector<std::uint8_t> sun = Bytes("SUN_BMP");
    const std::vector<std::uint8_t> mask = Bytes("SUN_ALPHA");
    struct Case {
        const char* name;
        std::vector<std::uint8_t> data;
    };
    const Case cases[] = {
        {"a JPEG", Bytes("MAP_DAY")},
        {"garbage", std::vector<std::uint8_t>(300, 0x5a)},
        {"nothing", {}},
        {"glyph cut short", {sun.begin(), sun.end() - 100}},
        {"mask cut short", {mask.begin(), mask.end() - 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(DecodeBmp24(c.data), PictureError);
        EXPECT_THROW(DecodeBmp8(c.data), PictureError);
    }
}

// Each source pixel carries its own column in byte 0 and its row in byte 1,
// so the target tells which source pixel it took.
TEST(ResizeNearest, TakesOneSourcePixelEach)
{
    struct Case {
        int from, to;
        std::vector<int> sources;
    };
    const Case cases[] = {
        {30, 8, {1, 5, 9, 13, 16, 20, 24, 28}}, // the glyph's reduction, symmetric about its centre
        {4, 8, {0, 0, 1, 1, 2, 2, 3, 3}},
        {5, 5, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.to);
        Picture24 p24 = Picture24::Make(c.from, c.from);
        Picture8 p8 = Picture8::Make(c.from, c.from);
        for (int y = 0; y < c.from; ++y)
            for (int x = 0; x < c.from; ++x) {
                p24.Row(y)[3 * x] = static_cast<std::uint8_t>(x);
                p24.Row(y)[3 * x + 1] = static_cast<std::uint8_t>(y);
                p8.Row(y)[x] = static_cast<std::uint8_t>(x + 100 * (y % 2));
            }
        const Picture24 r24 = ResizeNearest(p24, c.to, c.to);
        const Picture8 r8 = ResizeNearest(p8, c.to, c.to);
        ASSERT_EQ(r24.Width, c.to);
        ASSERT_EQ(r24.Height, c.to);
        ASSERT_EQ(r8.Width, c.to);
        ASSERT_EQ(r8.Height, c.to);
        for (int y = 0; y < c.to; ++y)
            for (int x = 0; x < c.to; ++x) {
                const int sx = c.sources[static_cast<std::size_t>(x)];
                const int sy = c.sources[static_cast<std::size_t>(y)];
                EXPECT_EQ(r24.Row(y)[3 * x], sx);
                EXPECT_EQ(r24.Row(y)[3 * x + 1], sy);
                EXPECT_EQ(r8.Row(y)[x], sx + 100 * (sy % 2));
            }
    }
    EXPECT_TRUE(ResizeNearest(Picture24::Make(30, 30), 0, 8).Empty());
    EXPECT_TRUE(ResizeNearest(Picture8{}, 8, 8).Empty());
}

class PngFile : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::path(testing::TempDir()) /
               ("orvela-png-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::vector<fs::path> Files() const
    {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(dir_))
            files.push_back(entry.path().filename());
        return files;
    }

    fs::path dir_;
};

Picture24 ReadPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    image.format = PNG_FORMAT_BGR;
    Picture24 p = Picture24::Make(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, p.Bytes.data(), 0, nullptr))
        return {};
    return p;
}

TEST_F(PngFile, RoundTripAndReplace)
{
    Picture24 picture = Picture24::Make(7, 3);
    for (std::size_t i = 0; i < picture.Bytes.size(); ++i)
        picture.Bytes[i] = static_cast<std::uint8_t>(i * 37);
    const std::string path = (dir_ / "map.png").string();

    WritePng(LoadJpegImage("MAP_NIGHT"), path); // an earlier map, replaced below
    WritePng(picture, path);
    EXPECT_EQ(ReadPng(path), picture);
    EXPECT_EQ(Files(), std::vector<fs::path>{"map.png"}); // no temporary left beside it

    const std::string bytes = ReadWholeFile(path).Bytes;
    const char signature[] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
    ASSERT_GT(bytes.size(), sizeof signature);
    EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), bytes.begin()));
    EXPECT_EQ(bytes.size(), fs::file_size(path));
}

TEST_F(PngFile, FailuresLeaveNoFile)
{
    const Picture24 picture = Picture24::Make(4, 4);
    fs::create_directory(dir_ / "folder");
    struct Case {
        const char* name;
        fs::path path;
        const char* reason;
    };
    const Case cases[] = {
        {"missing folder", dir_ / "missing" / "map.png", "No such file or directory"},
        {"a folder in the way", dir_ / "folder", "Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            WritePng(picture, c.path.string());
            ADD_FAILURE() << "no error";
        } catch (const PictureError& e) {
            EXPECT_NE(std::string(e.what()).find(c.path.string()), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
        }
        EXPECT_EQ(Files(), std::vector<fs::path>{"folder"});
        EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
    }
    EXPECT_THROW(WritePng(Picture24{}, (dir_ / "empty.png").string()), PictureError);
    EXPECT_FALSE(fs::exists(dir_ / "empty.png"));
}

} // namespace
} // namespace orvela
