#include "codecs/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <jerror.h>

#include "codecs/CodecSupport.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to the
// setjmp in the calling function with the message kept here.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool endsEarly;  // libjpeg met the end of the data and made up the rest
};

void onError(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

// Warnings are not shown; the one for a truncated file is remembered.
void onWarning(j_common_ptr info, int level) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) error->endsEarly = true;
}

void installErrorHandler(JpegError& error) {
    jpeg_std_error(&error.manager);
    error.manager.error_exit = onError;
    error.manager.emit_message = onWarning;
    error.message[0] = 0;
    error.endsEarly = false;
}

// Everything that lives across the setjmp is declared before it, here.
struct Decompressor {
    jpeg_decompress_struct info{};
    JpegError error{};
    std::vector<uint8_t> inks;  // one CMYK row
    Decompressor() {
        installErrorHandler(error);
        info.err = &error.manager;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
};

struct Compressor {
    jpeg_compress_struct info{};
    JpegError error{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    Compressor() {
        installErrorHandler(error);
        info.err = &error.manager;
    }
    ~Compressor() {
        jpeg_destroy_compress(&info);
        std::free(buffer);
    }
};

// A CMYK row to blue, green, red. Adobe's files store the inks inverted (0 is full ink), as libjpeg
// hands them back; other files store them as they are.
void cmykToBgr(const uint8_t* cmyk, uint8_t* bgr, size_t width, bool inverted) {
    for (size_t x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned c = inverted ? cmyk[0] : 255u - cmyk[0], m = inverted ? cmyk[1] : 255u - cmyk[1];
        const unsigned y = inverted ? cmyk[2] : 255u - cmyk[2], k = inverted ? cmyk[3] : 255u - cmyk[3];
        bgr[0] = uint8_t((y * k + 127) / 255);
        bgr[1] = uint8_t((m * k + 127) / 255);
        bgr[2] = uint8_t((c * k + 127) / 255);
    }
}

// One code can stand for a whole 8 x 8 block of three colours: a bound on what the data can fill.
constexpr uint64_t kMaxExpansion = 4096;

}  // namespace

TBitmap DecodeJpeg(const uint8_t* data, size_t size) {
    Decompressor d;
    TBitmap image;
    if (setjmp(d.error.jump)) {
        // Whatever libjpeg made of the made-up end, the file was cut.
        if (d.error.endsEarly) RaiseEndsEarly("JPEG", "its data");
        throw EJPEG(d.error.message);
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_start_decompress(&d.info);
    CheckImageFits(d.info.output_width, d.info.output_height, TPixelFormat::pf24bit, size, kMaxExpansion);
    image.SetSize(int(d.info.output_width), int(d.info.output_height));
    d.inks.resize(cmyk ? size_t(d.info.output_width) * 4 : 0);
    while (d.info.output_scanline < d.info.output_height) {
        uint8_t* out = image.ScanLine(int(d.info.output_scanline));
        JSAMPROW row = cmyk ? d.inks.data() : out;
        jpeg_read_scanlines(&d.info, &row, 1);
        if (cmyk) cmykToBgr(d.inks.data(), out, d.info.output_width, d.info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&d.info);
    if (d.error.endsEarly) RaiseEndsEarly("JPEG", "its data");
    return image;
}

const TGraphicClass& TJPEGImage::ClassInfo() {
    static const TGraphicClass info{"TJPEGImage", [] { return std::make_unique<TJPEGImage>(); }};
    return info;
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    // A stream already in memory is decoded where it lies.
    if (auto* memory = dynamic_cast<TMemoryStream*>(&stream)) {
        const int64_t position = memory->Position(), size = memory->Size();
        if (position >= 0 && position <= size) {
            Assign(DecodeJpeg(memory->Bytes().data() + position, size_t(size - position)));
            memory->Seek(0, SeekOrigin::End);
            return;
        }
    }
    const std::vector<uint8_t> file = ReadRest(stream);
    Assign(DecodeJpeg(file.data(), file.size()));
}

void TJPEGImage::SaveToStream(TStream& stream) {
    TBitmap image(*this);
    image.SetPixelFormat(TPixelFormat::pf24bit);
    if (image.Empty()) throw EJPEG("Cannot save an empty JPEG image");
    Compressor c;
    if (setjmp(c.error.jump)) throw EJPEG(c.error.message);
    jpeg_create_compress(&c.info);
    jpeg_mem_dest(&c.info, &c.buffer, &c.size);
    c.info.image_width = JDIMENSION(image.Width());
    c.info.image_height = JDIMENSION(image.Height());
    c.info.input_components = 3;
    c.info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, quality_, TRUE);
    jpeg_start_compress(&c.info, TRUE);
    while (c.info.next_scanline < c.info.image_height) {
        JSAMPROW row = image.ScanLine(int(c.info.next_scanline));
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    stream.WriteBuffer(c.buffer, int64_t(c.size));
}

TUnitRegistration& JpegUnit() {
    static TUnitRegistration unit(
        [] {
            TPicture::RegisterFileFormat("jpeg", "JPEG Image File", TJPEGImage::ClassInfo());
            TPicture::RegisterFileFormat("jpg", "JPEG Image File", TJPEGImage::ClassInfo());
        },
        [] { TPicture::UnregisterGraphicClass(TJPEGImage::ClassInfo()); });
    return unit;
}

}  // namespace grottix
