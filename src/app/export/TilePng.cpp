#include "app/export/TilePng.h"

#include <csetjmp>
#include <string>

#include <png.h>

#include "codecs/Bitmap.h"
#include "storage/Exceptions.h"

namespace grottix {

namespace {

bool anyBlack(const TBitmap& tile) {
    for (int y = 0; y < tile.Height(); ++y) {
        const uint8_t* row = tile.ScanLine(y);
        for (int x = 0; x < tile.Width(); ++x, row += 3)
            if ((row[0] | row[1] | row[2]) == 0) return true;
    }
    return false;
}

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

void encode(TPngWriter& writer, const TBitmap& tile, bool keyed) {
    if (setjmp(writer.jump)) throw EGrottixError("Cannot write the PNG image: " + writer.message);
    png_set_write_fn(writer.png, &writer, onWrite, onFlush);
    png_set_IHDR(writer.png, writer.info, png_uint_32(tile.Width()), png_uint_32(tile.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (keyed) {
        png_color_16 black{};
        png_set_tRNS(writer.png, writer.info, nullptr, 0, &black);
    }
    png_set_filter(writer.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(writer.png, 1);
    png_write_info(writer.png, writer.info);
    png_set_bgr(writer.png);
    for (int y = 0; y < tile.Height(); ++y) png_write_row(writer.png, tile.ScanLine(y));
    png_write_end(writer.png, writer.info);
}

}  // namespace

TTilePng EncodeTilePng(const TBitmap& tile) {
    if (tile.Empty() || tile.PixelFormat() != TPixelFormat::pf24bit) throw EGrottixError("Cannot write the PNG image");
    TPngWriter writer;
    // Stored deflate blocks at worst, a chunk header for every 8 KiB, and the rest of the file.
    const size_t raw = size_t(tile.Height()) * (size_t(tile.Width()) * 3 + 1);
    writer.out.reserve(raw + raw / 1024 + 4096);
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &writer, onError, onWarning);
    if (writer.png) writer.info = png_create_info_struct(writer.png);
    if (!writer.info) throw EGrottixError("Cannot write the PNG image");
    TTilePng result;
    result.keyed = anyBlack(tile);
    encode(writer, tile, result.keyed);
    result.bytes = std::move(writer.out);
    return result;
}

}  // namespace grottix
