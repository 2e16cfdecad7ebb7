#include "codecs/PngWriter.h"

#include <csetjmp>
#include <string>

#include <png.h>

#include "codecs/Bitmap.h"
#include "storage/Exceptions.h"

namespace grottix {

namespace {

// libpng reports failures through the error function, which must not return: it jumps back to the
// setjmp in encode with the message kept in the writer. Everything that lives across the setjmp is
// in the writer, declared before it, and the output never grows past the room reserved for it, so
// nothing allocates (or throws) inside libpng's calls.
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
    writer->message = message;
    std::longjmp(writer->jump, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep data, png_size_t size) {
    auto* writer = static_cast<TPngWriter*>(png_get_io_ptr(png));
    if (size > writer->out.capacity() - writer->out.size()) png_error(png, "the PNG outgrew its buffer");
    writer->out.insert(writer->out.end(), data, data + size);
}

void onFlush(png_structp) {}

void encode(TPngWriter& writer, const TPngRows& rows) {
    if (setjmp(writer.jump)) throw EGrottixError("Cannot write the PNG image: " + writer.message);
    png_set_write_fn(writer.png, &writer, onWrite, onFlush);
    png_set_IHDR(writer.png, writer.info, png_uint_32(rows.Width), png_uint_32(rows.Height), 8,
                 rows.Alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (rows.Unfiltered) png_set_filter(writer.png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(writer.png, rows.Level < 0 || rows.Level > 9 ? 6 : rows.Level);
    png_write_info(writer.png, writer.info);
    if (!rows.Alpha) png_set_bgr(writer.png);  // TBitmap rows are stored blue, green, red
    for (int y = 0; y < rows.Height; ++y) png_write_row(writer.png, rows.Row(y));
    png_write_end(writer.png, writer.info);
}

}  // namespace

std::vector<uint8_t> EncodePngRows(const TPngRows& rows) {
    if (rows.Width <= 0 || rows.Height <= 0 || !rows.Row) throw EGrottixError("Cannot write the PNG image: the picture is empty");
    TPngWriter writer;
    // Stored deflate blocks at worst (filter bytes included), their headers, and the rest of the file.
    const size_t raw = size_t(rows.Height) * (size_t(rows.Width) * (rows.Alpha ? 4 : 3) + 1);
    writer.out.reserve(raw + raw / 1024 + 4096);
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &writer, onError, onWarning);
    if (writer.png) writer.info = png_create_info_struct(writer.png);
    if (!writer.info) throw EGrottixError("Cannot write the PNG image");
    encode(writer, rows);
    return std::move(writer.out);
}

std::vector<uint8_t> EncodePng(const TBitmap& picture, int level) {
    if (picture.Empty()) throw EGrottixError("Cannot write the PNG image: the picture is empty");
    TBitmap rgb(picture);
    rgb.SetPixelFormat(TPixelFormat::pf24bit);
    return EncodePngRows({rgb.Width(), rgb.Height(), false, false, level, [&](int y) { return rgb.ScanLine(y); }});
}

}  // namespace grottix
