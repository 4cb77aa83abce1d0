#include "coverage/cell_blend.h"

#include "coverage/level_classes.h"
#include "coverage/map_projection.h"

#include <array>
#include <cmath>
#include <vector>

namespace orvela::area {

namespace {

int Red(std::uint32_t p)
{
    return static_cast<int>((p >> 16) & 0xFF);
}
int Green(std::uint32_t p)
{
    return static_cast<int>((p >> 8) & 0xFF);
}
int Blue(std::uint32_t p)
{
    return static_cast<int>(p & 0xFF);
}
std::uint32_t Opaque(int r, int g, int b)
{
    return 0xFF000000u | static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b);
}

} // namespace

void BlendCells(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride, const CoverageDaySummary& day,
                int utcHour)
{
    if (width == 0 || height == 0 || day.StepDeg <= 0 || day.Points.empty() ||
        !day.Known[static_cast<std::size_t>(utcHour)]) {
        return;
    }
    const MapProjection proj{width, height};
    // Each pixel takes the cell of the grid point nearest to its centre.
    std::vector<std::size_t> rowBase(static_cast<std::size_t>(height));
    std::vector<int> columnOf(static_cast<std::size_t>(width));
    const std::size_t columns = static_cast<std::size_t>(GridColumns(day.StepDeg));
    for (int y = 0; y < height; ++y) {
        rowBase[static_cast<std::size_t>(y)] =
            static_cast<std::size_t>(NearestGridRow(proj.Lat(y + 0.5), day.StepDeg)) * columns;
    }
    for (int x = 0; x < width; ++x) {
        columnOf[static_cast<std::size_t>(x)] = NearestGridColumn(proj.LonWestDeg(x + 0.5), day.StepDeg);
    }
    // The blend of each class, in 8-bit fixed point.
    struct Blend {
        int r, g, b, alpha;
    };
    std::array<Blend, static_cast<int>(LevelClass::Count)> blends{};
    for (int k = 0; k < static_cast<int>(blends.size()); ++k) {
        const std::uint32_t c = ClassLooks()[k].Colour;
        const double a = static_cast<LevelClass>(k) == LevelClass::Below ? BelowAlpha : CellAlpha;
        blends[k] = {Red(c), Green(c), Blue(c), static_cast<int>(std::lround(a * 256))};
    }
    const int hatchAlpha = static_cast<int>(std::lround(HatchAlpha * 256));
    const int hatchR = Red(HatchColour), hatchG = Green(HatchColour), hatchB = Blue(HatchColour);
    const auto mix = [](int under, int over, int alpha) { return under + (((over - under) * alpha) >> 8); };
    const std::size_t hourBase = static_cast<std::size_t>(utcHour) * day.Points.size();
    for (int y = 0; y < height; ++y) {
        std::uint32_t* line = pixels + y * stride;
        const std::size_t base = hourBase + rowBase[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            const CellSummary& cell = day.Cells[base + static_cast<std::size_t>(columnOf[static_cast<std::size_t>(x)])];
            if (!cell.HasPath) {
                continue;
            }
            const LevelClass k = ClassOf(cell);
            const Blend& b = blends[static_cast<int>(k)];
            int r = mix(Red(line[x]), b.r, b.alpha);
            int g = mix(Green(line[x]), b.g, b.alpha);
            int bl = mix(Blue(line[x]), b.b, b.alpha);
            // Light diagonal lines, rising to the right, six pixels apart.
            if (k == LevelClass::Below && (x + y) % 6 == 0) {
                r = mix(r, hatchR, hatchAlpha);
                g = mix(g, hatchG, hatchAlpha);
                bl = mix(bl, hatchB, hatchAlpha);
            }
            line[x] = Opaque(r, g, bl);
        }
    }
}

} // namespace orvela::area
