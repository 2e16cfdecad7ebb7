// The room, flip-map and texture parts of DiffLevels.

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "level/LevelDiff.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

template <typename T>
bool sameRecords(const std::vector<T>& a, const std::vector<T>& b, size_t bytesEach = sizeof(T)) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * bytesEach) == 0);
}

bool sameTable(const TLevelTable& a, const TLevelTable& b) { return a.count == b.count && a.bytes == b.bytes; }

bool sameStatics(const std::vector<TRoomStaticMesh>& a, const std::vector<TRoomStaticMesh>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const TRoomStaticMesh& p, const TRoomStaticMesh& q) {
        return p.x == q.x && p.y == q.y && p.z == q.z && p.rotation == q.rotation && p.meshId == q.meshId &&
               p.intensity1 == q.intensity1 && p.intensity2 == q.intensity2;
    });
}

std::string faceCounts(const TRoomRecord& room) {
    return std::to_string(room.vertices.size()) + " vertices, " + std::to_string(room.rectangles.size()) + " rectangles, " +
           std::to_string(room.triangles.size()) + " triangles, " + std::to_string(room.sprites.size()) + " sprites";
}

bool sameGeometry(const TRoomRecord& a, const TRoomRecord& b) {
    const auto sameVertex = [](const TRoomVertex& p, const TRoomVertex& q) {
        return p.x == q.x && p.y == q.y && p.z == q.z && p.lighting == q.lighting && p.attributes == q.attributes && p.colour == q.colour;
    };
    return a.x == b.x && a.z == b.z && a.yTop == b.yTop && a.yBottom == b.yBottom &&
           std::equal(a.vertices.begin(), a.vertices.end(), b.vertices.begin(), b.vertices.end(), sameVertex) &&
           sameRecords(a.rectangles, b.rectangles) && sameRecords(a.triangles, b.triangles) && sameRecords(a.sprites, b.sprites) &&
           sameTable(a.portals, b.portals);
}

TLevelDifference roomDifference(std::string change, std::string message, size_t room) {
    TLevelDifference d;
    d.section = TDiffSection::Rooms;
    d.change = std::move(change);
    d.message = "room " + std::to_string(room) + ": " + std::move(message);
    d.room = int(room);
    return d;
}

void diffRoom(size_t r, const TRoomRecord& was, const TRoomRecord& is, std::vector<TLevelDifference>& out) {
    if (!sameGeometry(was, is)) out.push_back(roomDifference("geometry", "geometry changed: " + faceCounts(was) + " -> " + faceCounts(is), r));
    if (was.xSectors != is.xSectors || was.zSectors != is.zSectors || !sameTable(was.sectors, is.sectors))
        out.push_back(roomDifference("sectors", "squares changed: " + std::to_string(was.xSectors) + " x " + std::to_string(was.zSectors) +
                                                    " -> " + std::to_string(is.xSectors) + " x " + std::to_string(is.zSectors), r));
    if (!sameTable(was.lights, is.lights) || !sameTable(was.fogBulbs, is.fogBulbs) || was.ambient != is.ambient)
        out.push_back(roomDifference("lights", "lights changed: " + std::to_string(was.lights.count) + " -> " + std::to_string(is.lights.count), r));
    if (!sameStatics(was.staticMeshes, is.staticMeshes))
        out.push_back(roomDifference("statics", "static meshes changed: " + std::to_string(was.staticMeshes.size()) + " -> " +
                                                    std::to_string(is.staticMeshes.size()), r));
    if (was.flags != is.flags || was.waterScheme != is.waterScheme || was.reverb != is.reverb)
        out.push_back(roomDifference("flags", "flags changed", r));
}

}  // namespace

void DiffRooms(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out) {
    const size_t common = std::min(a.Rooms.size(), b.Rooms.size());
    for (size_t r = 0; r < common; ++r) diffRoom(r, a.Rooms[r], b.Rooms[r], out);
    for (size_t r = common; r < b.Rooms.size(); ++r) out.push_back(roomDifference("added", "added: " + faceCounts(b.Rooms[r]), r));
    for (size_t r = common; r < a.Rooms.size(); ++r) out.push_back(roomDifference("removed", "removed", r));
}

void DiffFlipMaps(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out) {
    const size_t common = std::min(a.Rooms.size(), b.Rooms.size());
    for (size_t r = 0; r < common; ++r) {
        const TRoomRecord &was = a.Rooms[r], &is = b.Rooms[r];
        const int groupWas = a.VersionCode >= 6 ? was.alternateGroup : 0, groupIs = b.VersionCode >= 6 ? is.alternateGroup : 0;
        if (was.alternateRoom == is.alternateRoom && groupWas == groupIs) continue;
        TLevelDifference d;
        d.section = TDiffSection::FlipMaps;
        d.change = "changed";
        d.room = int(r);
        d.message = "room " + std::to_string(r) + ": alternate " + std::to_string(was.alternateRoom) + " (group " +
                    std::to_string(groupWas) + ") -> " + std::to_string(is.alternateRoom) + " (group " + std::to_string(groupIs) + ")";
        out.push_back(std::move(d));
    }
}

namespace {

TLevelDifference textureDifference(std::string change, std::string message, std::optional<int> tile = {}) {
    TLevelDifference d;
    d.section = TDiffSection::Textures;
    d.change = std::move(change);
    d.message = std::move(message);
    d.index = tile;
    return d;
}

void diffTiles(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out) {
    const int tilesA = a.TilesHeld(), tilesB = b.TilesHeld();
    std::vector<uint32_t> texelsA(256 * 256), texelsB(256 * 256);
    for (int k = 1; k <= std::min(tilesA, tilesB); ++k) {
        a.TileTexels(k, texelsA.data());
        b.TileTexels(k, texelsB.data());
        if (texelsA != texelsB) out.push_back(textureDifference("tile", "tile " + std::to_string(k) + ": pixels changed", k));
    }
    for (int k = tilesA + 1; k <= tilesB; ++k) out.push_back(textureDifference("added", "tile " + std::to_string(k) + ": added", k));
    for (int k = tilesB + 1; k <= tilesA; ++k) out.push_back(textureDifference("removed", "tile " + std::to_string(k) + ": removed", k));
}

// One line for a table of records: how many of the records both hold differ (the first named), and
// how its size changed.
void diffRecordTable(const char* change, const char* name, size_t countA, size_t countB,
                     const std::function<bool(size_t)>& same, std::vector<TLevelDifference>& out) {
    size_t changed = 0, first = 0;
    for (size_t i = 0; i < std::min(countA, countB); ++i)
        if (!same(i) && changed++ == 0) first = i;
    if (!changed && countA == countB) return;
    std::string message = std::string(name) + ": " + std::to_string(countA) + " -> " + std::to_string(countB);
    if (changed) message += ", " + std::to_string(changed) + " changed (the first: " + std::to_string(first) + ")";
    out.push_back(textureDifference(change, message));
}

size_t recordSize(const TLevelTable& table) { return table.count ? table.bytes.size() / table.count : 0; }

}  // namespace

void DiffTextures(const TTombRaiderLevel& a, const TTombRaiderLevel& b, std::vector<TLevelDifference>& out) {
    diffTiles(a, b, out);
    diffRecordTable("object_textures", "object textures", a.ObjectTextures.size(), b.ObjectTextures.size(), [&](size_t i) {
        const TObjectTexture &p = a.ObjectTextures[i], &q = b.ObjectTextures[i];
        return p.attribute == q.attribute && p.tile == q.tile && p.flags == q.flags &&
               std::memcmp(p.corners.data(), q.corners.data(), sizeof p.corners) == 0;
    }, out);
    const size_t sizeA = recordSize(a.SpriteTextures), sizeB = recordSize(b.SpriteTextures);
    diffRecordTable("sprite_textures", "sprite textures", a.SpriteTextures.count, b.SpriteTextures.count, [&](size_t i) {
        return sizeA == sizeB && (sizeA == 0 || std::memcmp(a.SpriteTextures.bytes.data() + i * sizeA,
                                                            b.SpriteTextures.bytes.data() + i * sizeB, sizeA) == 0);
    }, out);
}

}  // namespace grottix
