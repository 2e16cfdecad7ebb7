#include "app/export/TilePng.h"

#include <csetjmp>
#include <string>

#include <png.h>

#include "app/export/KeyedTileAlpha.h"
#include "codecs/Bitmap.h"
#include "storage/Exceptions.h"

namespace grottix {

namespace {

// libpng reports failures through the error function, which must not return: it jumps back to the
// setjmp in encode with the message kept in the writer. Everything that lives across the setjmp is
// in the writer, declared before it. The output never grows past the room reserved for it, so no
// allocation (and no C++ exception) happens inside libpng's calls.
struct TPngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::vector<uint8_t> out;
    std::string message;
    std::jmp_buf jump;
    ~TPngWriter() { png_destroy_write_struct(&png, &info); }
};

void onError(png_structp png, png_const_charp message) {
    auto* writer = static_cast<TPngWriter*>(png_get_error_ptr(png));
    writer->message = message;  // short texts: fits the string's own buffer or allocates before the jump
    std::longjmp(writer->jump, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep data, png_size_t size) {
    auto* writer = static_cast<TPngWriter*>(png_get_io_ptr(png));
    if (size > writer->out.capacity() - writer->out.size()) png_error(png, "the PNG outgrew its buffer");
    writer->out.insert(writer->out.end(), data, data + size);
}

void onFlush(png_structp) {}

// rgba: the keyed tile's rows with alpha (colour type 6); empty for an opaque tile, whose rows
// go out as they are (colour type 2, blue, green, red turned round by libpng).
void encode(TPngWriter& writer, const TBitmap& tile, const std::vector<uint8_t>& rgba) {
    if (setjmp(writer.jump)) throw EGrottixError("Cannot write the PNG image: " + writer.message);
    png_set_write_fn(writer.png, &writer, onWrite, onFlush);
    const int colourType = rgba.empty() ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA;
    png_set_IHDR(writer.png, writer.info, png_uint_32(tile.Width()), png_uint_32(tile.Height()), 8, colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(writer.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(writer.png, 1);
    png_write_info(writer.png, writer.info);
    if (rgba.empty()) {
        png_set_bgr(writer.png);
        for (int y = 0; y < tile.Height(); ++y) png_write_row(writer.png, tile.ScanLine(y));
    } else {
        const size_t rowBytes = size_t(tile.Width()) * 4;
        for (size_t y = 0; y < size_t(tile.Height()); ++y) png_write_row(writer.png, rgba.data() + y * rowBytes);
    }
    png_write_end(writer.png, writer.info);
}

}  // namespace

TTilePng EncodeTilePng(const TBitmap& tile) {
    if (tile.Empty() || tile.PixelFormat() != TPixelFormat::pf24bit) throw EGrottixError("Cannot write the PNG image");
    TTilePng result;
    result.keyed = HasKeyedTexels(tile);
    const std::vector<uint8_t> rgba = result.keyed ? KeyedTileRgba(tile) : std::vector<uint8_t>{};
    TPngWriter writer;
    // Stored deflate blocks at worst, a chunk header for every 8 KiB, and the rest of the file.
    const size_t raw = size_t(tile.Height()) * (size_t(tile.Width()) * (result.keyed ? 4 : 3) + 1);
    writer.out.reserve(raw + raw / 1024 + 4096);
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &writer, onError, onWarning);
    if (writer.png) writer.info = png_create_info_struct(writer.png);
    if (!writer.info) throw EGrottixError("Cannot write the PNG image");
    encode(writer, tile, rgba);
    result.bytes = std::move(writer.out);
    return result;
}

}  // namespace grottix
