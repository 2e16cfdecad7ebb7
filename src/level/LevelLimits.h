#pragma once
// The most the level reader accepts, well above any real level of the games and of the level editors,
// so that a hostile file (a compression bomb, absurd counts) is refused instead of exhausting memory
// or time. The README lists them.

#include <cstdint>

namespace grottix {

constexpr uint64_t kMaxLevelTiles = 512;              // 256 x 256 texture tiles
constexpr uint64_t kMaxLevelRooms = 4096;
constexpr uint64_t kMaxRoomFaces = 65536;             // rectangles and triangles of one room
constexpr uint64_t kMaxLevelFaces = uint64_t{1} << 20;  // rectangles and triangles of all rooms
constexpr uint64_t kMaxLevelSectors = uint64_t{1} << 22;  // squares of all rooms: 4096 rooms of 32 x 32
// Faces that static meshes and items place together: one mesh may be placed any number of times, so
// meshes beyond this are left out instead of growing the scene without end.
constexpr uint64_t kMaxPlacedMeshFaces = uint64_t{1} << 20;
// Inflated bytes: the "ZLIB" wrapper's content, and the chunks of TR4 and Chronicles levels.
constexpr uint64_t kMaxUnwrappedBytes = uint64_t{256} << 20;
constexpr uint64_t kMaxTiles32Bytes = kMaxLevelTiles * 262144;  // 128 MiB
constexpr uint64_t kMaxTiles16Bytes = kMaxLevelTiles * 131072;  // 64 MiB
constexpr uint64_t kMaxMiscTileBytes = uint64_t{16} << 20;
constexpr uint64_t kMaxLevelDataBytes = uint64_t{128} << 20;
// Mesh rotations of the key frames decoded for posing a level's moveables (24 bytes each): the
// largest real levels need under a million.
constexpr uint64_t kMaxPosedRotations = uint64_t{1} << 22;
// Animations looked at while finding what the level's moveables play (their own, and those these
// go on to): real levels look at a few thousand.
constexpr uint64_t kMaxPosingSteps = uint64_t{1} << 20;

}  // namespace grottix
