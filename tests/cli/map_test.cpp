// orvela-map as a user runs it: the PNG it writes, and what it says and
// leaves behind when it cannot.
#include "tests/cli/child_process.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using orvela::child::Outcome;
using orvela::child::Shown;
using orvela_test::Listing;

Outcome RunMap(std::vector<std::string> args)
{
    return orvela::child::RunProgram(ORVELA_MAP_PATH, std::move(args));
}

const std::string Resources = ORVELA_SOURCE_DIR "/resources/";
const std::string Fixtures = ORVELA_SOURCE_DIR "/tests/cli/fixtures/";

std::vector<std::uint8_t> FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// A PNG as its header declares it and as libpng decodes it, in RGB.
struct Png {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    int BitDepth = 0;
    int ColourType = -1;
    std::vector<std::uint8_t> Rgb;

    const std::uint8_t* Pixel(std::uint32_t x, std::uint32_t y) const { return &Rgb[(y * Width + x) * 3]; }
};

Png ReadPng(const fs::path& path)
{
    const std::vector<std::uint8_t> bytes = FileBytes(path);
    Png png;
    // The signature, then IHDR as the first chunk: length 13, the type,
    // width, height, bit depth, colour type.
    static const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (bytes.size() < 33 || !std::equal(std::begin(signature), std::end(signature), bytes.begin()) ||
        BigEndian32(&bytes[8]) != 13 || std::string(bytes.begin() + 12, bytes.begin() + 16) != "IHDR") {
        ADD_FAILURE() << path << " does not start as a PNG";
        return png;
    }
    png.Width = BigEndian32(&bytes[16]);
    png.Height = BigEndian32(&bytes[20]);
    png.BitDepth = bytes[24];
    png.ColourType = bytes[25];

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        ADD_FAILURE() << path << ": " << image.message;
        return png;
    }
    image.format = PNG_FORMAT_RGB;
    png.Rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, png.Rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << path << ": " << image.message;
        png.Rgb.clear();
    }
    return png;
}

// A scratch folder per test: `in` for the pictures a test makes, `out` for
// what the program writes.
class OrvelaMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(In());
        fs::create_directory(OutDir());
    }
    fs::path In() const { return scratch_.Path() / "in"; }
    fs::path OutDir() const { return scratch_.Path() / "out"; }
    std::string Out(const char* name = "map.png") const { return (OutDir() / name).string(); }

    // Runs the program, which must succeed silently, and reads its PNG.
    Png Compose(std::vector<std::string> args)
    {
        const std::string out = Out();
        args.insert(args.end(), {"--out", out});
        SCOPED_TRACE(Shown(args));
        const Outcome o = RunMap(args);
        EXPECT_EQ(o.Status, 0) << o.Err;
        EXPECT_EQ(o.Out, "");
        EXPECT_EQ(o.Err, "");
        // The temporary file it wrote first is gone.
        EXPECT_EQ(Listing(OutDir()), std::set<std::string>{"map.png"});
        Png png = ReadPng(out);
        fs::remove(out);
        return png;
    }

private:
    orvela_test::ScratchFolder scratch_{"orvela-map-test"};
};

struct Size {
    std::vector<std::string> Args;
    std::uint32_t Width;
    std::uint32_t Height;
};

TEST_F(OrvelaMap, WritesAnRgbPngHalfAsHighAsWide)
{
    const Size cases[] = {
        {{}, 512, 256},
        {{"--width", "1024"}, 1024, 512},
        {{"--width", "100"}, 100, 50},
        {{"--width", "16"}, 16, 8},
        {{"--width", "101", "--utc", "2026-06-21T12:00:00Z", "--no-sun"}, 101, 50}, // the height truncated
    };
    for (const Size& c : cases) {
        SCOPED_TRACE(Shown(c.Args));
        const Png png = Compose(c.Args);
        EXPECT_EQ(png.Width, c.Width);
        EXPECT_EQ(png.Height, c.Height);
        EXPECT_EQ(png.BitDepth, 8);
        EXPECT_EQ(png.ColourType, 2); // RGB, no alpha
        EXPECT_EQ(png.Rgb.size(), std::size_t{c.Width} * c.Height * 3);
    }
}

struct Glyph {
    const char* Moment;
    std::uint32_t Column; // the sub-solar pixel of a 512 x 256 map
    std::uint32_t Row;
};

// The glyph is the only difference --no-sun makes: it lies on the 8 x 8
// pixels around the sub-solar point, wrapping round the map's edges, and
// only ever brightens.
TEST_F(OrvelaMap, NoSunLeavesOutOnlyTheGlyphAtTheSubSolarPoint)
{
    const Glyph cases[] = {
        {"2026-01-07T12:00:00Z", 256, 161}, // day 7: the lowest declination, -23.5 degrees
        {"2026-06-21T06:00:00Z", 384, 97},  // 90 degrees East; +22.4 degrees
        {"2026-03-01T00:00:00Z", 0, 148},   // on the left edge, wrapping to the right one
        {"2026-12-21T18:00:00Z", 128, 159}, // 90 degrees West
    };
    for (const Glyph& c : cases) {
        SCOPED_TRACE(c.Moment);
        const Png sun = Compose({"--utc", c.Moment});
        const Png plain = Compose({"--utc", c.Moment, "--no-sun"});
        ASSERT_EQ(sun.Rgb.size(), 512u * 256 * 3);
        ASSERT_EQ(plain.Rgb.size(), sun.Rgb.size());
        int brightened = 0;
        for (std::uint32_t y = 0; y < 256; ++y) {
            for (std::uint32_t x = 0; x < 512; ++x) {
                const std::uint32_t dx = (x - c.Column + 4 + 512) % 512; // 0..7 inside the glyph
                const std::uint32_t dy = y + 4 - c.Row;                  // wraps to a large number above the glyph
                const bool inGlyph = dx < 8 && dy < 8;
                for (int i = 0; i < 3; ++i) {
                    const int with = sun.Pixel(x, y)[i];
                    const int without = plain.Pixel(x, y)[i];
                    if (!inGlyph) {
                        ASSERT_EQ(with, without) << "pixel " << x << ", " << y;
                    } else {
                        ASSERT_GE(with, without) << "pixel " << x << ", " << y;
                        brightened += with > without;
                    }
                }
            }
        }
        EXPECT_GT(brightened, 0);
    }
}

TEST_F(OrvelaMap, GivenPicturesReplaceTheBuiltInPair)
{
    // The built-in pair is the one in resources/: day as day, night as night.
    const std::vector<std::string> moment = {"--utc", "2026-06-21T18:30:00Z"};
    const Png builtIn = Compose(moment);
    const Png given = Compose(
        {"--utc", "2026-06-21T18:30:00Z", "--day", Resources + "map-day.jpg", "--night", Resources + "map-night.jpg"});
    EXPECT_EQ(given.Rgb, builtIn.Rgb);
    const Png swapped = Compose(
        {"--utc", "2026-06-21T18:30:00Z", "--day", Resources + "map-night.jpg", "--night", Resources + "map-day.jpg"});
    EXPECT_NE(swapped.Rgb, builtIn.Rgb);

    // A pair of another size: the map keeps its proportions.
    const std::string small = Fixtures + "gradient-64x32.jpg";
    const Png stretched = Compose({"--day", small, "--night", small, "--width", "100"});
    EXPECT_EQ(stretched.Width, 100u);
    EXPECT_EQ(stretched.Height, 50u);
}

struct BadInput {
    std::vector<std::string> Args;
    std::string Says; // part of the one line on standard error
};

TEST_F(OrvelaMap, BadInputIsOneLineExitTwoAndLeavesNoFile)
{
    const std::vector<std::uint8_t> day = FileBytes(Resources + "map-day.jpg");
    ASSERT_GT(day.size(), 1000u);
    const std::string good = Resources + "map-night.jpg";
    const std::string truncated = (In() / "truncated.jpg").string();
    WriteBytes(truncated, std::vector<std::uint8_t>(day.begin(), day.begin() + day.size() / 2));
    const std::string text = (In() / "notes.jpg").string();
    WriteBytes(text, {'7', '3', ' ', 'd', 'e', ' ', 'F', '4', '\n'});
    const std::string missing = (In() / "missing.jpg").string();
    const std::string small = Fixtures + "gradient-64x32.jpg";
    const std::string tall = Fixtures + "gradient-16x64.jpg";
    fs::create_directory(OutDir() / "folder");
    WriteBytes(OutDir() / "plain-file", {'x'});

    const std::string out = Out();
    const auto to = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--out", out});
        return args;
    };
    std::vector<BadInput> cases = {
        {to({"--utc", "2026-06-21 12:00:00Z"}), "--utc: \"2026-06-21 12:00:00Z\" is not a moment; expected "
                                                "YYYY-MM-DDTHH:MM:SSZ"},
        {to({"--utc", "2026-06-21T12:00:00"}), "is not a moment"},
        {to({"--utc", "2026-06-21T12:00Z"}), "is not a moment"},
        {to({"--utc", "2026-6-21T12:00:00Z"}), "is not a moment"},
        {to({"--utc", "+026-06-21T12:00:00Z"}), "is not a moment"},
        {to({"--utc", "2026-02-29T12:00:00Z"}), "--utc: \"2026-02-29\" is not a day of the calendar"},
        {to({"--utc", "2026-13-01T00:00:00Z"}), "is not a day of the calendar"},
        {to({"--utc", "2026-04-31T00:00:00Z"}), "is not a day of the calendar"},
        {to({"--utc", "0000-01-01T00:00:00Z"}), "is not a day of the calendar"},
        {to({"--utc", "2026-06-21T24:00:00Z"}), "--utc: \"24:00:00\" is not a time of day"},
        {to({"--utc", "2026-06-21T12:60:00Z"}), "is not a time of day"},
        {to({"--utc", "2026-06-21T12:00:60Z"}), "is not a time of day"},
        {to({"--width", "15"}), "--width: \"15\" is out of range: the width is 16 to 8192 pixels"},
        {to({"--width", "8193"}), "is out of range"},
        {to({"--width", "99999999999999999999999"}), "is out of range"},
        {to({"--width", "512px"}), "--width: \"512px\" is not a whole number"},
        {to({"--width", "-512"}), "--width: \"-512\" is out of range: the width is 16 to 8192 pixels"},
        {to({"--width", ""}), "is not a whole number"},
        {to({"--width", "512", "--width", "256"}), "--width is given more than once"},
        {to({"--day", good}), "--day needs --night as well"},
        {to({"--night", good}), "--night needs --day as well"},
        {to({"--day", missing, "--night", good}), "--day: " + missing + ": No such file or directory"},
        {to({"--day", good, "--night", In().string()}), "--night: " + In().string() + ": Is a directory"},
        {to({"--day", good, "--night", text}), "--night: " + text},
        {to({"--day", truncated, "--night", good}), "--day: " + truncated},
        {to({"--day", "", "--night", good}), "--day: the file name is empty"},
        {to({"--day", small, "--night", good}), "the day picture is 64 x 32 pixels and the night picture 512 x 256"},
        {to({"--day", tall, "--night", tall, "--width", "8192"}), "give a map 8192 pixels wide and 32768 high"},
        {to({"--colour", "red"}), "unknown option --colour"},
        {to({"--no-sun=no"}), "--no-sun takes no value"},
        {to({"--no-sun=true"}), "--no-sun takes no value"},
        {to({"--no-sun="}), "--no-sun takes no value"},
        {to({"map.png"}), "unexpected argument \"map.png\""},
        {{"--width", "512"}, "--out is required"},
        {{"--out", ""}, "--out: the file name is empty"},
        {{"--out", Out("no-such-folder/map.png")}, "no-such-folder/map.png"},
        {{"--out", Out("plain-file/map.png")}, "plain-file/map.png"},
        {{"--out", Out("folder")}, "folder"}, // written, then not renamed over a folder
    };
    // Root writes into read-only folders.
    if (geteuid() != 0) {
        fs::permissions(OutDir(), fs::perms::owner_read | fs::perms::owner_exec);
        cases.push_back({to({}), out});
    }
    const std::set<std::string> before = Listing(OutDir());
    for (const BadInput& c : cases) {
        SCOPED_TRACE(Shown(c.Args));
        orvela::child::ExpectRefusal(RunMap(c.Args), "orvela-map", c.Says);
        EXPECT_EQ(Listing(OutDir()), before);
        EXPECT_TRUE(fs::is_empty(OutDir() / "folder"));
    }
}

TEST_F(OrvelaMap, HelpExplainsEveryOption)
{
    const Outcome o = RunMap({"--help"});
    EXPECT_EQ(o.Status, 0);
    EXPECT_EQ(o.Err, "");
    EXPECT_EQ(o.Out.rfind("Usage:\norvela-map [--utc YYYY-MM-DDTHH:MM:SSZ] [--width W]", 0), 0u) << o.Out;
    for (const char* option :
         {"--utc MOMENT", "--width W", "--day FILE.jpg", "--night FILE.jpg", "--no-sun", "--out FILE.png", "--help"}) {
        EXPECT_NE(o.Out.find(std::string("\n  ") + option), std::string::npos) << option;
    }
    EXPECT_NE(o.Out.find("\nExit status: 0 on success"), std::string::npos);
    // Help wins over anything else on the line, even bad input.
    EXPECT_EQ(RunMap({"--width", "1", "--help"}).Out, o.Out);
    EXPECT_EQ(RunMap({"--no-sun=no", "--help"}).Out, o.Out);
}

} // namespace
