#include "cli/area_picture.h"

#include "coverage/map_panels.h"
#include "coverage/map_projection.h"
#include "map/built_in_map.h"
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

// The map's projection, positions rounded to whole pixels, so that
// neighbouring cells share their edges exactly and leave neither a gap nor
// an overlap.
double PixelX(const MapProjection& map, double lonWestDeg)
{
    return std::round(map.X(lonWestDeg));
}
double PixelY(const MapProjection& map, double latDeg)
{
    return std::round(map.Y(latDeg));
}

// Adds the cell of a grid point to the current path; a cell across the
// map's left or right edge is drawn on both sides.
void AddCell(cairo_t* cr, const MapProjection& map, const GridPoint& p, int step)
{
    const double half = step / 2.0;
    // West-positive: the eastern edge has the smaller longitude.
    const double left = PixelX(map, p.LonWestDeg + half);
    const double right = PixelX(map, p.LonWestDeg - half);
    const double top = PixelY(map, p.LatDeg + half);
    const double bottom = PixelY(map, p.LatDeg - half);
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

void DrawCoverage(cairo_t* cr, const MapProjection& map, const Coverage& c, double scale)
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

void DrawHome(cairo_t* cr, const MapProjection& map, ld latDeg, ld lonWestDeg, double scale)
{
    const double x = map.X(static_cast<double>(lonWestDeg));
    const double y = map.Y(static_cast<double>(latDeg));
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

// A panel over the map, exactly as laid out; the swatches hatched as the
// cells below the sensitivity are.
void DrawPanel(cairo_t* cr, const MapPanel& panel, double scale)
{
    SetColour(cr, panel.Background.Rgb, panel.Background.Alpha);
    cairo_rectangle(cr, panel.Box.X, panel.Box.Y, panel.Box.Width, panel.Box.Height);
    cairo_fill(cr);
    for (const PanelSwatch& s : panel.Swatches) {
        const PanelRect& b = s.Box;
        SetColour(cr, s.Ground.Rgb, s.Ground.Alpha);
        cairo_rectangle(cr, b.X, b.Y, b.Width, b.Height);
        cairo_fill(cr);
        SetColour(cr, s.Cell.Rgb, s.Cell.Alpha);
        cairo_rectangle(cr, b.X, b.Y, b.Width, b.Height);
        if (s.Hatched) {
            cairo_fill_preserve(cr);
            cairo_save(cr);
            cairo_clip(cr);
            Hatch(cr, b.X, b.Y, b.Width, b.Height, 6 * scale, std::max(1.0, scale));
            cairo_restore(cr);
        } else {
            cairo_fill(cr);
        }
    }
    SetColour(cr, panel.TextColour.Rgb, panel.TextColour.Alpha);
    for (const PanelText& t : panel.Texts) {
        SelectFont(cr, t.Size, t.Bold);
        cairo_move_to(cr, t.X, t.Baseline);
        cairo_show_text(cr, t.Text.c_str());
    }
}

} // namespace

Picture24 DrawCoverageMap(const Coverage& c, const UtcDateTime& moment, const MapCaption& caption, int width)
{
    // Declared first, so that it runs after every Cairo object is gone.
    const FontCachesReleased released;
    const Picture24 base = ComposeBuiltInMap(moment, BuiltInMapWidth);
    if (base.Empty()) {
        throw PictureError("the built-in map could not be composed");
    }
    const MapProjection map{width, width * base.Height / base.Width};
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
    DrawHome(cr, map, caption.HomeLatDeg, caption.HomeLonWestDeg, scale);
    const MeasureText measure = [cr](const std::string& text, double size, bool bold) {
        SelectFont(cr, size, bold);
        return TextWidth(cr, text);
    };
    DrawPanel(cr, CaptionPanel(0, 0, scale, CaptionLines(caption), measure), scale);
    DrawPanel(cr, LegendPanel(0, map.Height, scale, measure), scale);
    Check(cairo_status(cr));
    return ToPicture(target.get());
}

} // namespace orvela::area
