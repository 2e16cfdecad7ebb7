// Decode throughput of every image codec on a 1024 x 1024 picture, in MB of decoded pixels per second.
// Each benchmark also reports its speed against a baseline timed in the same run: giflib's decoder for
// GIF, libjpeg-turbo's own decompression for JPEG (target: ratio >= 1), and for the formats without a
// reference library a plain copy of the same pixel bytes ("vs_memcpy", the ceiling no decoder passes).
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <jpeglib.h>

#include <chrono>
#include <cstring>
#include <functional>

#include "codecs/BUPcx.h"
#include "codecs/Jpeg.h"
#include "codecs/xGif.h"
#include "codecs/xPPM.h"
#include "codecs/xTGA.h"
#include "codecs/xWZ.h"
#include "codecs/zBitmap.h"
#include "storage/Stream.h"

namespace grottix {
namespace {

constexpr int kSide = 1024;

// A picture with smooth areas and detail, like a texture: gradients plus a little pseudo-random noise.
const TBitmap& truecolour() {
    static const TBitmap image = [] {
        TBitmap picture(kSide, kSide, TPixelFormat::pf24bit);
        uint32_t seed = 12345;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                seed = seed * 1103515245u + 12345u;
                const int noise = int((seed >> 16) & 7);
                picture.SetPixel(x, y, RGB(uint8_t((x >> 2) + noise), uint8_t((y >> 2) + noise), uint8_t(((x + y) >> 3) + noise)));
            }
        return picture;
    }();
    return image;
}

const TBitmap& indexed() {
    static const TBitmap image = [] {
        TBitmap picture = truecolour();
        picture.SetPixelFormat(TPixelFormat::pf8bit);
        return picture;
    }();
    return image;
}

template <typename Codec>
std::vector<uint8_t> encoded(const TBitmap& image) {
    Codec codec;
    codec.Assign(image);
    TMemoryStream stream;
    codec.SaveToStream(stream);
    return stream.TakeBytes();
}

std::vector<uint8_t> pcxFile() {
    TBUPcx pcx;
    pcx.Assign(&truecolour());
    TMemoryStream stream;
    pcx.SaveToStream(stream);
    return stream.TakeBytes();
}

// ---- giflib: the reference encoder of our GIF fixture and the reference decoder ----

struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int count) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t n = std::min(size_t(count), reader->bytes->size() - reader->position);
    std::memcpy(out, reader->bytes->data() + reader->position, n);
    reader->position += n;
    return int(n);
}

int writeToMemory(GifFileType* gif, const GifByteType* in, int count) {
    static_cast<std::vector<uint8_t>*>(gif->UserData)->insert(static_cast<std::vector<uint8_t>*>(gif->UserData)->end(), in, in + count);
    return count;
}

std::vector<uint8_t> gifFile() {
    const TBitmap& image = indexed();
    std::vector<uint8_t> bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, writeToMemory, &error);
    GifColorType colours[256] = {};
    for (size_t i = 0; i < image.Palette().size(); ++i)
        colours[i] = {image.Palette()[i].red, image.Palette()[i].green, image.Palette()[i].blue};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifPutScreenDesc(gif, kSide, kSide, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, kSide, kSide, false, nullptr);
    for (int y = 0; y < kSide; ++y) EGifPutLine(gif, const_cast<GifPixelType*>(image.ScanLine(y)), kSide);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return bytes;
}

void giflibDecode(const std::vector<uint8_t>& file) {
    MemoryReader reader{&file};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readFromMemory, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) throw std::runtime_error("giflib failed");
    benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits[0]);
    DGifCloseFile(gif, &error);
}

// Decodes into fresh memory, as every decoder of ours must.
void libjpegDecode(const std::vector<uint8_t>& file) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    const size_t stride = size_t(info.output_width) * 3;
    std::vector<uint8_t> pixels(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.data());
}

// Average seconds per call, over at least a fifth of a second.
double secondsPerCall(const std::function<void()>& work) {
    work();
    int calls = 0;
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    while (elapsed < 0.2) {
        work();
        ++calls;
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    return elapsed / calls;
}

// Decodes one file with a codec from a stream over it, as a texture loader would.
template <typename Codec>
void decodeWith(TMemoryStream& file) {
    file.SetPosition(0);
    Codec codec;
    codec.LoadFromStream(file);
    benchmark::DoNotOptimize(codec.Width());
}

// Runs the decoder under the benchmark's clock, reports MB/s of decoded pixels and the baseline's time
// over the decoder's (above 1 the decoder is the faster of the two).
void decodeAgainst(benchmark::State& state, const std::function<void()>& decode, size_t pixelBytes,
                   const std::function<void()>& baseline, const char* ratioName) {
    for (auto _ : state) decode();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(pixelBytes));
    state.counters[ratioName] = secondsPerCall(baseline) / secondsPerCall(decode);
}

constexpr size_t kTrueColourBytes = size_t(kSide) * kSide * 3;
constexpr size_t kIndexedBytes = size_t(kSide) * kSide;

// The floor for formats without a reference library: copying the decoded bytes once.
void copyPixels(size_t bytes) {
    static std::vector<uint8_t> from(kTrueColourBytes, 1), to(kTrueColourBytes);
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
}

template <typename Codec>
void BM_Decode(benchmark::State& state, const std::vector<uint8_t>& bytes, size_t pixelBytes) {
    TMemoryStream file(bytes);
    decodeAgainst(state, [&] { decodeWith<Codec>(file); }, pixelBytes, [&] { copyPixels(pixelBytes); }, "vs_memcpy");
}

void BM_DecodeTGA(benchmark::State& state) {
    static const auto file = encoded<TTGABitmap>(truecolour());
    BM_Decode<TTGABitmap>(state, file, kTrueColourBytes);
}
void BM_DecodePPM(benchmark::State& state) {
    static const auto file = encoded<TPPMBitmap>(truecolour());
    BM_Decode<TPPMBitmap>(state, file, kTrueColourBytes);
}
void BM_DecodePCX(benchmark::State& state) {
    static const auto file = pcxFile();
    BM_Decode<TBUPcx>(state, file, kTrueColourBytes);
}
void BM_DecodeWZ1(benchmark::State& state) {
    static const auto file = encoded<TWZ1Bitmap>(indexed());
    BM_Decode<TWZ1Bitmap>(state, file, kIndexedBytes);
}
void BM_DecodeWZ2(benchmark::State& state) {
    static const auto file = encoded<TWZ2Bitmap>(indexed());
    BM_Decode<TWZ2Bitmap>(state, file, kIndexedBytes);
}
void BM_DecodeZBitmap(benchmark::State& state) {
    static const auto file = encoded<TZBitmap>(truecolour());
    BM_Decode<TZBitmap>(state, file, kTrueColourBytes);
}
void BM_DecodeBMP(benchmark::State& state) {
    static const auto file = encoded<TBitmap>(truecolour());
    BM_Decode<TBitmap>(state, file, kTrueColourBytes);
}

void BM_DecodeGIF(benchmark::State& state) {
    static const auto bytes = gifFile();
    TMemoryStream file(bytes);
    decodeAgainst(state, [&] { decodeWith<TGifBitmap>(file); }, kIndexedBytes, [&] { giflibDecode(bytes); }, "vs_giflib");
}
void BM_DecodeGIFWithGiflib(benchmark::State& state) {
    static const auto file = gifFile();
    for (auto _ : state) giflibDecode(file);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kIndexedBytes));
}

void BM_DecodeJPEG(benchmark::State& state) {
    static const auto bytes = encoded<TJPEGImage>(truecolour());
    TMemoryStream file(bytes);
    decodeAgainst(state, [&] { decodeWith<TJPEGImage>(file); }, kTrueColourBytes, [&] { libjpegDecode(bytes); },
                  "vs_libjpeg");
}
void BM_DecodeJPEGWithLibjpeg(benchmark::State& state) {
    static const auto file = encoded<TJPEGImage>(truecolour());
    for (auto _ : state) libjpegDecode(file);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kTrueColourBytes));
}

}  // namespace
}  // namespace grottix

BENCHMARK(grottix::BM_DecodeTGA)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodePPM)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodePCX)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodeWZ1)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodeWZ2)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodeZBitmap)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodeBMP)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodeGIF)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodeGIFWithGiflib)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodeJPEG)->Unit(benchmark::kMillisecond);
BENCHMARK(grottix::BM_DecodeJPEGWithLibjpeg)->Unit(benchmark::kMillisecond);
