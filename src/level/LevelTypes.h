#pragma once
// The tables of a level file as the reader keeps them. Records that are used downstream have their
// fields; sections that are only carried along are kept as raw bytes with their element count.

#include <array>
#include <cstdint>
#include <vector>

namespace grottix {

// A section carried but not interpreted: its element count and raw bytes.
struct TLevelTable {
    uint32_t count = 0;
    std::vector<uint8_t> bytes;
};

// A room vertex in the long form; the short form is x, y, z and lighting.
struct TRoomVertex {
    int16_t x = 0, y = 0, z = 0;
    int16_t lighting = 0;
    uint16_t attributes = 0;
    uint16_t colour = 0;  // 15-bit: red bits 10-14, green 5-9, blue 0-4
};
static_assert(sizeof(TRoomVertex) == 12);

struct TRoomRectangle {
    uint16_t vertices[4] = {};
    uint16_t texture = 0;
};
static_assert(sizeof(TRoomRectangle) == 10);

struct TRoomTriangle {
    uint16_t vertices[3] = {};
    uint16_t texture = 0;
};
static_assert(sizeof(TRoomTriangle) == 8);

struct TRoomSprite {
    uint16_t vertex = 0;
    uint16_t texture = 0;
};
static_assert(sizeof(TRoomSprite) == 4);

struct TRoomStaticMesh {
    int32_t x = 0, y = 0, z = 0;
    uint16_t rotation = 0;
    uint16_t intensity1 = 0;
    uint16_t intensity2 = 0;  // codes 3 and up
    uint16_t meshId = 0;
};

// One layer of a layered (code 7) room, as read before the merge.
struct TRoomLayer {
    std::array<uint8_t, 56> header{};
    uint32_t vertexCount = 0;
    uint16_t rectangleCount = 0;
    uint16_t triangleCount = 0;
};

struct TRoomRecord {
    int32_t x = 0, z = 0;
    int32_t yBottom = 0, yTop = 0;
    uint32_t dataWordCount = 0;
    uint32_t layerCount = 0;

    std::vector<TRoomVertex> vertices;
    // Code 7: the 28 source bytes of the layer vertex last merged into each room vertex.
    std::vector<std::array<uint8_t, 28>> layerVertices;
    std::vector<TRoomRectangle> rectangles;
    std::vector<TRoomTriangle> triangles;
    std::vector<TRoomSprite> sprites;
    std::vector<TRoomStaticMesh> staticMeshes;

    TLevelTable portals;   // 32 bytes each
    uint16_t zSectors = 0, xSectors = 0;
    TLevelTable sectors;   // 8 bytes each
    TLevelTable lights;    // 18, 24, 46 or 88 bytes each by version
    TLevelTable fogBulbs;  // code 7, 36 bytes each
    std::array<uint8_t, 6> ambient{};
    int16_t alternateRoom = 0;
    std::array<uint8_t, 2> flags{};
    uint8_t waterScheme = 0, reverb = 0, alternateGroup = 0;
    std::array<uint8_t, 2> extra{};       // code 7
    uint32_t roomDataSize = 0;            // code 7
    std::array<uint32_t, 26> extraHeader{};  // code 7
};

// One corner of an object texture: side and texel position for u and v.
struct TTextureCorner {
    uint8_t uSide = 0, u = 0, vSide = 0, v = 0;
};

struct TObjectTexture {
    uint16_t attribute = 0;
    uint16_t tile = 0;   // bits 0-14: tile index, 0-based
    uint16_t flags = 0;  // codes 6-7
    std::array<TTextureCorner, 4> corners{};
    std::array<uint8_t, 18> extra{};  // codes 6-7: 16 bytes; code 7: 2 more
};

struct TStaticMeshDefinition {
    uint32_t objectId = 0;
    uint16_t meshIndex = 0;  // into the mesh pointer table
    std::array<uint8_t, 26> rest{};
};
static_assert(sizeof(TStaticMeshDefinition) == 32);

}  // namespace grottix
