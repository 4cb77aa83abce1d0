// orvela-area as a user runs it: the coverage it writes as CSV, JSON and
// PNG, checked against separate orvela-predict runs and orvela-map's plain
// map, and what it says and leaves behind when it cannot.
#include "tests/cli/child_process.h"
#include "tests/support/http_test_server.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <ctime>
#include <nlohmann/json.hpp>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using orvela::child::Outcome;
using orvela::child::Shown;
using orvela_test::FileText;
using orvela_test::Listing;

Outcome RunArea(std::vector<std::string> args)
{
    return orvela::child::RunProgram(ORVELA_AREA_PATH, std::move(args));
}

// One line of the coverage CSV. Only the text is ever quoted (it may end in
// the blank of an empty marker), and holds no comma or quote of its own.
using Row = std::vector<std::string>;

std::vector<Row> ParseCsv(const std::string& text)
{
    std::vector<Row> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        Row row;
        std::string field;
        bool quoted = false;
        for (const char c : line) {
            if (c == '"') {
                quoted = !quoted;
            } else if (c == ',' && !quoted) {
                row.push_back(field);
                field.clear();
            } else {
                field += c;
            }
        }
        row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

// A scratch folder per test for what the program writes.
class OrvelaArea : public ::testing::Test {
protected:
    const fs::path& Root() const { return scratch_.Path(); }
    std::string Out(const std::string& name) const { return (Root() / name).string(); }

    // Runs the program into `name`, which must succeed silently and leave
    // only that file, and gives what it wrote.
    std::string Write(std::vector<std::string> args, const std::string& name)
    {
        const std::set<std::string> before = Listing(Root());
        args.insert(args.end(), {"--out", Out(name)});
        SCOPED_TRACE(Shown(args));
        const Outcome o = RunArea(args);
        EXPECT_EQ(o.Status, 0) << o.Err;
        EXPECT_EQ(o.Out, "");
        EXPECT_EQ(o.Err, "");
        std::set<std::string> after = before;
        after.insert(name);
        EXPECT_EQ(Listing(Root()), after); // no temporary file left
        return FileText(Out(name));
    }

private:
    orvela_test::ScratchFolder scratch_{"orvela-area-test"};
};

// The home station of these tests lies on the 10-degree grid, and so does
// its antipode: 50 N 10 E, west-positive longitude -10.
const std::vector<std::string> Home = {"--home", "50N,10E"};

// A grid position as orvela-predict takes it, with hemisphere letters.
std::string PositionText(int lat, int lonWest)
{
    return std::to_string(std::abs(lat)) + (lat < 0 ? "S," : "N,") + std::to_string(std::abs(lonWest)) +
           (lonWest < 0 ? "E" : "W");
}

struct Sample {
    int Lat;
    int LonWest;
};

// A run of both programs: the options they share, the moment orvela-area
// takes, and the date, hour and band that orvela-predict's table shows it
// in: orvela-area's --band, and the row of orvela-predict's table with the
// options it needs for that row.
struct SharedRun {
    std::vector<std::string> Options;
    std::string Utc;
    std::string Date;
    int Hour;
    std::string Band;
    int Row;
    std::vector<std::string> PredictOptions;
};

// An option's entry in the help, from its name to the next option, its
// words joined by single blanks whatever the lines it is wrapped into.
std::string HelpEntry(const std::string& help, const std::string& option)
{
    const std::size_t start = help.find("\n  " + option + " ");
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t end = help.find("\n  --", start + 1);
    std::istringstream words(help.substr(start, end == std::string::npos ? std::string::npos : end - start));
    std::string entry;
    for (std::string word; words >> word;) {
        entry += (entry.empty() ? "" : " ") + word;
    }
    return entry;
}

TEST(OrvelaAreaHelp, ThePowerDefaultsToTwentyDbw)
{
    const Outcome o = RunArea({"--help"});
    EXPECT_EQ(o.Status, 0);
    EXPECT_EQ(HelpEntry(o.Out, "--power"), "--power DBW transmitter power, whole dBW from 5 to 2500 (default 20)")
        << o.Out;
}

TEST_F(OrvelaArea, TenDegreeGridMatchesSeparatePredictionsPointByPoint)
{
    const SharedRun runs[] = {
        {{}, "2026-06-21T18:30Z", "2026-06-21", 18, "14", 8, {}},
        {{"--flux", "150.5", "--power", "60", "--min-angle", "3", "--antenna", "dipole", "--long-path"},
         "2026-12-10T15:05:09Z",
         "2026-12-10",
         15,
         "10",
         10,
         {}},
        // An amateur band by its name: the table's row of the amateur bands.
        {{"--antenna", "yagi"}, "2026-12-10T09:00Z", "2026-12-10", 9, "40 m", 12, {"--bands", "ham"}},
    };
    const Sample samples[] = {
        {90, 0},     // the North Pole
        {-90, -180}, // the South Pole, on the grid's first column
        {50, -10},   // the home station itself
        {-50, 170},  // its antipode
        {50, 0},     {40, -10}, {0, 0}, {40, 70}, {-30, -150}, {20, -80}, {10, -180}, {-80, 40},
    };
    // A signal cell's text: the level (digits after an optional '-'), the
    // letter j, n, x or o, the hops (digits) and the marker s, m, e or ' '.
    struct Cell {
        std::string Level, Letter, Hops, Marker;
    };
    const auto parseCell = [](const std::string& text) -> std::optional<Cell> {
        const auto digits = [&text](std::size_t from) {
            std::size_t to = from;
            while (to < text.size() && text[to] >= '0' && text[to] <= '9') {
                ++to;
            }
            return to;
        };
        const std::size_t levelStart = !text.empty() && text[0] == '-' ? 1 : 0;
        const std::size_t letter = digits(levelStart);
        if (letter == levelStart || letter >= text.size() ||
            std::string_view("jnxo").find(text[letter]) == std::string_view::npos) {
            return std::nullopt;
        }
        const std::size_t marker = digits(letter + 1);
        if (marker == letter + 1 || marker + 1 != text.size() ||
            std::string_view("sme ").find(text[marker]) == std::string_view::npos) {
            return std::nullopt;
        }
        return Cell{text.substr(0, letter), text.substr(letter, 1), text.substr(letter + 1, marker - letter - 1),
                    text.substr(marker)};
    };
    for (const SharedRun& run : runs) {
        SCOPED_TRACE(run.Utc);
        std::vector<std::string> args = Home;
        args.insert(args.end(), {"--utc", run.Utc, "--band", run.Band, "--step", "10"});
        args.insert(args.end(), run.Options.begin(), run.Options.end());
        const std::string csv = Write(args, "grid.csv");

        // The same grid on one thread, point for point.
        std::vector<std::string> single = args;
        single.insert(single.end(), {"--threads", "1"});
        EXPECT_EQ(Write(single, "single.csv"), csv);

        const std::vector<Row> rows = ParseCsv(csv);
        ASSERT_EQ(rows.size(), 1u + 19 * 36);
        EXPECT_EQ(rows[0], (Row{"lat_deg", "lon_deg", "text", "level_db", "letter", "hops", "marker"}));
        std::map<std::pair<int, int>, Row> byPoint;
        int paths = 0;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const Row& r = rows[i];
            ASSERT_EQ(r.size(), 7u) << csv;
            // South to north, east to west within a latitude.
            const int lat = -90 + static_cast<int>((i - 1) / 36) * 10;
            const int lon = -180 + static_cast<int>((i - 1) % 36) * 10;
            ASSERT_EQ(r[0], std::to_string(lat));
            ASSERT_EQ(r[1], std::to_string(lon));
            byPoint[{lat, lon}] = r;
            if (r[2].empty()) {
                EXPECT_EQ(Row(r.begin() + 3, r.end()), Row(4, "")) << "line " << i;
                continue;
            }
            ++paths;
            const std::optional<Cell> cell = parseCell(r[2]);
            ASSERT_TRUE(cell) << r[2];
            // The level as a whole number: a text of "-0" is 0, still marked s.
            const std::string level = std::to_string(std::stoi(cell->Level));
            const std::string marker = cell->Marker == " " ? "" : cell->Marker;
            EXPECT_EQ(Row(r.begin() + 3, r.end()), (Row{level, cell->Letter, cell->Hops, marker})) << "line " << i;
        }
        // Both kinds of point are on the map.
        EXPECT_GT(paths, 0);
        EXPECT_LT(paths, 19 * 36);

        for (const Sample& s : samples) {
            SCOPED_TRACE(PositionText(s.Lat, s.LonWest));
            std::vector<std::string> predict = Home;
            predict.insert(predict.end(), {"--remote", PositionText(s.Lat, s.LonWest), "--date", run.Date, "--format",
                                           "json", "--display", "signal"});
            predict.insert(predict.end(), run.Options.begin(), run.Options.end());
            predict.insert(predict.end(), run.PredictOptions.begin(), run.PredictOptions.end());
            const Outcome o = orvela::child::RunProgram(ORVELA_PREDICT_PATH, predict);
            ASSERT_EQ(o.Status, 0) << o.Err;
            const Json table = Json::parse(o.Out);
            // Column 0 holds the labels.
            const std::string expected = table["grid"][run.Row][run.Hour + 1];
            EXPECT_EQ(byPoint.at({s.Lat, s.LonWest})[2], expected);
        }
    }
}

TEST_F(OrvelaArea, JsonHoldsTheCsvsPointsWithNullsWhereThereIsNoPath)
{
    const std::vector<std::string> args = {"--home", "JN18DU", "--utc",  "2026-06-21T18:30Z",
                                           "--band", "14",     "--step", "10"};
    // In the order written.
    const nlohmann::ordered_json j = nlohmann::ordered_json::parse(Write(args, "grid.json"));
    const std::vector<Row> rows = ParseCsv(Write(args, "grid.csv"));

    ASSERT_TRUE(j.is_object());
    std::vector<std::string> keys;
    for (const auto& item : j.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"home", "utc", "band_mhz", "step_deg", "flux", "points"}));
    EXPECT_EQ(j["flux"], (nlohmann::ordered_json{{"sfu", 100.0}, {"source", "default"}, {"issued", nullptr}}));
    // The locator's position, as orvela-predict takes it.
    const Outcome predict =
        orvela::child::RunProgram(ORVELA_PREDICT_PATH, {"--home", "JN18DU", "--remote", "0N,0E", "--format", "json"});
    ASSERT_EQ(predict.Status, 0) << predict.Err;
    EXPECT_EQ(j["home"], nlohmann::ordered_json::parse(predict.Out)["home"]);
    EXPECT_EQ(j["utc"], "2026-06-21T18:30:00Z");
    EXPECT_EQ(j["band_mhz"], 14);
    EXPECT_EQ(j["step_deg"], 10);

    const nlohmann::ordered_json& points = j["points"];
    ASSERT_EQ(points.size() + 1, rows.size());
    int nulls = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const nlohmann::ordered_json& p = points[i];
        const Row& r = rows[i + 1];
        SCOPED_TRACE(p.dump());
        ASSERT_EQ(p.size(), 7u);
        EXPECT_EQ(p["lat_deg"], std::stoi(r[0]));
        EXPECT_EQ(p["lon_deg"], std::stoi(r[1]));
        EXPECT_EQ(p["text"], r[2]);
        if (r[2].empty()) {
            ++nulls;
            for (const char* key : {"level_db", "letter", "hops", "marker"}) {
                EXPECT_TRUE(p[key].is_null()) << key;
            }
        } else {
            EXPECT_EQ(p["level_db"], std::stoi(r[3]));
            EXPECT_EQ(p["letter"], r[4]);
            EXPECT_EQ(p["hops"], std::stoi(r[5]));
            EXPECT_EQ(p["marker"], r[6]);
        }
    }
    EXPECT_GT(nulls, 0);
    EXPECT_LT(nulls, static_cast<int>(points.size()));
}

// A PNG decoded to RGB by libpng.
struct Png {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::vector<std::uint8_t> Rgb;

    const std::uint8_t* Pixel(int x, int y) const
    {
        return &Rgb[(static_cast<std::size_t>(y) * Width + static_cast<std::size_t>(x)) * 3];
    }
};

Png DecodePng(const std::string& bytes)
{
    Png png;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
        ADD_FAILURE() << image.message;
        return png;
    }
    image.format = PNG_FORMAT_RGB;
    png.Width = image.width;
    png.Height = image.height;
    png.Rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, png.Rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << image.message;
    }
    return png;
}

TEST_F(OrvelaArea, PngIsTheMapOfTheMomentWithCoverageOnlyWherePathsAre)
{
    const std::string utc = "2026-06-21T18:30:00Z";
    const std::vector<std::string> args = {"--home", "50N,10E", "--utc", utc, "--band", "14", "--step", "10"};

    // Drawn over the built-in pictures at their own size, the map under the
    // coverage is orvela-map's pixel for pixel.
    std::vector<std::string> narrow = args;
    narrow.insert(narrow.end(), {"--width", "512"});
    const Png area = DecodePng(Write(narrow, "area.png"));
    const Outcome o =
        orvela::child::RunProgram(ORVELA_MAP_PATH, {"--utc", utc, "--width", "512", "--out", Out("plain.png")});
    ASSERT_EQ(o.Status, 0) << o.Err;
    const Png plain = DecodePng(FileText(Out("plain.png")));
    ASSERT_EQ(area.Width, 512u);
    ASSERT_EQ(area.Height, 256u);
    ASSERT_EQ(plain.Rgb.size(), area.Rgb.size());

    // The centre pixel of each grid point's cell, away from the caption
    // (top left), the legend (bottom left) and the home station's mark.
    const std::vector<Row> rows = ParseCsv(Write(args, "grid.csv"));
    int covered = 0;
    int bare = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const int lat = std::stoi(rows[i][0]);
        const int lonWest = std::stoi(rows[i][1]);
        const int x = static_cast<int>(std::lround((180.0 - lonWest) / 360 * 512)) % 512;
        const int y = std::min(255, static_cast<int>(std::lround((90.0 - lat) / 180 * 256)));
        const bool caption = x < 240 && y < 75;
        const bool legend = x < 240 && y > 110;
        const bool home = std::abs(x - 287) < 32 && std::abs(y - 56) < 16;
        if (caption || legend || home) {
            continue;
        }
        const bool same = std::equal(area.Pixel(x, y), area.Pixel(x, y) + 3, plain.Pixel(x, y));
        if (rows[i][2].empty()) {
            EXPECT_TRUE(same) << "no path at " << lat << ", " << lonWest << " yet pixel " << x << ", " << y
                              << " changed";
            ++bare;
        } else {
            EXPECT_FALSE(same) << "a path at " << lat << ", " << lonWest << " yet pixel " << x << ", " << y
                               << " is the plain map's";
            ++covered;
        }
    }
    EXPECT_GT(covered, 0);
    EXPECT_GT(bare, 0);

    // The default width, and another: half as high as wide.
    std::vector<std::string> coarse = args;
    coarse.back() = "30";
    const Png standard = DecodePng(Write(coarse, "default.png"));
    EXPECT_EQ(standard.Width, 1024u);
    EXPECT_EQ(standard.Height, 512u);
    coarse.insert(coarse.end(), {"--width", "777"});
    const Png odd = DecodePng(Write(coarse, "odd.png"));
    EXPECT_EQ(odd.Width, 777u);
    EXPECT_EQ(odd.Height, 388u);
}

// A map without a single path says why, in every output: the band above
// every path's MUF, or every path too weak, with the power that would give
// a first point, which it does while one dBW less does not.
TEST_F(OrvelaArea, AMapWithoutAPathSaysWhy)
{
    const std::vector<std::string> steep = {"--home", "50N,10E", "--utc", "2026-06-21T18:30Z", "--band",
                                            "14",     "--step",  "30",    "--min-angle",       "90"};
    const nlohmann::ordered_json j = nlohmann::ordered_json::parse(Write(steep, "steep.json"));
    std::vector<std::string> keys;
    for (const auto& item : j.items()) {
        keys.push_back(item.key());
    }
    EXPECT_EQ(keys,
              (std::vector<std::string>{"home", "utc", "band_mhz", "step_deg", "flux", "empty_reason", "points"}));
    for (const auto& p : j["points"]) {
        ASSERT_EQ(p["text"], "");
    }
    const std::string why = j["empty_reason"];
    const std::string head = "No mode reaches any point of the map: every path is too weak at 20 dBW. It would take ";
    ASSERT_EQ(why.rfind(head, 0), 0u) << why;
    EXPECT_NE(why.find(" dBW for a first point: the strongest path, to "), std::string::npos) << why;
    const int power = std::stoi(why.substr(head.size()));
    const auto pathsAt = [&](int dbw) {
        std::vector<std::string> args = steep;
        args.insert(args.end(), {"--power", std::to_string(dbw)});
        const Json at = Json::parse(Write(args, "power.json"));
        fs::remove(Out("power.json"));
        return std::count_if(at["points"].begin(), at["points"].end(), [](const Json& p) { return p["text"] != ""; });
    };
    EXPECT_GT(pathsAt(power), 0) << power << " dBW";
    EXPECT_EQ(pathsAt(power - 1), 0) << power - 1 << " dBW";

    const std::string csv = Write(steep, "steep.csv");
    EXPECT_EQ(csv.substr(csv.rfind('\n', csv.size() - 2) + 1), "# " + why + "\n");

    // The caption tells it below its three lines, where the plain map
    // shows otherwise.
    std::vector<std::string> narrow = steep;
    narrow.insert(narrow.end(), {"--width", "512"});
    const Png area = DecodePng(Write(narrow, "steep.png"));
    const Outcome o = orvela::child::RunProgram(
        ORVELA_MAP_PATH, {"--utc", "2026-06-21T18:30:00Z", "--width", "512", "--out", Out("plain.png")});
    ASSERT_EQ(o.Status, 0) << o.Err;
    const Png plain = DecodePng(FileText(Out("plain.png")));
    ASSERT_EQ(plain.Rgb.size(), area.Rgb.size());
    EXPECT_FALSE(std::equal(area.Pixel(20, 70), area.Pixel(20, 70) + 3, plain.Pixel(20, 70)));

    // 28 MHz in the December night of a year without sunspots.
    const Json high = Json::parse(
        Write({"--home", "50N,10E", "--utc", "2026-12-10T03:00Z", "--band", "28", "--flux", "1", "--step", "30"},
              "high.json"));
    EXPECT_EQ(
        high["empty_reason"].get<std::string>().rfind(
            "No mode reaches any point of the map: 28 MHz lies above 85% of every path's MUF (the highest is ", 0),
        0u)
        << high["empty_reason"];
}

using orvela::solar::testing::ClosedPort;
using orvela::solar::testing::HttpTestServer;
using orvela::solar::testing::Reply;

// Today's flux is the bulletin's, as before; the note at the end of the CSV
// names it.
TEST_F(OrvelaArea, FluxAutoTakesTheBulletinsFluxOrOneHundred)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char today[32];
    std::strftime(today, sizeof today, "%Y-%m-%dT18:30Z", &local);
    const std::vector<std::string> args = {"--home", "50N,10E", "--utc", today, "--band", "14", "--step", "30"};
    const auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), args.begin(), args.end());
        return more;
    };
    HttpTestServer server(Reply(200, ":Product: Geophysical Alert Message wwv.txt\n"
                                     ":Issued: 2026 Jun 21 0305 UTC\n"
                                     "Solar flux 187 and estimated planetary A-index 5.\n"));
    const std::string fetched = Write(with({"--flux", "auto", "--flux-url", server.Url("/text/wwv.txt")}), "auto.csv");
    EXPECT_EQ(fetched, Write(with({"--flux", "187"}), "given.csv") +
                           "# Solar flux 187.0: NOAA Geophysical Alert Message issued 21 Jun 2026\n");
    EXPECT_NE(fetched, Write(with({}), "default.csv"));

    // A failed download: the message on standard error, then a flux of 100
    // when the products after it fail too.
    const ClosedPort closed;
    const std::string origin = closed.Origin();
    const Outcome o = RunArea(with(
        {"--flux", "auto", "--flux-url", origin + "/wwv.txt", "--service-url", origin, "--out", Out("failed.csv")}));
    EXPECT_EQ(o.Status, 0);
    EXPECT_EQ(o.Err.rfind("Could not download Geophysical Alert Message wwv.txt from " + origin + ": ", 0), 0u)
        << o.Err;
    EXPECT_EQ(FileText(Out("failed.csv")), FileText(Out("default.csv")) + "# Solar flux 100.0: default\n");
}

struct BadInput {
    std::vector<std::string> Args;
    std::string Says; // part of the one line on standard error
};

// --all-hours is the 24 single-hour runs of the date, one after the other,
// each line led by its hour; the JSON holds the same points, and a PNG is
// 24 pictures, all or none.
TEST_F(OrvelaArea, AllHoursIsTheTwentyFourSingleHourRuns)
{
    const std::vector<std::string> common = {"--home", "35S,150E", "--band", "10", "--step", "30", "--long-path"};
    std::vector<std::string> day = common;
    day.insert(day.end(), {"--utc", "2026-03-01T17:45Z", "--all-hours"});
    const std::string csv = Write(day, "day.csv");

    // At 20 dBW the long path fills no point of this coarse grid: each
    // hour's reason, the last line of its own CSV, closes the day's.
    std::string expected = "utc_hour,lat_deg,lon_deg,text,level_db,letter,hops,marker\n";
    std::string reasons;
    Json emptyHours = Json::array();
    for (int h = 0; h < 24; ++h) {
        std::vector<std::string> one = common;
        one.insert(one.end(), {"--utc", "2026-03-01T" + std::string(h < 10 ? "0" : "") + std::to_string(h) + ":00Z"});
        const std::string hour = Write(one, "hour.csv");
        std::istringstream lines(hour.substr(hour.find('\n') + 1));
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("# ", 0) == 0) {
                reasons += "# " + std::to_string(h) + "h UTC: " + line.substr(2) + "\n";
                emptyHours.push_back({{"utc_hour", h}, {"reason", line.substr(2)}});
            } else {
                expected += std::to_string(h) + "," + line + "\n";
            }
        }
    }
    EXPECT_EQ(csv, expected + reasons);
    EXPECT_GT(emptyHours.size(), 0u);

    const Json j = Json::parse(Write(day, "day.json"));
    EXPECT_EQ(j["empty_hours"], emptyHours);
    const std::vector<Row> rows = ParseCsv(expected);
    ASSERT_EQ(j["points"].size() + 1, rows.size());
    for (std::size_t i = 0; i < j["points"].size(); i += 37) {
        const Json& p = j["points"][i];
        EXPECT_EQ(p["utc_hour"], std::stoi(rows[i + 1][0])) << i;
        EXPECT_EQ(p["text"], rows[i + 1][3]) << i;
    }

    // A folder in the way of hour 5: the hours written before it go again.
    fs::create_directory(Root() / "map-05.png");
    day.insert(day.end(), {"--width", "512", "--out", Out("map.png")});
    const std::set<std::string> before = Listing(Root());
    orvela::child::ExpectRefusal(RunArea(day), "orvela-area", "map-05.png: ");
    EXPECT_EQ(Listing(Root()), before);
    fs::remove(Root() / "map-05.png");
    const Outcome ok = RunArea(day);
    ASSERT_EQ(ok.Status, 0) << ok.Err;
    for (int h = 0; h < 24; ++h) {
        EXPECT_TRUE(fs::is_regular_file(Root() / ((h < 10 ? "map-0" : "map-") + std::to_string(h) + ".png"))) << h;
    }
}

TEST_F(OrvelaArea, BadInputIsOneLineExitTwoAndLeavesNoFile)
{
    fs::create_directory(Root() / "folder.csv");
    std::ofstream(Root() / "plain-file") << "x";
    const std::string csv = Out("grid.csv");

    // A good command line on a coarse grid, with each option replaced or,
    // given no value, left out; more arguments after it.
    const auto line = [&](std::map<std::string, std::optional<std::string>> change,
                          std::vector<std::string> more = {}) {
        std::map<std::string, std::optional<std::string>> options = {
            {"--home", "50N,10E"}, {"--utc", "2026-06-21T18:30Z"}, {"--band", "14"}, {"--step", "90"}, {"--out", csv}};
        for (const auto& [option, value] : change) {
            options[option] = value;
        }
        std::vector<std::string> args;
        for (const auto& [option, value] : options) {
            if (value) {
                args.insert(args.end(), {option, *value});
            }
        }
        args.insert(args.end(), more.begin(), more.end());
        return args;
    };
    const std::nullopt_t none = std::nullopt;
    std::vector<BadInput> cases = {
        {line({{"--home", none}}), "--home is required"},
        {line({{"--home", "48.85,2.35"}}), "--home: "},
        {line({{"--home", "95N,2E"}}), "--home: latitude \"95N\" is out of range"},
        {line({{"--home", "JS18DU"}}), "--home: JS18DU: character 2 of a locator must be a letter A to R"},
        {line({{"--utc", none}}), "--utc is required"},
        {line({{"--utc", "2026-06-21 18:30Z"}}), "--utc: \"2026-06-21 18:30Z\" is not a moment; expected "
                                                 "YYYY-MM-DDTHH:MM[:SS]Z"},
        {line({{"--utc", "2026-06-21T18Z"}}), "is not a moment"},
        {line({{"--utc", "2026-06-21T18:30"}}), "is not a moment"},
        {line({{"--utc", "2026-06-21T18:30:0Z"}}), "is not a moment"},
        {line({{"--utc", "2026-02-29T18:30Z"}}), "--utc: \"2026-02-29\" is not a day of the calendar"},
        {line({{"--utc", "2026-06-21T24:00Z"}}), "--utc: \"24:00\" is not a time of day"},
        {line({{"--utc", "2026-06-21T18:30:60Z"}}), "--utc: \"18:30:60\" is not a time of day"},
        {line({{"--band", none}}), "--band is required"},
        {line({{"--band", "31"}}), "--band: \"31\" is out of range: the band is an amateur band from 80 m to 10 m "
                                   "(20m, \"40 m\") or a frequency from 2 to 30 MHz"},
        {line({{"--band", "1.9"}}), "--band: \"1.9\" is out of range"},
        {line({{"--band", "160m"}}), "--band: \"160m\" is not an amateur band Orvela offers"},
        {line({{"--band", "seven"}}), "--band: \"seven\" is not a number"},
        {line({{"--band", "-7"}}), "--band: \"-7\" is not a number"},
        {line({{"--step", "7"}}), "--step: \"7\" does not divide 180; the step is a whole number of degrees"},
        {line({{"--step", "0"}}), "--step: \"0\" is out of range"},
        {line({{"--step", "360"}}), "--step: \"360\" is out of range"},
        {line({{"--step", "2.5"}}), "--step: \"2.5\" is not a whole number"},
        {line({}, {"--flux", "0.5"}), "--flux: \"0.5\" is out of range: the solar flux is 1 to 500 sfu"},
        {line({}, {"--flux", "500.1"}), "--flux: \"500.1\" is out of range"},
        {line({}, {"--flux", "high"}), "--flux: "},
        {line({}, {"--flux-url", "http://127.0.0.1/wwv.txt"}), "--flux-url is only used with --flux auto"},
        {line({}, {"--power", "4"}), "--power: \"4\" is out of range"},
        {line({}, {"--power", "2501"}), "--power: \"2501\" is out of range"},
        {line({}, {"--min-angle", "91"}), "--min-angle: \"91\" is out of range"},
        {line({}, {"--min-angle", "-1"}), "--min-angle: \"-1\" is out of range: the minimum take-off angle is 0 to 90"},
        {line({}, {"--antenna", "loop"}), "--antenna: \"loop\" is not a choice; expected isotropic, dipole or yagi"},
        {line({}, {"--long-path=yes"}), "--long-path takes no value"},
        {line({}, {"--all-hours=yes"}), "--all-hours takes no value"},
        {line({}, {"--long-path=true"}), "--long-path takes no value"},
        {line({}, {"--all-hours={}"}), "--all-hours takes no value"},
        {line({{"--out", Out("plain-file/grid.png")}}, {"--all-hours"}), "plain-file/grid-00.png: "},
        {line({}, {"--width", "511"}), "--width: \"511\" is out of range: the width is 512 to 8192 pixels"},
        {line({}, {"--width", "8193"}), "--width: \"8193\" is out of range"},
        {line({}, {"--threads", "-1"}), "--threads: \"-1\" is out of range: the threads are 0 (one per core) to"},
        {line({}, {"--threads", "1025"}), "--threads: \"1025\" is out of range"},
        {line({}, {"--band", "7"}), "--band is given more than once"},
        {line({}, {"--colour", "red"}), "unknown option --colour"},
        {line({}, {"grid.png"}), "unexpected argument \"grid.png\""},
        {line({{"--out", none}}), "--out is required"},
        {line({{"--out", ""}}), "--out: the file name is empty"},
        {line({{"--out", Out("grid.gif")}}), "ends neither in .png, .csv nor .json"},
        {line({{"--out", Out("grid")}}), "ends neither in .png, .csv nor .json"},
        {line({{"--out", Out(".csv")}}), "ends neither in .png, .csv nor .json"},
        {line({{"--out", Out("no-such-folder/grid.csv")}}), "no-such-folder/grid.csv: "},
        {line({{"--out", Out("plain-file/grid.png")}}), "plain-file/grid.png: "},
        {line({{"--out", Out("no-such-folder/grid.json")}}), "no-such-folder/grid.json: "},
        {line({{"--out", Out("folder.csv")}}), "folder.csv: "}, // written, then not renamed over a folder
    };
    // Root writes into read-only folders.
    if (geteuid() != 0) {
        fs::permissions(Root(), fs::perms::owner_read | fs::perms::owner_exec);
        cases.push_back({line({}), csv});
        cases.push_back({line({{"--out", Out("grid.png")}}), Out("grid.png")});
    }
    const std::set<std::string> before = Listing(Root());
    for (const BadInput& c : cases) {
        SCOPED_TRACE(Shown(c.Args));
        orvela::child::ExpectRefusal(RunArea(c.Args), "orvela-area", c.Says);
        EXPECT_EQ(Listing(Root()), before);
        EXPECT_TRUE(fs::is_empty(Root() / "folder.csv"));
    }
}

} // namespace
