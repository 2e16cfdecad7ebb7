#include "level/LevelSoundSources.h"

#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr size_t kSoundSourceSize = 16;
constexpr uint16_t kPlaysAlternate = 0x40, kPlaysPrimary = 0x80;

std::string describe(uint16_t sound, size_t mapSize, int details, size_t detailCount) {
    const std::string name = "sound " + std::to_string(sound);
    if (sound >= mapSize) return name + " lies past the sound map's " + std::to_string(mapSize) + " sounds";
    if (details < 0) return name + " is not one this level carries";
    if (size_t(details) >= detailCount)
        return name + " names sound details " + std::to_string(details) + ", past the " + std::to_string(detailCount) +
               " there are";
    return "";
}

}  // namespace

std::vector<TSoundSource> ReadSoundSources(const TTombRaiderLevel& level) {
    const size_t count = RecordCount(level.SoundSources, kSoundSourceSize);
    const size_t mapSize = level.SoundMap.size() / 2;
    std::vector<TSoundSource> sources(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* r = level.SoundSources.bytes.data() + i * kSoundSourceSize;
        TSoundSource& s = sources[i];
        s.index = i;
        s.x = RawField<int32_t>(r, 0);
        s.y = RawField<int32_t>(r, 4);
        s.z = RawField<int32_t>(r, 8);
        s.sound = RawField<uint16_t>(r, 12);
        s.flags = RawField<uint16_t>(r, 14);
        s.primary = s.flags & kPlaysPrimary;
        s.alternate = s.flags & kPlaysAlternate;
        if (s.sound < mapSize) s.details = RawField<int16_t>(level.SoundMap.data(), size_t(s.sound) * 2);
        s.problem = describe(s.sound, mapSize, s.details, RecordCount(level.SoundDetails, 8));
    }
    return sources;
}

}  // namespace grottix
