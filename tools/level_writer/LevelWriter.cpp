#include "level_writer/LevelWriter.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix::levelwriter {

namespace {

class Bytes {
public:
    template <typename T>
    void put(T value) {
        const auto* p = reinterpret_cast<const uint8_t*>(&value);
        data.insert(data.end(), p, p + sizeof(T));
    }
    void put(const std::vector<uint8_t>& bytes) { data.insert(data.end(), bytes.begin(), bytes.end()); }
    void zeros(size_t n) { data.insert(data.end(), n, 0); }
    template <typename T>
    void patch(size_t offset, T value) {
        std::memcpy(data.data() + offset, &value, sizeof(T));
    }
    size_t size() const { return data.size(); }
    // Notes that a section (or a room or tile in it) begins here.
    void mark(const char* name, int room = -1, int tile = -1) { marks.push_back({name, size(), SIZE_MAX, room, tile}); }
    std::vector<uint8_t> data;
    std::vector<SectionMark> marks;
};

uint32_t defaultWord(int code) {
    switch (code) {
        case 1: case 2: return 0x00000020;
        case 3: case 4: return 0x0000002D;
        case 5: return 0xFF180038;
        default: return 0x00345254;
    }
}

std::vector<uint8_t> tilePattern(size_t bytes, int seed) {
    std::vector<uint8_t> tiles(bytes);
    for (size_t i = 0; i < bytes; ++i) tiles[i] = uint8_t((i * 13 + i / 256 * 7 + size_t(seed)) & 0xFF);
    return tiles;
}

// uint32 count, then count elements of size bytes with the section's pattern.
void countedSection(Bytes& out, const char* name, int section, uint32_t count, size_t size) {
    out.mark(name);
    out.put<uint32_t>(count);
    out.put(PatternBytes(section, size_t(count) * size));
}

void chunk(Bytes& out, const std::vector<uint8_t>& content) {
    const auto packed = DeflateBytes(content, TCompressionLevel::clDefault);
    out.put<uint32_t>(uint32_t(content.size()));
    out.put<uint32_t>(uint32_t(packed.size()));
    out.put(packed);
}

void staticMeshes(Bytes& out, const std::vector<StaticMesh>& meshes, int code) {
    for (const auto& mesh : meshes) {
        out.put(mesh.x);
        out.put(mesh.y);
        out.put(mesh.z);
        out.put(mesh.rotation);
        out.put(mesh.intensity1);
        if (code >= 3) out.put(mesh.intensity2);
        out.put(mesh.meshId);
    }
}

void classicLight(Bytes& out, const Light& light, int code) {
    out.put(light.x);
    out.put(light.y);
    out.put(light.z);
    if (code <= 2) {
        out.put(uint16_t(light.intensity));
        out.put(light.fade);
        return;
    }
    if (code <= 4) {
        out.put(uint16_t(light.intensity));
        out.put(uint16_t(light.intensity2));
        out.put(light.fade);
        out.put(light.fade2);
        return;
    }
    for (auto c : light.colour) out.put(c);
    out.put(light.type);
    if (code == 5 && light.type == 0) {
        for (auto n : light.normal) out.put(n);
        out.zeros(2);
    } else if (code == 5) {
        out.put(light.intensity);
        out.put(int32_t(light.fade));
    } else {
        out.put<uint8_t>(0xFF);
        out.put(uint8_t(light.intensity));
        for (float value : {light.in, light.out, light.length, light.cutOff}) out.put(value);
        for (float d : light.direction) out.put(d);
    }
}

void layeredLight(Bytes& out, const Light& light) {
    const auto position = light.floatPosition ? *light.floatPosition
                                              : std::array<float, 3>{float(light.x), float(light.y), float(light.z)};
    for (float p : position) out.put(p);
    for (auto c : light.colour) out.put(float(c) / 255.0f);
    out.put<uint32_t>(0xCDCDCDCD);
    for (float value : {light.in, light.out, light.length, light.cutOff, float(light.fade)}) out.put(value);
    for (float d : light.direction) out.put(d);
    out.put(light.x);
    out.put(light.y);
    out.put(light.z);
    for (float d : light.direction) out.put(int32_t(d));
    out.put(light.type);
    out.put(std::vector<uint8_t>{0xCD, 0xCD, 0xCD});
}

// A room's light count and records: given ones in the code's layout, or the pattern.
void lights(Bytes& out, const Room& room, int code) {
    if (!room.lightList) {
        out.put(PatternBytes(kLights, size_t(room.lights) * (code <= 2 ? 18 : code <= 5 ? 24 : code == 6 ? 46 : 88)));
        return;
    }
    for (const auto& light : *room.lightList) {
        if (code == 7) layeredLight(out, light);
        else classicLight(out, light, code);
    }
}

uint16_t lightCount(const Room& room) { return room.lightList ? uint16_t(room.lightList->size()) : room.lights; }
uint32_t fogBulbCount(const Room& room) { return room.fogBulbList ? uint32_t(room.fogBulbList->size()) : room.fogBulbs; }

void portals(Bytes& out, const Room& room) {
    if (!room.portalList) {
        out.put<uint16_t>(room.portals);
        out.put(PatternBytes(kPortals, size_t(room.portals) * 32));
        return;
    }
    out.put<uint16_t>(uint16_t(room.portalList->size()));
    for (const auto& portal : *room.portalList) {
        out.put(portal.room);
        for (auto n : portal.normal) out.put(n);
        for (const auto& corner : portal.corners)
            for (auto c : corner) out.put(c);
    }
}

}  // namespace

std::vector<Sector> OpenSectors(const Room& room) {
    Sector open;
    open.floor = int8_t(room.yBottom / 256);
    open.ceiling = int8_t(room.yTop / 256);
    return std::vector<Sector>(size_t(room.xSectors) * room.zSectors, open);
}

namespace {

void sectors(Bytes& out, const Room& room) {
    const size_t count = size_t(room.zSectors) * room.xSectors;
    if (!room.sectorList) {
        out.put(PatternBytes(kSectors, count * 8));
        return;
    }
    if (room.sectorList->size() != count) throw std::logic_error("sector list does not match the room's grid");
    for (const auto& sector : *room.sectorList) {
        out.put(sector.floorDataIndex);
        out.put(sector.box);
        out.put(sector.roomBelow);
        out.put(sector.floor);
        out.put(sector.roomAbove);
        out.put(sector.ceiling);
    }
}

void classicRoom(Bytes& out, const Room& room, int code) {
    out.put(room.x);
    out.put(room.z);
    out.put(room.yBottom);
    out.put(room.yTop);
    out.put<uint32_t>(0);  // data word count
    out.put<uint16_t>(uint16_t(room.vertices.size()));
    for (const auto& v : room.vertices) {
        out.put(v.x);
        out.put(v.y);
        out.put(v.z);
        out.put(v.lighting);
        if (code >= 3) {
            out.put(v.attributes);
            out.put(v.colour);
        }
    }
    out.put<uint16_t>(uint16_t(room.rectangles.size()));
    for (const auto& r : room.rectangles) {
        for (auto index : r.vertices) out.put(index);
        out.put(r.texture);
    }
    out.put<uint16_t>(uint16_t(room.triangles.size()));
    for (const auto& t : room.triangles) {
        for (auto index : t.vertices) out.put(index);
        out.put(t.texture);
    }
    out.put<uint16_t>(uint16_t(room.sprites.size()));
    for (const auto& s : room.sprites) {
        out.put(s.vertex);
        out.put(s.texture);
    }
    portals(out, room);
    out.put(room.zSectors);
    out.put(room.xSectors);
    sectors(out, room);
    out.zeros(code <= 2 ? 2 : code <= 4 ? 6 : 4);  // ambient
    out.put<uint16_t>(lightCount(room));
    lights(out, room, code);
    out.put<uint16_t>(uint16_t(room.staticMeshes.size()));
    staticMeshes(out, room.staticMeshes, code);
    out.put(room.alternateRoom);
    out.put(room.flags);
    if (code >= 5) {
        out.zeros(2);  // water scheme, reverb
        out.put(room.alternateGroup);
    }
}

void layeredRoom(Bytes& out, const Room& room) {
    Bytes r;
    r.put<uint32_t>(0x414C4558);  // room marker
    r.put<uint32_t>(0);           // data size, patched below
    r.zeros(4);
    r.zeros(16);                  // extra values 1-4
    r.put(room.x);
    r.zeros(4);
    r.put(room.z);
    r.put(room.yBottom);
    r.put(room.yTop);
    r.put(room.zSectors);
    r.put(room.xSectors);
    r.put<uint32_t>(0x00404040);  // room colour
    r.put<uint16_t>(lightCount(room));
    r.put<uint16_t>(uint16_t(room.staticMeshes.size()));
    r.zeros(12 + 14 + 2 + 2 + 14 + 16 + 16 + 4 + 4 + 20);
    r.put<uint32_t>(fogBulbCount(room));
    r.zeros(8);
    r.put<uint32_t>(uint32_t(room.layers.size()));
    r.zeros(20 + 16);
    if (r.size() != 216) throw std::logic_error("layered room header is not 216 bytes");
    r.patch<uint8_t>(61, room.alternateGroup);
    r.patch<int16_t>(84, room.alternateRoom);
    r.patch<uint16_t>(86, room.flags);
    lights(r, room, 7);
    if (room.fogBulbList) {
        for (const auto& bulb : *room.fogBulbList)
            for (float value : bulb) r.put(value);
    } else {
        r.put(PatternBytes(kFogBulbs, size_t(room.fogBulbs) * 36));
    }
    sectors(r, room);
    portals(r, room);
    r.zeros(2);
    staticMeshes(r, room.staticMeshes, 7);
    size_t triangles = 0;
    for (const auto& layer : room.layers) {
        r.put<uint32_t>(uint32_t(layer.vertices.size()));
        r.put<uint16_t>(0);
        r.put<uint16_t>(uint16_t(layer.rectangles.size()));
        r.put<uint16_t>(uint16_t(layer.triangles.size()));
        r.zeros(46);
        triangles += layer.triangles.size();
    }
    for (const auto& layer : room.layers) {
        for (const auto& face : layer.rectangles) {
            for (auto index : face.vertices) r.put(index);
            r.put(face.texture);
            r.put<uint16_t>(0);
        }
        for (const auto& face : layer.triangles) {
            for (auto index : face.vertices) r.put(index);
            r.put(face.texture);
            r.put<uint16_t>(0);
        }
    }
    if (triangles % 2) r.zeros(2);
    for (const auto& layer : room.layers)
        for (const auto& v : layer.vertices) {
            r.put(v.x);
            r.put(v.y);
            r.put(v.z);
            r.zeros(12);
            r.put(v.blue);
            r.put(v.green);
            r.put(v.red);
            r.put(v.alpha);
        }
    r.zeros(room.trailingBytes);
    r.patch<uint32_t>(4, room.dataSize ? *room.dataSize : uint32_t(r.size() - 8));
    out.put(r.data);
}

void objectTextures(Bytes& out, const std::vector<ObjectTexture>& textures, int code) {
    out.mark("object textures");
    out.put<uint32_t>(uint32_t(textures.size()));
    for (const auto& t : textures) {
        out.put(t.attribute);
        out.put(t.tile);
        if (code >= 6) out.put<uint16_t>(0);
        for (int c = 0; c < 4; ++c) {
            out.put<uint8_t>(0);
            out.put(t.u[size_t(c)]);
            out.put<uint8_t>(0);
            out.put(t.v[size_t(c)]);
        }
        if (code >= 6) out.zeros(16);
        if (code == 7) out.zeros(2);
    }
}

// A counted section of given values, or the pattern when none are given.
template <typename T>
void valuesOrPattern(Bytes& out, const char* name, const std::optional<std::vector<T>>& values, int section,
                     uint32_t count) {
    if (!values) {
        countedSection(out, name, section, count, sizeof(T));
        return;
    }
    out.mark(name);
    out.put<uint32_t>(uint32_t(values->size()));
    for (const T& value : *values) out.put(value);
}

// A counted section of given fixed-size records of words, or the pattern when none are given.
template <typename T, size_t N>
void recordsOrPattern(Bytes& out, const char* name, const std::optional<std::vector<std::array<T, N>>>& records, int section,
                      uint32_t count) {
    if (!records) {
        countedSection(out, name, section, count, sizeof(T) * N);
        return;
    }
    out.mark(name);
    out.put<uint32_t>(uint32_t(records->size()));
    for (const auto& record : *records)
        for (const T& value : record) out.put(value);
}

void animations(Bytes& out, const LevelDescription& level) {
    const size_t size = level.code >= 6 ? 40 : 32;
    if (level.animationList) {
        out.mark("animations");
        out.put<uint32_t>(uint32_t(level.animationList->size()));
        for (const Animation& a : *level.animationList) {
            out.put(a.frameOffset);
            out.put(a.frameRate);
            out.put(a.frameSize);
            out.put(a.state);
            out.put(a.speed);
            out.put(a.acceleration);
            if (level.code >= 6) {
                out.put(a.lateralSpeed);
                out.put(a.lateralAcceleration);
            }
            for (uint16_t word : {a.frameStart, a.frameEnd, a.nextAnimation, a.nextFrame, a.stateChangeCount,
                                  a.firstStateChange, a.commandCount, a.firstCommand})
                out.put(word);
        }
        return;
    }
    if (!level.animationFrameOffsets) {
        countedSection(out, "animations", kAnimations, level.counts.animations, size);
        return;
    }
    out.mark("animations");
    out.put<uint32_t>(uint32_t(level.animationFrameOffsets->size()));
    for (uint32_t offset : *level.animationFrameOffsets) {
        out.put(offset);
        out.zeros(size - 4);
    }
}

void moveables(Bytes& out, const LevelDescription& level) {
    if (!level.moveables) {
        countedSection(out, "moveables", kMoveables, level.counts.moveables, level.code == 7 ? 20 : 18);
        return;
    }
    out.mark("moveables");
    out.put<uint32_t>(uint32_t(level.moveables->size()));
    for (const auto& m : *level.moveables) {
        out.put(m.objectId);
        out.put(m.meshCount);
        out.put(m.firstMesh);
        out.put(m.meshTree);
        out.put(m.frameOffset);
        out.put(m.animation);
        if (level.code == 7) out.zeros(2);
    }
}

void spriteSequences(Bytes& out, const LevelDescription& level) {
    if (!level.spriteSequences) {
        countedSection(out, "sprite sequences", kSpriteSequences, level.counts.spriteSequences, 8);
        return;
    }
    out.mark("sprite sequences");
    out.put<uint32_t>(uint32_t(level.spriteSequences->size()));
    for (const auto& q : *level.spriteSequences) {
        out.put(q.objectId);
        out.put<int16_t>(int16_t(-q.count));
        out.put(q.first);
    }
}

void entities(Bytes& out, const LevelDescription& level) {
    if (!level.entities) {
        countedSection(out, "entities", kEntities, level.counts.entities, level.code <= 2 ? 22 : 24);
        return;
    }
    out.mark("entities");
    out.put<uint32_t>(uint32_t(level.entities->size()));
    for (const auto& e : *level.entities) {
        out.put(e.type);
        out.put(e.room);
        out.put(e.x);
        out.put(e.y);
        out.put(e.z);
        out.put(e.angle);
        out.put(e.intensity);
        if (level.code >= 3) out.put(e.extra);
        out.put(e.flags);
    }
}

void spriteTextures(Bytes& out, const LevelDescription& level) {
    if (!level.spriteTextures) {
        countedSection(out, "sprite textures", kSpriteTextures, level.counts.spriteTextures, 16);
        return;
    }
    out.mark("sprite textures");
    out.put<uint32_t>(uint32_t(level.spriteTextures->size()));
    for (const auto& t : *level.spriteTextures) {
        out.put(t.tile);
        out.put(t.x);
        out.put(t.y);
        out.put(t.width);
        out.put(t.height);
        out.put(t.left);
        out.put(t.top);
        out.put(t.right);
        out.put(t.bottom);
    }
}

void cameras(Bytes& out, const LevelDescription& level) {
    if (!level.cameras) {
        countedSection(out, "cameras", kCameras, level.counts.cameras, 16);
        return;
    }
    out.mark("cameras");
    out.put<uint32_t>(uint32_t(level.cameras->size()));
    for (const auto& c : *level.cameras) {
        out.put(c.x);
        out.put(c.y);
        out.put(c.z);
        out.put(c.room);
        out.put(c.flags);
    }
}

void flybyCameras(Bytes& out, const LevelDescription& level) {
    if (!level.flybyCameras) {
        countedSection(out, "flyby cameras", kFlybyCameras, level.counts.flybyCameras, 40);
        return;
    }
    out.mark("flyby cameras");
    out.put<uint32_t>(uint32_t(level.flybyCameras->size()));
    for (const auto& c : *level.flybyCameras) {
        out.put(c.x);
        out.put(c.y);
        out.put(c.z);
        for (auto v : c.lookAt) out.put(v);
        out.put(c.sequence);
        out.put(c.number);
        out.put(c.fov);
        out.put(c.roll);
        out.put(c.timer);
        out.put(c.speed);
        out.put(c.flags);
        out.put(c.room);
    }
}

void soundSources(Bytes& out, const LevelDescription& level) {
    if (!level.soundSources) {
        countedSection(out, "sound sources", kSoundSources, level.counts.soundSources, 16);
        return;
    }
    out.mark("sound sources");
    out.put<uint32_t>(uint32_t(level.soundSources->size()));
    for (const auto& s : *level.soundSources) {
        out.put(s.x);
        out.put(s.y);
        out.put(s.z);
        out.put(s.sound);
        out.put(s.flags);
    }
}

void soundMap(Bytes& out, const LevelDescription& level) {
    out.mark("sound map");
    const size_t entries = level.code <= 2 ? 256 : level.code <= 6 ? 370 : 450;
    if (!level.soundMap) {
        out.put(PatternBytes(kSoundMap, entries * 2));
        return;
    }
    if (level.soundMap->size() > entries) throw std::logic_error("sound map longer than the code's");
    for (size_t i = 0; i < entries; ++i) out.put<int16_t>(i < level.soundMap->size() ? (*level.soundMap)[i] : int16_t(-1));
}

// Everything from the room count to the sample indices.
void levelData(Bytes& out, const LevelDescription& level) {
    const int code = level.code;
    const Counts& n = level.counts;
    out.mark("room count");
    if (code == 7) {
        out.zeros(4);
        out.put<uint32_t>(uint32_t(level.rooms.size()));
    } else {
        out.zeros(4);
        out.put<uint16_t>(uint16_t(level.rooms.size()));
    }
    for (size_t i = 0; i < level.rooms.size(); ++i) {
        out.mark("rooms", int(i));
        if (code == 7) layeredRoom(out, level.rooms[i]);
        else classicRoom(out, level.rooms[i], code);
    }
    if (level.floorData) {
        out.mark("floor data");
        out.put<uint32_t>(uint32_t(level.floorData->size()));
        for (auto word : *level.floorData) out.put(word);
    } else {
        countedSection(out, "floor data", kFloorData, n.floorData, 2);
    }
    out.mark("mesh data");
    out.put<uint32_t>(uint32_t(level.meshData.size()));
    for (auto word : level.meshData) out.put(word);
    out.mark("mesh pointers");
    out.put<uint32_t>(uint32_t(level.meshPointers.size()));
    for (auto pointer : level.meshPointers) out.put(pointer);
    animations(out, level);
    recordsOrPattern(out, "state changes", level.stateChanges, kStateChanges, n.stateChanges);
    recordsOrPattern(out, "animation dispatches", level.animDispatches, kAnimDispatches, n.animDispatches);
    valuesOrPattern(out, "animation commands", level.animCommands, kAnimCommands, n.animCommands);
    valuesOrPattern(out, "mesh trees", level.meshTrees, kMeshTrees, n.meshTrees);
    valuesOrPattern(out, "frames", level.frames, kFrames, n.frames);
    moveables(out, level);
    out.mark("static mesh definitions");
    out.put<uint32_t>(uint32_t(level.staticMeshDefinitions.size()));
    for (const auto& d : level.staticMeshDefinitions) {
        out.put(d.objectId);
        out.put(d.meshIndex);
        for (const int16_t word : d.visibilityBox) out.put(word);
        out.zeros(14);
    }
    if (code <= 4) objectTextures(out, level.objectTextures, code);
    if (code >= 6) out.mark("sprite marker");
    if (code == 6) out.put(std::vector<uint8_t>{'S', 'P', 'R'});
    if (code == 7) out.put(std::vector<uint8_t>{'S', 'P', 'R', 0});
    spriteTextures(out, level);
    spriteSequences(out, level);
    if (code == 2) {
        out.mark("palette");
        out.put(std::vector<uint8_t>(level.palette8.begin(), level.palette8.end()));
    }
    cameras(out, level);
    if (code >= 6) flybyCameras(out, level);
    soundSources(out, level);
    countedSection(out, "boxes", kBoxes, n.boxes, code <= 2 ? 20 : 8);
    countedSection(out, "overlaps", kOverlaps, n.overlaps, 2);
    out.mark("zones");
    out.put(PatternBytes(kZones, size_t(code <= 2 ? 6 : 10) * n.boxes * 2));
    valuesOrPattern(out, "animated textures", level.animatedTextures, kAnimatedTextures, n.animatedTextures);
    if (code >= 6) out.mark("texture marker");
    if (code == 6) out.put(std::vector<uint8_t>{'T', 'E', 'X', 0});
    if (code == 7) out.put(std::vector<uint8_t>{0, 'T', 'E', 'X', 0});
    if (code >= 5) objectTextures(out, level.objectTextures, code);
    entities(out, level);
    if (level.afterEntities) {
        out.put(*level.afterEntities);
        return;
    }
    if (code <= 5) {
        out.mark("light map");
        out.put(PatternBytes(kLightMap, 8192));
    }
    if (code == 1) {
        out.mark("palette");
        out.put(std::vector<uint8_t>(level.palette8.begin(), level.palette8.end()));
    }
    if (code >= 6) {
        countedSection(out, "AI objects", kAIObjects, n.aiObjects, 24);
    } else {
        out.mark("cinematic frames");
        out.put<uint16_t>(n.cinematicFrames);
        out.put(PatternBytes(41, size_t(n.cinematicFrames) * 16));
    }
    out.mark("demo data");
    out.put<uint16_t>(n.demoData);
    out.put(PatternBytes(kDemoData, n.demoData));
    soundMap(out, level);
    countedSection(out, "sound details", kSoundDetails, n.soundDetails, 8);
    if (code <= 2) countedSection(out, "samples", kSamples, n.sampleBytes, 1);
    countedSection(out, "sample indices", kSampleIndices, n.sampleIndices, 4);
}

std::vector<uint8_t> tiles(const std::vector<uint8_t>& given, size_t bytes, int seed) {
    if (given.empty()) return tilePattern(bytes, seed);
    if (given.size() != bytes) throw std::invalid_argument("tile block does not match the tile count");
    return given;
}

// A block of tiles stored plainly, with a mark where each tile begins.
void plainTiles(Bytes& out, const char* name, const std::vector<uint8_t>& block, size_t tileBytes) {
    out.mark(name);
    for (size_t k = 0; k * tileBytes < block.size(); ++k) {
        out.mark(name, -1, int(k + 1));
        out.data.insert(out.data.end(), block.begin() + long(k * tileBytes), block.begin() + long((k + 1) * tileBytes));
    }
}

}  // namespace

uint8_t PatternByte(int section, size_t offset) { return uint8_t((size_t(section) * 31 + offset * 7 + offset / 251) & 0xFF); }

std::vector<uint8_t> PatternBytes(int section, size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = PatternByte(section, i);
    return bytes;
}

std::vector<uint8_t> SampleTail(const std::vector<std::vector<uint8_t>>& samples) {
    Bytes out;
    out.put<uint32_t>(uint32_t(samples.size()));
    for (const auto& sample : samples) {
        out.put<uint32_t>(uint32_t(sample.size() * 4));  // as if unpacked from 4-bit ADPCM
        out.put<uint32_t>(uint32_t(sample.size()));
        out.put(sample);
    }
    return std::move(out.data);
}

std::vector<uint8_t> DefaultSampleTail() { return SampleTail({PatternBytes(kSamples, 16)}); }

std::vector<uint8_t> WriteLevel(const LevelDescription& level) {
    std::vector<SectionMark> marks;
    return WriteLevel(level, marks);
}

std::vector<uint8_t> WriteLevel(const LevelDescription& level, std::vector<SectionMark>& marks) {
    const int code = level.code;
    const size_t n = size_t(level.tileCount);
    Bytes out;
    out.mark("version word");
    out.put<uint32_t>(level.versionWord ? level.versionWord : defaultWord(code));
    if (code >= 6) {
        out.mark("texture tile counts");
        out.put<uint16_t>(uint16_t(level.tileCount));
        out.put<uint16_t>(0);
        out.put<uint16_t>(0);
        out.mark("32-bit texture tiles");
        chunk(out, level.tiles32.empty() ? PatternBytes(kTiles32, n * 262144) : tiles(level.tiles32, n * 262144, 3));
        out.mark("16-bit texture tiles");
        chunk(out, tiles(level.tiles16, n * 131072, 2));
        out.mark("miscellaneous textures");
        chunk(out, PatternBytes(kMisc, 2 * 262144));
    } else {
        if (code >= 3) {
            out.mark("palettes");
            out.put(std::vector<uint8_t>(level.palette8.begin(), level.palette8.end()));
            out.zeros(1024);
        }
        out.mark("texture tile count");
        out.put<uint32_t>(uint32_t(n));
        plainTiles(out, "8-bit texture tiles", tiles(level.tiles8, n * 65536, 1), 65536);
        if (code >= 3) plainTiles(out, "16-bit texture tiles", tiles(level.tiles16, n * 131072, 2), 131072);
    }
    Bytes data;
    levelData(data, level);
    if (level.levelDataLength && code >= 6) data.data.resize(std::min(data.size(), *level.levelDataLength));
    const size_t dataStart = out.size() + (code == 7 ? 40 : 0);
    size_t sampleTailStart = 0;
    if (code == 6) {
        out.mark("level data chunk");
        chunk(out, data.data);
        sampleTailStart = out.size();
        out.put(level.sampleTail);
    } else if (code == 7) {
        out.mark("level data header");
        out.zeros(32);
        out.put<uint32_t>(uint32_t(data.size()));
        out.put<uint32_t>(uint32_t(data.size()));
        out.put(data.data);
        sampleTailStart = out.size();
        out.put(level.sampleTail);
    } else {
        out.put(data.data);
    }
    // Code 6 packs its level data, so marks inside it count in the level data alone.
    for (SectionMark mark : data.marks) {
        if (code >= 6) mark.levelDataOffset = mark.offset;
        if (code != 6) mark.offset += dataStart;
        out.marks.push_back(mark);
    }
    if (code >= 6) out.marks.push_back({"samples", sampleTailStart, SIZE_MAX, -1, -1});
    marks = std::move(out.marks);
    if (!level.zlibWrapped) return std::move(out.data);
    Bytes wrapped;
    const auto packed = DeflateBytes(out.data, TCompressionLevel::clDefault);
    wrapped.put(std::vector<uint8_t>{'Z', 'L', 'I', 'B'});
    wrapped.put<uint32_t>(uint32_t(packed.size()));
    wrapped.put<uint32_t>(uint32_t(out.size()));
    wrapped.put(packed);
    return std::move(wrapped.data);
}

void WriteLevelFile(const LevelDescription& level, const std::string& path) {
    const auto bytes = WriteLevel(level);
    WriteFileAtomically(path, bytes.data(), bytes.size());
}

std::vector<uint16_t> FrameWords(int code, std::array<int16_t, 3> offset, const std::vector<FrameRotation>& rotations,
                                 std::array<int16_t, 6> box) {
    std::vector<uint16_t> words;
    for (int16_t c : box) words.push_back(uint16_t(c));
    for (int16_t c : offset) words.push_back(uint16_t(c));
    if (code <= 2) words.push_back(uint16_t(rotations.size()));
    for (const FrameRotation& r : rotations) {
        if (r.axis != 0) {
            words.push_back(uint16_t(r.axis << 14 | (r.axis == 1 ? r.x : r.axis == 2 ? r.y : r.z)));
            continue;
        }
        const uint32_t packed = uint32_t(r.x & 0x3FF) << 20 | uint32_t(r.y & 0x3FF) << 10 | (r.z & 0x3FF);
        const uint16_t high = uint16_t(packed >> 16), low = uint16_t(packed);
        words.push_back(code <= 2 ? low : high);
        words.push_back(code <= 2 ? high : low);
    }
    return words;
}

}  // namespace grottix::levelwriter
