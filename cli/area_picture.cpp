#include "cli/area_picture.h"

#include "map/picture_io.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <numbers>
#include <vector>

namespace orvela::area {

namespace {

// The built-in pictures are 512 x 256; the map is composed at that size and
// the sun glyph drawn at the size the window draws it.

// The colour of the cells below the sensitivity.
std::uint32_t BelowColour()
{
    return ClassLooks()[static_cast<int>(LevelClass::Below)].Colour;
}

const char* const Font = "DejaVu Sans";

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// Cairo reports a failed allocation as the status of the object, not by
// throwing: turn it into the program's out-of-memory path.
void Check(cairo_status_t status)
{
    if (status == CAIRO_STATUS_NO_MEMORY) {
        throw std::bad_alloc();
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        throw PictureError(std::string("drawing the coverage: ") + cairo_status_to_string(status));
    }
}

Surface NewSurface(int width, int height)
{
    Surface s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    Check(cairo_surface_status(s.get()));
    return s;
}

Context NewContext(cairo_surface_t* s)
{
    Context cr(cairo_create(s));
    Check(cairo_status(cr.get()));
    return cr;
}

void SetColour(cairo_t* cr, std::uint32_t rgb, double alpha)
{
    cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha);
}

// The picture's blue, green, red bytes as a Cairo surface (native 32-bit
// words 0x00RRGGBB).
Surface ToSurface(const Picture24& p)
{
    Surface s = NewSurface(p.Width, p.Height);
    cairo_surface_flush(s.get());
    unsigned char* data = cairo_image_surface_get_data(s.get());
    const int stride = cairo_image_surface_get_stride(s.get());
    for (int y = 0; y < p.Height; ++y) {
        const std::uint8_t* from = p.Row(y);
        auto* to = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < p.Width; ++x, from += 3) {
            to[x] = std::uint32_t{from[2]} << 16 | std::uint32_t{from[1]} << 8 | from[0];
        }
    }
    cairo_surface_mark_dirty(s.get());
    return s;
}

Picture24 ToPicture(cairo_surface_t* s)
{
    cairo_surface_flush(s);
    const int width = cairo_image_surface_get_width(s);
    const int height = cairo_image_surface_get_height(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    Picture24 p = Picture24::Make(width, height);
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        std::uint8_t* to = p.Row(y);
        for (int x = 0; x < width; ++x, to += 3) {
            to[0] = static_cast<std::uint8_t>(from[x]);
            to[1] = static_cast<std::uint8_t>(from[x] >> 8);
            to[2] = static_cast<std::uint8_t>(from[x] >> 16);
        }
    }
    return p;
}

// The day/night map of the moment at the built-in pictures' size.
Picture24 ComposeBuiltInMap(const UtcDateTime& moment)
{
    const Picture24 day = LoadJpegImage("MAP_DAY");
    const Picture24 night = LoadJpegImage("MAP_NIGHT");
    const SunGlyph sun = DecodeSunGlyph(MapResource("SUN_BMP"), MapResource("SUN_ALPHA"));
    Picture24 map;
    ComposeMap(day, night, map, moment, true, sun.Glyph, sun.Alpha, BuiltInMapWidth);
    if (map.Empty()) {
        throw PictureError("the built-in map could not be composed");
    }
    return map;
}

// The map's projection on a picture width x height: equirectangular, 180
// degrees West on the left edge, the North Pole on the top edge. Positions
// are rounded to whole pixels, so that neighbouring cells share their edges
// exactly and leave neither a gap nor an overlap.
struct Projection {
    int Width;
    int Height;

    // Longitude positive west.
    double X(double lonWestDeg) const { return std::round((180 - lonWestDeg) / 360 * Width); }
    double Y(double latDeg) const { return std::round((90 - latDeg) / 180 * Height); }
};

// Adds the cell of a grid point to the current path; a cell across the
// map's left or right edge is drawn on both sides.
void AddCell(cairo_t* cr, const Projection& map, const GridPoint& p, int step)
{
    const double half = step / 2.0;
    // West-positive: the eastern edge has the smaller longitude.
    const double left = map.X(p.LonDeg + half);
    const double right = map.X(p.LonDeg - half);
    const double top = map.Y(p.LatDeg + half);
    const double bottom = map.Y(p.LatDeg - half);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    if (left < 0) {
        cairo_rectangle(cr, left + map.Width, top, right - left, bottom - top);
    }
    if (right > map.Width) {
        cairo_rectangle(cr, left - map.Width, top, right - left, bottom - top);
    }
}

// Thin light diagonal lines over the current clip.
void Hatch(cairo_t* cr, double x0, double y0, double width, double height, double spacing, double lineWidth)
{
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    SetColour(cr, HatchColour, HatchAlpha);
    cairo_set_line_width(cr, lineWidth);
    for (double d = -height; d < width; d += spacing) {
        cairo_move_to(cr, x0 + d, y0 + height);
        cairo_line_to(cr, x0 + d + height, y0);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
}

void DrawCoverage(cairo_t* cr, const Projection& map, const Coverage& c, double scale)
{
    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    // One path per class, filled at once: cells of one colour never darken
    // each other where they meet.
    for (int k = 0; k < static_cast<int>(LevelClass::Count); ++k) {
        cairo_new_path(cr);
        bool any = false;
        for (std::size_t i = 0; i < c.Points.size(); ++i) {
            if (c.Results[i].HasPath && static_cast<int>(ClassOf(c.Results[i])) == k) {
                AddCell(cr, map, c.Points[i], c.StepDeg);
                any = true;
            }
        }
        if (!any) {
            continue;
        }
        if (static_cast<LevelClass>(k) == LevelClass::Below) {
            SetColour(cr, BelowColour(), BelowAlpha);
            cairo_fill_preserve(cr);
            cairo_clip(cr);
            Hatch(cr, 0, 0, map.Width, map.Height, 6 * scale, std::max(1.0, scale));
            cairo_reset_clip(cr);
        } else {
            SetColour(cr, ClassLooks()[k].Colour, CellAlpha);
            cairo_fill(cr);
        }
    }
    cairo_new_path(cr);
    cairo_restore(cr);
}

// The fonts Cairo found through fontconfig stay cached for the life of the
// process. The program draws one picture: give the caches back when it is
// done, drawn or not, so that nothing Cairo set up outlives it.
struct FontCachesReleased {
    FontCachesReleased() = default;
    FontCachesReleased(const FontCachesReleased&) = delete;
    FontCachesReleased& operator=(const FontCachesReleased&) = delete;
    ~FontCachesReleased()
    {
        cairo_debug_reset_static_data();
        FcFini();
    }
};

void SelectFont(cairo_t* cr, double size, bool bold)
{
    cairo_select_font_face(cr, Font, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double TextWidth(cairo_t* cr, const std::string& text)
{
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
}

// Text with a dark outline, readable over day and night alike.
void OutlinedText(cairo_t* cr, double x, double y, const std::string& text, double scale)
{
    cairo_save(cr);
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
    SetColour(cr, 0x000000, 0.85);
    cairo_set_line_width(cr, 3 * scale);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    SetColour(cr, 0xFFFFFF, 1);
    cairo_fill(cr);
    cairo_restore(cr);
}

void Panel(cairo_t* cr, double x, double y, double width, double height)
{
    SetColour(cr, 0x101418, 0.72);
    cairo_rectangle(cr, x, y, width, height);
    cairo_fill(cr);
}

void DrawHome(cairo_t* cr, const Projection& map, ld latDeg, ld lonWestDeg, double scale)
{
    const double x = (180 - static_cast<double>(lonWestDeg)) / 360 * map.Width;
    const double y = (90 - static_cast<double>(latDeg)) / 180 * map.Height;
    const double r = 7 * scale;
    cairo_save(cr);
    cairo_new_path(cr);
    // A ring with a cross through it, white over a black outline.
    for (const auto& [colour, width] : {std::pair{0x000000u, 4.5 * scale}, std::pair{0xFFFFFFu, 2 * scale}}) {
        SetColour(cr, colour, 1);
        cairo_set_line_width(cr, width);
        cairo_arc(cr, x, y, r, 0, 2 * std::numbers::pi);
        cairo_stroke(cr);
        cairo_move_to(cr, x - 1.8 * r, y);
        cairo_line_to(cr, x + 1.8 * r, y);
        cairo_move_to(cr, x, y - 1.8 * r);
        cairo_line_to(cr, x, y + 1.8 * r);
        cairo_stroke(cr);
    }
    SelectFont(cr, 13 * scale, true);
    const std::string label = "Home";
    // Right of the mark, or left of it near the right edge.
    const double width = TextWidth(cr, label);
    const double tx = x + 2 * r + width < map.Width ? x + 2 * r : x - 2 * r - width;
    const double ty = std::clamp(y - r, 14 * scale, static_cast<double>(map.Height) - 4 * scale);
    OutlinedText(cr, tx, ty, label, scale);
    cairo_restore(cr);
}

void DrawCaption(cairo_t* cr, const MapCaption& caption, double scale)
{
    const std::vector<std::string> lines = CaptionLines(caption);
    const double margin = 8 * scale;
    const double pad = 6 * scale;
    const double line = 17 * scale;
    SelectFont(cr, 14 * scale, true);
    double width = TextWidth(cr, lines[0]);
    SelectFont(cr, 12 * scale, false);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        width = std::max(width, TextWidth(cr, lines[i]));
    }
    Panel(cr, margin, margin, width + 2 * pad, static_cast<double>(lines.size()) * line + pad);
    SetColour(cr, 0xFFFFFF, 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SelectFont(cr, (i == 0 ? 14 : 12) * scale, i == 0);
        cairo_move_to(cr, margin + pad, margin + pad + 12 * scale + static_cast<double>(i) * line);
        cairo_show_text(cr, lines[i].c_str());
    }
}

void DrawLegend(cairo_t* cr, const Projection& map, double scale)
{
    const std::string title = LegendTitle;
    const std::string none = LegendNoPath;
    const double margin = 8 * scale;
    const double pad = 7 * scale;
    const double row = 17 * scale;
    const double swatchW = 22 * scale;
    const double swatchH = 12 * scale;
    const int classes = static_cast<int>(LevelClass::Count);

    SelectFont(cr, 12 * scale, true);
    double width = TextWidth(cr, title);
    SelectFont(cr, 12 * scale, false);
    for (const ClassLook& look : ClassLooks()) {
        width = std::max(width, swatchW + 6 * scale + TextWidth(cr, look.Label));
    }
    width = std::max(width, TextWidth(cr, none));
    const double height = (classes + 2) * row + pad;
    const double x0 = margin;
    const double y0 = map.Height - margin - height - pad;
    Panel(cr, x0, y0, width + 2 * pad, height + pad);

    SetColour(cr, 0xFFFFFF, 1);
    SelectFont(cr, 12 * scale, true);
    cairo_move_to(cr, x0 + pad, y0 + pad + 11 * scale);
    cairo_show_text(cr, title.c_str());
    SelectFont(cr, 12 * scale, false);
    // Strongest on top, as on a meter.
    for (int k = classes - 1, i = 0; k >= 0; --k, ++i) {
        const double y = y0 + pad + (i + 1) * row;
        const double sx = x0 + pad;
        // The swatch as the cell looks over a mid-grey map.
        SetColour(cr, 0x606060, 1);
        cairo_rectangle(cr, sx, y, swatchW, swatchH);
        cairo_fill(cr);
        if (static_cast<LevelClass>(k) == LevelClass::Below) {
            SetColour(cr, BelowColour(), BelowAlpha);
            cairo_rectangle(cr, sx, y, swatchW, swatchH);
            cairo_fill_preserve(cr);
            cairo_save(cr);
            cairo_clip(cr);
            Hatch(cr, sx, y, swatchW, swatchH, 6 * scale, std::max(1.0, scale));
            cairo_restore(cr);
        } else {
            SetColour(cr, ClassLooks()[k].Colour, CellAlpha);
            cairo_rectangle(cr, sx, y, swatchW, swatchH);
            cairo_fill(cr);
        }
        SetColour(cr, 0xFFFFFF, 1);
        cairo_move_to(cr, sx + swatchW + 6 * scale, y + 10.5 * scale);
        cairo_show_text(cr, ClassLooks()[k].Label);
    }
    cairo_move_to(cr, x0 + pad, y0 + pad + (classes + 1) * row + 10.5 * scale);
    cairo_show_text(cr, none.c_str());
}

} // namespace

Picture24 DrawCoverageMap(const Coverage& c, const UtcDateTime& moment, const MapCaption& caption, int width)
{
    // Declared first, so that it runs after every Cairo object is gone.
    const FontCachesReleased released;
    const Picture24 base = ComposeBuiltInMap(moment);
    const Projection map{width, width * base.Height / base.Width};
    // Lines and letters grow with the picture, and stay legible on the
    // narrowest one.
    const double scale = std::max(0.8, width / 1024.0);

    Surface target = NewSurface(map.Width, map.Height);
    Context context = NewContext(target.get());
    cairo_t* cr = context.get();

    // The map, scaled smoothly; its edge pixels repeat outward rather than
    // fading to black.
    {
        Surface source = ToSurface(base);
        cairo_save(cr);
        cairo_scale(cr, static_cast<double>(map.Width) / base.Width, static_cast<double>(map.Height) / base.Height);
        cairo_set_source_surface(cr, source.get(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_paint(cr);
        cairo_restore(cr);
    }

    DrawCoverage(cr, map, c, scale);
    DrawHome(cr, map, caption.HomeLatDeg, caption.HomeLonDeg, scale);
    DrawCaption(cr, caption, scale);
    DrawLegend(cr, map, scale);
    Check(cairo_status(cr));
    return ToPicture(target.get());
}

} // namespace orvela::area
