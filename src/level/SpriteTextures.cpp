#include "level/SpriteTextures.h"

#include <algorithm>
#include <cstring>

#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr size_t kRecordSize = 16;

struct TRawSpriteTexture {
    uint16_t tile;
    uint8_t x, y;
    uint16_t width, height;
    int16_t left, top, right, bottom;
};
static_assert(sizeof(TRawSpriteTexture) == kRecordSize);

TSpriteTexture classicSprite(const TRawSpriteTexture& raw) {
    TSpriteTexture s;
    s.tile = raw.tile & 0x7FFF;
    s.left = raw.x;
    s.top = raw.y;
    s.width = (raw.width + 1) >> 8;
    s.height = (raw.height + 1) >> 8;
    s.extentLeft = raw.left;
    s.extentTop = raw.top;
    s.extentRight = raw.right;
    s.extentBottom = raw.bottom;
    return s;
}

TSpriteTexture texelCornerSprite(const TRawSpriteTexture& raw) {
    TSpriteTexture s;
    s.tile = raw.tile & 0x7FFF;
    s.left = std::clamp<int>(raw.left, 0, 255);
    s.top = std::clamp<int>(raw.top, 0, 255);
    s.width = std::clamp<int>(raw.right, s.left, 255) - s.left + 1;
    s.height = std::clamp<int>(raw.bottom, s.top, 255) - s.top + 1;
    const int halfWidth = s.width * kUnitsPerSpriteTexel / 2;
    s.extentLeft = -halfWidth;
    s.extentRight = halfWidth;
    s.extentTop = -s.height * kUnitsPerSpriteTexel;
    s.extentBottom = 0;
    return s;
}

}  // namespace

std::vector<TSpriteTexture> ReadSpriteTextures(const TTombRaiderLevel& level) {
    const size_t count = RecordCount(level.SpriteTextures, kRecordSize);
    std::vector<TSpriteTexture> sprites(count);
    for (size_t i = 0; i < count; ++i) {
        TRawSpriteTexture raw;
        std::memcpy(&raw, level.SpriteTextures.bytes.data() + i * kRecordSize, kRecordSize);
        sprites[i] = level.VersionCode >= 6 ? texelCornerSprite(raw) : classicSprite(raw);
    }
    return sprites;
}

}  // namespace grottix
