#include "codecs/zBitmap.h"

#include <algorithm>

#include "codecs/BmpFormat.h"
#include "codecs/CodecSupport.h"
#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {

namespace {

// The most a compressed bitmap may inflate to (a 24-bit picture of about 8192 x 8192).
constexpr uint64_t kMaxBmzBytes = uint64_t{200} << 20;

// Bytes per delta-coded pixel, or 0 when the format is stored as it is.
int deltaStep(TPixelFormat format) {
    return format == TPixelFormat::pf8bit ? 1 : format == TPixelFormat::pf24bit ? 3 : 0;
}

void encodeDeltas(const TBitmap& original, TBitmap& coded) {
    const int step = deltaStep(original.PixelFormat());
    if (step == 0) return;
    const size_t rowBytes = size_t(original.Width()) * size_t(step);
    for (int y = 0; y < original.Height(); ++y) {
        const uint8_t* in = original.ScanLine(y);
        uint8_t* out = coded.ScanLine(y);
        for (size_t i = size_t(step); i < rowBytes; ++i) out[i] = uint8_t(in[i] - in[i - size_t(step)]);
    }
}

void decodeDeltas(TBitmap& image) {
    const int step = deltaStep(image.PixelFormat());
    if (step == 0) return;
    const size_t rowBytes = size_t(image.Width()) * size_t(step);
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* row = image.ScanLine(y);
        for (size_t i = size_t(step); i < rowBytes; ++i) row[i] = uint8_t(row[i] + row[i - size_t(step)]);
    }
}

}  // namespace

const TGraphicClass& TZBitmap::ClassInfo() {
    static const TGraphicClass info{"TZBitmap", [] { return std::make_unique<TZBitmap>(); }};
    return info;
}

void TZBitmap::LoadFromStream(TStream& stream) {
    const int64_t start = stream.Position();
    const int64_t size = stream.Size();
    if (size - start < 4) throw EInvalidGraphic("Bitmap image is not valid");
    int32_t length = 0;
    stream.Seek(size - 4, SeekOrigin::Beginning);
    stream.Read(&length, 4);
    stream.Seek(start, SeekOrigin::Beginning);
    const std::vector<uint8_t> body = ReadRest(stream);
    TInflated inflated = InflateUpTo(body, uint64_t(std::max(length, 0)), kMaxBmzBytes);
    if (inflated.End == TInflateEnd::EndsEarly) RaiseEndsEarly("BMZ", "its compressed data");
    if (inflated.End == TInflateEnd::BeyondLimit) throw EInvalidGraphic("Image too large");
    if (inflated.End != TInflateEnd::Complete) throw EZlibError(std::string("zlib: ") + InflateEndMessage(inflated.End));
    // The trailer is the last thing in the file: a cut one disagrees with the data.
    if (inflated.Bytes.size() != uint64_t(std::max(length, 0)))
        RaiseEndsEarly("BMZ", "its trailer (" + std::to_string(length) + " bytes, the data holds " +
                                  std::to_string(inflated.Bytes.size()) + ")");
    TBitmap image;
    ReadBmp(inflated.Bytes, image);
    decodeDeltas(image);
    Assign(std::move(image));
}

void TZBitmap::SaveToStream(TStream& stream) {
    if (deltaStep(PixelFormat()) == 0 && BitsPerPixel(PixelFormat()) > 8) SetPixelFormat(TPixelFormat::pf24bit);
    TBitmap coded(*this);
    encodeDeltas(*this, coded);
    const std::vector<uint8_t> file = WriteBmp(coded);
    const std::vector<uint8_t> packed = DeflateBytes(file, TCompressionLevel::clDefault);
    stream.WriteBuffer(packed.data(), int64_t(packed.size()));
    stream.Seek(0, SeekOrigin::End);
    const auto length = int32_t(file.size());
    stream.WriteBuffer(&length, 4);
}

TUnitRegistration& ZBitmapUnit() {
    static TUnitRegistration unit([] { TPicture::RegisterFileFormat("BMZ", "zBitmap", TZBitmap::ClassInfo()); },
                                  [] { TPicture::UnregisterGraphicClass(TZBitmap::ClassInfo()); });
    return unit;
}

}  // namespace grottix
