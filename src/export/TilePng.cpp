#include "export/TilePng.h"

#include "export/KeyedTileAlpha.h"
#include "codecs/Bitmap.h"
#include "codecs/PngWriter.h"
#include "storage/Exceptions.h"

namespace grottix {

TTilePng EncodeTilePng(const TBitmap& tile) {
    if (tile.Empty() || tile.PixelFormat() != TPixelFormat::pf24bit) throw EGrottixError("Cannot write the PNG image");
    TTilePng result;
    result.keyed = HasKeyedTexels(tile);
    // A keyed tile goes out as its rows with alpha; an opaque one as its own rows.
    const std::vector<uint8_t> rgba = result.keyed ? KeyedTileRgba(tile) : std::vector<uint8_t>{};
    const size_t rowBytes = size_t(tile.Width()) * 4;
    TPngRows rows{tile.Width(), tile.Height(), result.keyed, true, 1, nullptr};
    if (result.keyed) rows.Row = [&](int y) { return rgba.data() + size_t(y) * rowBytes; };
    else rows.Row = [&](int y) { return tile.ScanLine(y); };
    result.bytes = EncodePngRows(rows);
    return result;
}

}  // namespace grottix
