#pragma once
// Helpers the decoders share: how much input is left, reading the rest of a stream, and the check
// that keeps a header's claimed size from allocating far more than its data could ever fill.

#include <cstdint>
#include <string>
#include <vector>

#include "codecs/Bitmap.h"

namespace grottix {

class TStream;

// Bytes between the stream's position and its end (0 when the position is beyond the end).
uint64_t RemainingBytes(TStream& stream);
// Reads from the position to the end, in pieces, never trusting a size field.
std::vector<uint8_t> ReadRest(TStream& stream);

// A picture whose file ends before the data its header promises.
class EImageEndsEarly : public EInvalidGraphic {
public:
    using EInvalidGraphic::EInvalidGraphic;
};
// Raises "<format> image ends early in <part>", e.g. "TGA image ends early in its pixel data (row 3 of 128)".
[[noreturn]] void RaiseEndsEarly(const std::string& format, const std::string& part);
// "its pixel data (row N of H)", N counted in the order the file stores the rows.
std::string PixelRow(int64_t row, int64_t height);

// Refuses ("Image too large") an image whose pixel store is larger than the input could fill when
// every input byte expands to at most `expansion` pixel bytes. Small images are always allowed, so a
// truncated file of sensible size gets as far as the read that finds it cut.
void CheckImageFits(int64_t width, int64_t height, TPixelFormat format, uint64_t inputBytes, uint64_t expansion);

}  // namespace grottix
