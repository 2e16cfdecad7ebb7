#include "level/LevelLights.h"

#include <cmath>

#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

constexpr size_t kFogBulbSize = 36;

size_t lightSize(int code) { return code <= 2 ? 18 : code <= 5 ? 24 : code == 6 ? 46 : 88; }

// TR3 knows suns (0) and points (1); TR4 and Chronicles also spots, shadows and fog bulbs.
TLightKind kindOf(int code, int type) {
    static constexpr TLightKind kinds[] = {TLightKind::Sun, TLightKind::Point, TLightKind::Spot, TLightKind::Shadow,
                                           TLightKind::FogBulb};
    if (type < 0 || type > (code == 5 ? 1 : 4)) return TLightKind::Unknown;
    return kinds[type];
}

std::array<double, 3> bytes3(const uint8_t* r, size_t offset) {
    return {double(r[offset]), double(r[offset + 1]), double(r[offset + 2])};
}

std::array<double, 3> floats3(const uint8_t* r, size_t offset) {
    return {RawField<float>(r, offset), RawField<float>(r, offset + 4), RawField<float>(r, offset + 8)};
}

// A float position rounded to level units; one that is not a number, or beyond what 32 bits hold,
// is named in problem (and held at 0 or at the nearest value that fits).
void roundedPosition(const uint8_t* r, TRoomLight& light) {
    int32_t* axes[] = {&light.x, &light.y, &light.z};
    for (size_t i = 0; i < 3; ++i) {
        const double value = RawField<float>(r, i * 4);
        if (std::isnan(value)) {
            light.problem = "its position is not a number";
        } else if (value >= 2147483648.0 || value < -2147483648.0) {
            *axes[i] = value < 0 ? INT32_MIN : INT32_MAX;
            light.problem = "its position lies beyond the level's coordinates";
        } else {
            *axes[i] = int32_t(std::lround(value));
        }
    }
}

void readClassic(const uint8_t* r, int code, TRoomLight& light) {
    light.x = RawField<int32_t>(r, 0);
    light.y = RawField<int32_t>(r, 4);
    light.z = RawField<int32_t>(r, 8);
    if (code <= 2) {
        light.intensity = RawField<uint16_t>(r, 12);
        light.fade = RawField<uint32_t>(r, 14);
    } else if (code <= 4) {
        light.intensity = RawField<uint16_t>(r, 12);
        light.intensity2 = RawField<uint16_t>(r, 14);
        light.fade = RawField<uint32_t>(r, 16);
        light.fade2 = RawField<uint32_t>(r, 20);
    } else {  // TR3: a sun keeps a normal where a point light keeps intensity and fade
        light.colour = bytes3(r, 12);
        light.type = r[15];
        light.kind = kindOf(code, light.type);
        if (light.kind == TLightKind::Sun)
            light.direction = {double(RawField<int16_t>(r, 16)), double(RawField<int16_t>(r, 18)),
                               double(RawField<int16_t>(r, 20))};
        else {
            light.intensity = RawField<int32_t>(r, 16);
            light.fade = RawField<int32_t>(r, 20);
        }
    }
}

void readTr4(const uint8_t* r, TRoomLight& light) {
    light.x = RawField<int32_t>(r, 0);
    light.y = RawField<int32_t>(r, 4);
    light.z = RawField<int32_t>(r, 8);
    light.colour = bytes3(r, 12);
    light.type = r[15];
    light.kind = kindOf(6, light.type);
    light.intensity = r[17];
    light.in = RawField<float>(r, 18);
    light.out = RawField<float>(r, 22);
    light.length = RawField<float>(r, 26);
    light.cutOff = RawField<float>(r, 30);
    light.direction = floats3(r, 34);
}

// Chronicles repeats the position and direction as integers at 60 and 72; the floats are read.
void readTr5(const uint8_t* r, TRoomLight& light) {
    roundedPosition(r, light);
    light.colour = floats3(r, 12);
    light.in = RawField<float>(r, 28);
    light.out = RawField<float>(r, 32);
    light.radiansIn = RawField<float>(r, 36);
    light.radiansOut = RawField<float>(r, 40);
    light.range = RawField<float>(r, 44);
    light.direction = floats3(r, 48);
    light.type = r[84];
    light.kind = kindOf(7, light.type);
}

}  // namespace

const char* LightKindName(TLightKind kind) {
    switch (kind) {
        case TLightKind::Point: return "point";
        case TLightKind::Sun: return "sun";
        case TLightKind::Spot: return "spot";
        case TLightKind::Shadow: return "shadow";
        case TLightKind::FogBulb: return "fog bulb";
        default: return "unknown";
    }
}

std::optional<double> LightReach(const TRoomLight& light) {
    constexpr double kFarthest = 2147483647.0;
    const auto distance = [](std::optional<double> value) {
        return value && std::isfinite(*value) && *value > 0 && *value <= kFarthest ? value : std::nullopt;
    };
    if (light.kind == TLightKind::Sun) return std::nullopt;
    if (const auto range = distance(light.range)) return range;
    if (light.kind == TLightKind::Spot && distance(light.cutOff)) return light.cutOff;
    if (const auto out = distance(light.out)) return out;
    return light.fade ? distance(double(*light.fade)) : std::nullopt;
}

std::vector<TRoomLight> ReadLights(const TTombRaiderLevel& level) {
    const int code = level.VersionCode;
    const size_t size = lightSize(code);
    std::vector<TRoomLight> lights;
    for (size_t room = 0; room < level.Rooms.size(); ++room) {
        const TRoomRecord& record = level.Rooms[room];
        const size_t count = RecordCount(record.lights, size);
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* r = record.lights.bytes.data() + i * size;
            TRoomLight& light = lights.emplace_back();
            light.room = int(room);
            light.index = i;
            if (code <= 5) readClassic(r, code, light);
            else if (code == 6) readTr4(r, light);
            else readTr5(r, light);
            if (light.kind == TLightKind::Unknown)
                light.problem += std::string(light.problem.empty() ? "" : "; ") + "light type " +
                                 std::to_string(light.type) + " is not one its game knows";
        }
        // A fog bulb's record starts with its float position; the rest of it is not read here.
        const size_t bulbs = code == 7 ? RecordCount(record.fogBulbs, kFogBulbSize) : 0;
        for (size_t i = 0; i < bulbs; ++i) {
            TRoomLight& bulb = lights.emplace_back();
            bulb.room = int(room);
            bulb.index = count + i;
            bulb.kind = TLightKind::FogBulb;
            roundedPosition(record.fogBulbs.bytes.data() + i * kFogBulbSize, bulb);
        }
    }
    return lights;
}

}  // namespace grottix
