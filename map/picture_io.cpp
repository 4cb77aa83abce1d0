#include "map/picture_io.h"

#include "common/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// jpeglib.h needs size_t and FILE declared before it.
#include <cstdio>
#include <jpeglib.h>
#include <png.h>

#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>

namespace orvela {

namespace {

std::string Reason(int error)
{
    return std::strerror(error);
}

// ---------------------------------------------------------------- JPEG

// libjpeg reports errors through a callback that must not return; this one
// jumps back to the decoder with the library's message. A warning counts as
// an error too: libjpeg only warns about a truncated or corrupt file, and
// pads the missing rows with grey.
struct JpegErrors {
    jpeg_error_mgr Manager; // first, so that libjpeg's pointer is ours
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void JpegFail(j_common_ptr cinfo)
{
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->Message);
    std::longjmp(errors->Jump, 1);
}

extern "C" void JpegMessage(j_common_ptr cinfo, int level)
{
    if (level < 0) // a warning; higher levels are trace messages
        JpegFail(cinfo);
}

// Runs the decoder. No object with a destructor lives in this frame, so the
// jump back from an error leaves nothing half destroyed; the caller releases
// libjpeg's state.
bool RunJpegDecoder(jpeg_decompress_struct& cinfo, JpegErrors& errors, std::span<const std::uint8_t> data,
                    Picture24& out)
{
    if (setjmp(errors.Jump) != 0)
        return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        std::snprintf(errors.Message, sizeof errors.Message, "unsupported colour layout");
        return false;
    }
    out = Picture24::Make(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.Row(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

struct JpegDecoder {
    jpeg_decompress_struct Info{};
    JpegErrors Errors{};
    // Safe on a structure that was never created: it checks for its memory manager.
    ~JpegDecoder() { jpeg_destroy_decompress(&Info); }
};

// ---------------------------------------------------------------- PNG

struct PngSink {
    int Fd = -1;
    int Error = 0;       // errno of a failed write
    std::string Message; // libpng's own message
};

extern "C" void PngFail(png_structp png, png_const_charp message)
{
    auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
    sink->Message = message;
    png_longjmp(png, 1);
}

extern "C" void PngWarning(png_structp, png_const_charp)
{
}

extern "C" void PngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    while (length > 0) {
        const ssize_t n = ::write(sink->Fd, data, length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            sink->Error = errno;
            png_error(png, "write failed");
        }
        data += n;
        length -= static_cast<png_size_t>(n);
    }
}

extern "C" void PngFlush(png_structp)
{
}

// Encodes the picture; like the JPEG decoder, nothing with a destructor
// lives in this frame.
bool RunPngEncoder(png_structp png, png_infop info, const Picture24& picture)
{
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width), static_cast<png_uint_32>(picture.Height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png); // our rows are blue first; libpng swaps a copy of each row
    for (int y = 0; y < picture.Height; ++y)
        png_write_row(png, const_cast<png_bytep>(picture.Row(y)));
    png_write_end(png, nullptr);
    return true;
}

struct PngWriter {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    ~PngWriter() { png_destroy_write_struct(&Png, Info ? &Info : nullptr); }
};

// Nearest neighbour, sampling at the centre of each target pixel so that a
// symmetric picture stays symmetric.
template <typename Picture>
Picture Resize(const Picture& picture, int width, int height, std::size_t pixelBytes)
{
    if (picture.Empty() || width <= 0 || height <= 0)
        return Picture{};
    Picture out = Picture::Make(width, height);
    std::vector<std::size_t> sourceColumn(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        sourceColumn[static_cast<std::size_t>(x)] =
            static_cast<std::size_t>((2LL * x + 1) * picture.Width / (2LL * width)) * pixelBytes;
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>((2LL * y + 1) * picture.Height / (2LL * height));
        const std::uint8_t* src = picture.Row(sy);
        std::uint8_t* dst = out.Row(y);
        for (int x = 0; x < width; ++x)
            std::memcpy(dst + static_cast<std::size_t>(x) * pixelBytes, src + sourceColumn[static_cast<std::size_t>(x)],
                        pixelBytes);
    }
    return out;
}

} // namespace

Picture24 DecodeJpeg(std::span<const std::uint8_t> data)
{
    JpegDecoder decoder;
    decoder.Info.err = jpeg_std_error(&decoder.Errors.Manager);
    decoder.Errors.Manager.error_exit = JpegFail;
    decoder.Errors.Manager.emit_message = JpegMessage;
    Picture24 picture;
    try {
        if (!RunJpegDecoder(decoder.Info, decoder.Errors, data, picture))
            throw PictureError(std::string("JPEG: ") + decoder.Errors.Message);
    } catch (const std::bad_alloc&) {
        throw PictureError("JPEG: picture too large for memory");
    }
    return picture;
}

Picture24 ResizeNearest(const Picture24& picture, int width, int height)
{
    return Resize(picture, width, height, 3);
}

Picture8 ResizeNearest(const Picture8& picture, int width, int height)
{
    return Resize(picture, width, height, 1);
}

SunGlyph DecodeSunGlyph(std::span<const std::uint8_t> glyphBmp, std::span<const std::uint8_t> alphaBmp)
{
    return {ResizeNearest(DecodeBmp24(glyphBmp), SunGlyphSize, SunGlyphSize),
            ResizeNearest(DecodeBmp8(alphaBmp), SunGlyphSize, SunGlyphSize)};
}

Picture24 DecodeNamedJpeg(std::string_view mapName, std::span<const std::uint8_t> data)
{
    if (data.empty())
        throw PictureError("no picture named " + std::string(mapName));
    try {
        return DecodeJpeg(data);
    } catch (const PictureError& e) {
        throw PictureError(std::string(mapName) + ": " + e.what());
    }
}

Picture24 LoadJpegImage(std::string_view mapName)
{
    return DecodeNamedJpeg(mapName, MapResource(mapName));
}

void WritePng(const Picture24& picture, const std::string& path)
{
    if (picture.Empty())
        throw PictureError(path + ": no picture to write");

    AtomicFile file(path);
    if (const int error = file.Open(); error != 0)
        throw PictureError(path + ": " + Reason(error));
    PngSink sink;
    sink.Fd = file.Fd();
    {
        PngWriter writer;
        writer.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, PngFail, PngWarning);
        if (writer.Png != nullptr)
            writer.Info = png_create_info_struct(writer.Png);
        if (writer.Info == nullptr)
            throw PictureError(path + ": " + Reason(ENOMEM));
        png_set_write_fn(writer.Png, &sink, PngWrite, PngFlush);
        if (!RunPngEncoder(writer.Png, writer.Info, picture))
            throw PictureError(path + ": " + (sink.Error != 0 ? Reason(sink.Error) : sink.Message));
    }
    if (const int error = file.Commit(); error != 0)
        throw PictureError(path + ": " + Reason(error));
}

} // namespace orvela
