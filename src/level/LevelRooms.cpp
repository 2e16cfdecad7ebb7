// Rooms of a level: the classic layout (codes 1-6) and the layered layout of code 7, whose layers
// are merged into one vertex table keyed by rounded position.

#include <cmath>
#include <unordered_map>

#include "level/FileBuffer.h"
#include "level/LevelLimits.h"
#include "level/RawRecords.h"
#include "level/SectionReader.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

using level::ELevelFault;
using level::read;
using level::readRecords;
using level::readTable;
using level::SpanCursor;

namespace {

// Static meshes: 18 bytes (codes 1-2) or 20 bytes with one more unused word (codes 3 and up).
std::vector<TRoomStaticMesh> readStaticMeshes(TFileBuffer& buffer, uint64_t count, int code) {
    SpanCursor in(buffer.Take(count * (code <= 2 ? 18 : 20)));
    std::vector<TRoomStaticMesh> meshes(static_cast<size_t>(count));
    for (auto& mesh : meshes) {
        mesh.x = in.next<int32_t>();
        mesh.y = in.next<int32_t>();
        mesh.z = in.next<int32_t>();
        mesh.rotation = in.next<uint16_t>();
        mesh.intensity1 = in.next<uint16_t>();
        if (code >= 3) mesh.intensity2 = in.next<uint16_t>();
        mesh.meshId = in.next<uint16_t>();
    }
    return meshes;
}

[[noreturn]] void tooManyFaces(uint64_t faces, uint64_t offset) {
    throw ELevelFault(TLevelProblem::TooLarge, offset,
                      "a room of " + std::to_string(faces) + " faces, more than the " + std::to_string(kMaxRoomFaces) +
                          " this program reads");
}

std::vector<TRoomVertex> readClassicVertices(TFileBuffer& buffer, int code) {
    const auto count = read<uint16_t>(buffer);
    if (code >= 3) return readRecords<TRoomVertex>(buffer, count);
    struct ShortVertex {
        int16_t x, y, z, lighting;
    };
    const auto shortForm = readRecords<ShortVertex>(buffer, count);
    std::vector<TRoomVertex> vertices(shortForm.size());
    for (size_t i = 0; i < shortForm.size(); ++i)
        vertices[i] = {shortForm[i].x, shortForm[i].y, shortForm[i].z, shortForm[i].lighting, 16, 0x3DEF};
    return vertices;
}

void readClassicRoom(TFileBuffer& buffer, TRoomRecord& room, int code) {
    room.x = read<int32_t>(buffer);
    room.z = read<int32_t>(buffer);
    room.yBottom = read<int32_t>(buffer);
    room.yTop = read<int32_t>(buffer);
    room.dataWordCount = read<uint32_t>(buffer);
    room.vertices = readClassicVertices(buffer, code);
    room.rectangles = readRecords<TRoomRectangle>(buffer, read<uint16_t>(buffer));
    const auto triangles = read<uint16_t>(buffer);
    if (room.rectangles.size() + triangles > kMaxRoomFaces) tooManyFaces(room.rectangles.size() + triangles, buffer.Position());
    room.triangles = readRecords<TRoomTriangle>(buffer, triangles);
    room.sprites = readRecords<TRoomSprite>(buffer, read<uint16_t>(buffer));
    room.portals = readTable(buffer, read<uint16_t>(buffer), 32);
    room.zSectors = read<uint16_t>(buffer);
    room.xSectors = read<uint16_t>(buffer);
    room.sectors = readTable(buffer, uint64_t(room.zSectors) * room.xSectors, 8);
    buffer.ReadAll(room.ambient.data(), code <= 2 ? 2 : code <= 4 ? 6 : 4);
    room.lights = readTable(buffer, read<uint16_t>(buffer), code <= 2 ? 18 : code <= 5 ? 24 : 46);
    room.staticMeshes = readStaticMeshes(buffer, read<uint16_t>(buffer), code);
    room.alternateRoom = read<int16_t>(buffer);
    buffer.ReadAll(room.flags.data(), 2);
    if (code >= 5) {
        room.waterScheme = read<uint8_t>(buffer);
        room.reverb = read<uint8_t>(buffer);
        room.alternateGroup = read<uint8_t>(buffer);
    }
}

// ---- layered rooms (code 7) ----

struct LayerFaces {
    std::vector<std::array<uint16_t, 6>> rectangles;  // 4 indices, texture, stored word
    std::vector<std::array<uint16_t, 5>> triangles;   // 3 indices, texture, stored word
    std::vector<std::array<uint8_t, 28>> vertices;
};

// The header from offset 12 on (the data size at offset 4 is read first).
void readLayeredHeader(TFileBuffer& buffer, size_t start, TRoomRecord& room, uint16_t& lightCount, uint16_t& staticCount,
                       uint32_t& fogCount) {
    const auto at = [&](size_t offset) { buffer.MoveTo(start + offset); };
    auto& extra = room.extraHeader;
    at(12);
    for (int i = 0; i < 4; ++i) extra[size_t(i)] = read<uint32_t>(buffer);
    room.x = read<int32_t>(buffer);
    extra[4] = read<uint32_t>(buffer);
    room.z = read<int32_t>(buffer);
    room.yBottom = read<int32_t>(buffer);
    room.yTop = read<int32_t>(buffer);
    room.zSectors = read<uint16_t>(buffer);
    room.xSectors = read<uint16_t>(buffer);
    extra[5] = read<uint32_t>(buffer);
    lightCount = read<uint16_t>(buffer);
    staticCount = read<uint16_t>(buffer);
    for (int i = 6; i < 9; ++i) extra[size_t(i)] = read<uint32_t>(buffer);
    // Inside the first of those values: reverb (60), alternate group (61), water scheme (62).
    room.reverb = uint8_t(extra[6]);
    room.alternateGroup = uint8_t(extra[6] >> 8);
    room.waterScheme = uint8_t(extra[6] >> 16);
    at(84);
    room.alternateRoom = read<int16_t>(buffer);
    buffer.ReadAll(room.flags.data(), 2);
    buffer.ReadAll(room.extra.data(), 2);
    at(104);
    for (int i = 9; i < 13; ++i) extra[size_t(i)] = read<uint32_t>(buffer);
    at(136);
    extra[13] = read<uint32_t>(buffer);
    at(144);
    for (int i = 14; i < 19; ++i) extra[size_t(i)] = read<uint32_t>(buffer);
    fogCount = read<uint32_t>(buffer);
    for (int i = 19; i < 21; ++i) extra[size_t(i)] = read<uint32_t>(buffer);
    room.layerCount = read<uint32_t>(buffer);
    for (int i = 21; i < 26; ++i) extra[size_t(i)] = read<uint32_t>(buffer);
    at(216);
}

// Rounds a layer coordinate to the int16 key of a room vertex; values beyond int16 saturate.
int16_t roundedKey(float value) {
    if (!(value == value)) return 0;
    const float rounded = std::nearbyint(value);
    return int16_t(std::fmax(-32768.0f, std::fmin(32767.0f, rounded)));
}

void mergeLayers(TRoomRecord& room, const std::vector<LayerFaces>& layers) {
    std::unordered_map<uint64_t, uint16_t> indexOfKey;
    std::vector<std::vector<uint32_t>> roomIndex(layers.size());
    for (size_t l = 0; l < layers.size(); ++l) {
        for (const auto& source : layers[l].vertices) {
            float position[3];
            std::memcpy(position, source.data(), 12);
            const int16_t x = roundedKey(position[0]), y = roundedKey(position[1]), z = roundedKey(position[2]);
            const uint64_t key = uint64_t(uint16_t(x)) | uint64_t(uint16_t(y)) << 16 | uint64_t(uint16_t(z)) << 32;
            auto [found, added] = indexOfKey.try_emplace(key, uint16_t(room.vertices.size()));
            if (added) {
                if (room.vertices.size() > 0xFFFF) {  // face indices are 16 bits wide
                    indexOfKey.erase(found);
                    roomIndex[l].push_back(UINT32_MAX);
                    continue;
                }
                room.vertices.push_back({x, y, z, 0, 0, 0});
                room.layerVertices.emplace_back();
            }
            const uint16_t index = found->second;
            room.layerVertices[index] = source;
            const uint8_t blue = source[24], green = source[25], red = source[26];
            room.vertices[index].colour = uint16_t(((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3));
            roomIndex[l].push_back(index);
        }
    }
    // A face naming a vertex its layer does not have is dropped.
    const auto mapped = [&](size_t layer, uint16_t local, uint16_t& out) {
        if (local >= roomIndex[layer].size() || roomIndex[layer][local] == UINT32_MAX) return false;
        out = uint16_t(roomIndex[layer][local]);
        return true;
    };
    for (size_t l = 0; l < layers.size(); ++l) {
        for (const auto& face : layers[l].rectangles) {
            TRoomRectangle rectangle;
            rectangle.texture = face[4];
            if (mapped(l, face[0], rectangle.vertices[0]) && mapped(l, face[1], rectangle.vertices[1]) &&
                mapped(l, face[2], rectangle.vertices[2]) && mapped(l, face[3], rectangle.vertices[3]))
                room.rectangles.push_back(rectangle);
        }
        for (const auto& face : layers[l].triangles) {
            TRoomTriangle triangle;
            triangle.texture = face[3];
            if (mapped(l, face[0], triangle.vertices[0]) && mapped(l, face[1], triangle.vertices[1]) &&
                mapped(l, face[2], triangle.vertices[2]))
                room.triangles.push_back(triangle);
        }
    }
}

// Everything of a layered room after its header: tables, layers, and their merge.
void readLayeredTables(TFileBuffer& buffer, TRoomRecord& room, uint16_t lightCount, uint16_t staticCount, uint32_t fogCount) {
    room.lights = readTable(buffer, lightCount, 88);
    room.fogBulbs = readTable(buffer, fogCount, 36);
    room.sectors = readTable(buffer, uint64_t(room.zSectors) * room.xSectors, 8);
    room.portals = readTable(buffer, read<uint16_t>(buffer), 32);
    buffer.Skip(2);
    room.staticMeshes = readStaticMeshes(buffer, staticCount, 7);

    const size_t headersAt = buffer.Position();
    SpanCursor headerBytes(buffer.Take(uint64_t(room.layerCount) * 56));
    std::vector<TRoomLayer> headers(room.layerCount);
    uint64_t faces = 0, triangleTotal = 0;
    for (auto& header : headers) {
        headerBytes.copy(header.header.data(), 56);
        std::memcpy(&header.vertexCount, header.header.data(), 4);
        std::memcpy(&header.rectangleCount, header.header.data() + 6, 2);
        std::memcpy(&header.triangleCount, header.header.data() + 8, 2);
        faces += uint64_t(header.rectangleCount) + header.triangleCount;
        triangleTotal += header.triangleCount;
    }
    if (faces > kMaxRoomFaces) tooManyFaces(faces, headersAt);
    std::vector<LayerFaces> layers(headers.size());
    for (size_t l = 0; l < layers.size(); ++l) {
        layers[l].rectangles = readRecords<std::array<uint16_t, 6>>(buffer, headers[l].rectangleCount);
        layers[l].triangles = readRecords<std::array<uint16_t, 5>>(buffer, headers[l].triangleCount);
    }
    if (triangleTotal % 2) buffer.Skip(2);
    for (size_t l = 0; l < layers.size(); ++l)
        layers[l].vertices = readRecords<std::array<uint8_t, 28>>(buffer, headers[l].vertexCount);
    mergeLayers(room, layers);
}

// A layered room ends at offset 8 + its data size, and nothing of it is read beyond there: tables
// that would run past it are damage, never the next room's bytes read again.
void readLayeredRoom(TFileBuffer& buffer, TRoomRecord& room) {
    const size_t start = buffer.Position();
    const size_t outerEnd = buffer.End();
    buffer.Skip(4);
    room.roomDataSize = read<uint32_t>(buffer);
    const uint64_t roomEnd = uint64_t(start) + 8 + room.roomDataSize;
    buffer.SetEnd(std::min<uint64_t>(roomEnd, outerEnd));
    try {
        uint16_t lightCount = 0, staticCount = 0;
        uint32_t fogCount = 0;
        readLayeredHeader(buffer, start, room, lightCount, staticCount, fogCount);
        readLayeredTables(buffer, room, lightCount, staticCount, fogCount);
    } catch (const EDataEndsEarly& e) {
        buffer.SetEnd(outerEnd);
        if (e.End >= outerEnd) throw;
        throw ELevelFault(TLevelProblem::Inconsistent, e.Offset,
                          "the room's tables run past its data size of " + std::to_string(room.roomDataSize) + " bytes");
    }
    buffer.SetEnd(outerEnd);
    buffer.MoveTo(roomEnd);
}

}  // namespace

void TTombRaiderLevel::readRooms(TFileBuffer& buffer, size_t count) {
    section("rooms");
    if (count > kMaxLevelRooms)
        throw ELevelFault(TLevelProblem::TooLarge, buffer.Position(),
                          std::to_string(count) + " rooms, more than the " + std::to_string(kMaxLevelRooms) + " this program reads");
    // Even an empty room takes some bytes, so the table never grows beyond what the data could hold.
    const size_t smallestRoom = VersionCode == 7 ? 216 : 20;
    Rooms.reserve(std::min(count, buffer.Remaining() / smallestRoom + 1));
    uint64_t faces = 0, sectors = 0;
    for (size_t i = 0; i < count; ++i) {
        room_ = int(i);
        TRoomRecord& room = Rooms.emplace_back();
        if (VersionCode == 7) readLayeredRoom(buffer, room);
        else readClassicRoom(buffer, room, VersionCode);
        faces += room.rectangles.size() + room.triangles.size();
        if (faces > kMaxLevelFaces)
            throw ELevelFault(TLevelProblem::TooLarge, buffer.Position(),
                              "more than " + std::to_string(kMaxLevelFaces) + " faces, the most this program reads");
        sectors += RecordCount(room.sectors, 8);
        if (sectors > kMaxLevelSectors)
            throw ELevelFault(TLevelProblem::TooLarge, buffer.Position(),
                              "more than " + std::to_string(kMaxLevelSectors) + " squares, the most this program reads");
    }
}

}  // namespace grottix
