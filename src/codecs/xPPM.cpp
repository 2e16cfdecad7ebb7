#include "codecs/xPPM.h"

#include <charconv>
#include <cstring>

#include "codecs/CodecSupport.h"
#include "storage/Stream.h"

namespace grottix {

namespace {

constexpr const char* kWrongFileType = "Error reading PPM file: Wrong file type.";
constexpr const char* kComment = "# Grottix Viewer";

// Reads a stream in blocks and hands the unread rest back to it when done.
class PpmInput {
public:
    explicit PpmInput(TStream& stream) : stream_(stream) {}
    ~PpmInput() {
        if (pos_ < end_) stream_.Seek(-int64_t(end_ - pos_), SeekOrigin::Current);
    }
    PpmInput(const PpmInput&) = delete;
    PpmInput& operator=(const PpmInput&) = delete;

    bool atEnd() {
        if (pos_ < end_) return false;
        return !refill();
    }
    // The next byte, or -1 at the end of the stream.
    int next() {
        if (pos_ == end_ && !refill()) return -1;
        return buffer_[pos_++];
    }
    // Reads up to count bytes; returns how many there were.
    size_t read(uint8_t* out, size_t count) {
        size_t done = 0;
        while (done < count) {
            if (pos_ == end_ && !refill()) break;
            const size_t n = std::min(count - done, end_ - pos_);
            std::memcpy(out + done, buffer_ + pos_, n);
            pos_ += n;
            done += n;
        }
        return done;
    }
    // The next token: separators skipped before it, the one after it consumed; "" at the end.
    std::string token(bool spaceSeparates) {
        auto separator = [spaceSeparates](int c) { return c == '\n' || (spaceSeparates && c == ' '); };
        int c = next();
        while (c >= 0 && separator(c)) c = next();
        std::string text;
        while (c >= 0 && !separator(c)) {
            text.push_back(char(c));
            c = next();
        }
        return text;
    }

private:
    bool refill() {
        const int64_t got = stream_.Read(buffer_, sizeof buffer_);
        pos_ = 0;
        end_ = got > 0 ? size_t(got) : 0;
        return end_ > 0;
    }

    TStream& stream_;
    uint8_t buffer_[8192];
    size_t pos_ = 0;
    size_t end_ = 0;
};

std::vector<std::string> splitAtSpaces(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(' ', at);
        if (start == std::string::npos) break;
        const size_t stop = line.find(' ', start);
        words.push_back(line.substr(start, stop == std::string::npos ? std::string::npos : stop - start));
        at = stop == std::string::npos ? line.size() : stop;
    }
    return words;
}

[[noreturn]] void endsEarly(const std::string& part) { RaiseEndsEarly("PPM", part); }

void readBinaryRows(PpmInput& in, TBitmap& image) {
    std::vector<uint8_t> samples(size_t(image.Width()) * 3);
    for (int y = 0; y < image.Height(); ++y) {
        if (in.read(samples.data(), samples.size()) < samples.size()) endsEarly(PixelRow(y + 1, image.Height()));
        uint8_t* row = image.ScanLine(y);
        for (size_t i = 0; i + 2 < samples.size(); i += 3) {
            row[i] = samples[i + 2];
            row[i + 1] = samples[i + 1];
            row[i + 2] = samples[i];
        }
    }
}

void readAsciiRows(PpmInput& in, TBitmap& image) {
    for (int y = 0; y < image.Height(); ++y) {
        uint8_t* row = image.ScanLine(y);
        const auto sample = [&] {
            const std::string token = in.token(true);
            if (token.empty()) endsEarly(PixelRow(y + 1, image.Height()));
            return uint8_t(StrToInt(token));
        };
        for (int x = 0; x < image.Width(); ++x) {
            const auto red = sample();
            const auto green = sample();
            const auto blue = sample();
            row[x * 3] = blue;
            row[x * 3 + 1] = green;
            row[x * 3 + 2] = red;
        }
    }
}

// Text from a file as a message may show it: bytes outside printable ASCII as \xNN.
std::string escaped(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out.push_back(char(c));
            continue;
        }
        static const char kHex[] = "0123456789ABCDEF";
        out += c == '\\' ? std::string("\\\\") : std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
    }
    return out;
}

}  // namespace

int StrToInt(const std::string& text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;  // a sign of either kind is allowed
    int value = 0;
    const auto [stop, error] = std::from_chars(first, last, value);
    if (text.empty() || error != std::errc() || stop != last)
        throw EConvertError("'" + escaped(text) + "' is not a valid integer value");
    return value;
}

const TGraphicClass& TPPMBitmap::ClassInfo() {
    static const TGraphicClass info{"TPPMBitmap", [] { return std::make_unique<TPPMBitmap>(); }};
    return info;
}

void TPPMBitmap::LoadFromStream(TStream& stream) {
    PpmInput in(stream);
    const int p = in.next(), kind = p < 0 ? -1 : in.next();
    const int after = kind < 0 ? -1 : in.next();
    if (p != 'P' || (kind >= 0 && kind != '6' && kind != '3')) throw EGrottixError(kWrongFileType);
    if (after < 0) endsEarly("its header");
    const bool ascii = kind == '3';
    if (after != '\n' && after != ' ') throw EGrottixError(kWrongFileType);

    std::string sizeLine = in.token(false);
    while (!sizeLine.empty() && sizeLine[0] == '#') sizeLine = in.token(false);
    const std::vector<std::string> words = splitAtSpaces(sizeLine);
    if (words.size() < 2 && in.atEnd()) endsEarly("its header");
    const int width = StrToInt(words.size() > 0 ? words[0] : std::string());
    const int height = StrToInt(words.size() > 1 ? words[1] : std::string());
    if (words.size() < 3 && in.token(true).empty()) endsEarly("its header");  // the maximum sample value, never used

    CheckImageFits(width, height, TPixelFormat::pf24bit, RemainingBytes(stream) + 8192, 1);
    TBitmap image(width, height, TPixelFormat::pf24bit);
    if (ascii) readAsciiRows(in, image);
    else readBinaryRows(in, image);
    Assign(std::move(image));
    ascii_ = ascii;
}

void TPPMBitmap::SaveToStream(TStream& stream) {
    TBitmap image(*this);
    image.SetPixelFormat(TPixelFormat::pf24bit);
    const std::string header = std::string(ascii_ ? "P3" : "P6") + "\n" + kComment + "\n" +
                               std::to_string(image.Width()) + " " + std::to_string(image.Height()) + "\n255\n";
    stream.WriteBuffer(header.data(), int64_t(header.size()));
    std::string text;
    std::vector<uint8_t> samples(size_t(image.Width()) * 3);
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* row = image.ScanLine(y);
        for (size_t i = 0; i < samples.size(); i += 3) {
            samples[i] = row[i + 2];
            samples[i + 1] = row[i + 1];
            samples[i + 2] = row[i];
        }
        if (!ascii_) {
            stream.WriteBuffer(samples.data(), int64_t(samples.size()));
            continue;
        }
        text.clear();
        for (const uint8_t sample : samples) {
            text += std::to_string(sample);
            text += ' ';
        }
        stream.WriteBuffer(text.data(), int64_t(text.size()));
    }
}

TUnitRegistration& PPMUnit() {
    static TUnitRegistration unit(
        [] { TPicture::RegisterFileFormat("PPM", "Portable Pixelmap", TPPMBitmap::ClassInfo()); },
        [] { TPicture::UnregisterGraphicClass(TPPMBitmap::ClassInfo()); });
    return unit;
}

}  // namespace grottix
