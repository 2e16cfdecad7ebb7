#pragma once
// TTombRaiderLevel: reads one level file of any of the seven version codes into memory, section by
// section, without converting anything. Counts in the file are taken as read, but a table never
// holds more elements than the rest of the data can fill, so no count makes the reader allocate
// beyond the file.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "codecs/Bitmap.h"
#include "level/LevelTypes.h"

namespace grottix {

class TD3DScene;
class TFileBuffer;

class TTombRaiderLevel {
public:
    explicit TTombRaiderLevel(TD3DScene* scene = nullptr) : Scene(scene) {}

    // 0 loaded, 1 no file, 2 unknown version word. With texturesOnly the reading stops once the
    // texture tiles (and for codes 1-2 the palette) are in memory. I/O and zlib errors raise.
    uint8_t LoadLevel(const std::string& path, bool texturesOnly = false);
    // The same for a level already in memory; path is what the version rules look at.
    uint8_t LoadLevelFromBytes(std::vector<uint8_t> bytes, const std::string& path, bool texturesOnly = false);
    void FreeData();

    // Registers tile textures in Scene: every tile 1..N without a list, else the listed tile numbers
    // (as text). Returns how many were registered.
    int RegisterTiles(const std::vector<std::string>* entries = nullptr);
    // One tile (number as text, 1-based) as a new 24-bit 256 x 256 bitmap, or none.
    std::unique_ptr<TBitmap> GetTileBitmap(const std::string& entry) const;

    TD3DScene* Scene;
    std::string Path;
    uint32_t VersionWord = 0;
    int32_t VersionCode = 0;
    bool Loaded = false;

    uint16_t RoomTileCount = 0, ObjectTileCount = 0, BumpTileCount = 0;  // codes 6-7
    int32_t TileCount = 0;
    std::vector<uint8_t> Tiles8;    // TileCount x 65536, codes 1-5
    std::vector<uint8_t> Tiles16;   // TileCount x 131072, codes 3-7
    std::vector<uint8_t> Tiles32;   // the inflated 32-bit tile chunk, codes 6-7
    std::vector<uint8_t> MiscTiles; // the inflated miscellaneous chunk, codes 6-7
    std::array<uint8_t, 768> Palette8{};
    std::array<uint8_t, 1024> Palette16{};

    std::vector<TRoomRecord> Rooms;
    TLevelTable FloorData;
    std::vector<uint16_t> MeshData;
    std::vector<uint32_t> MeshPointers;
    TLevelTable Animations, StateChanges, AnimDispatches, AnimCommands, MeshTrees, Frames, Moveables;
    std::vector<TStaticMeshDefinition> StaticMeshDefinitions;
    std::vector<TObjectTexture> ObjectTextures;
    TLevelTable SpriteTextures, SpriteSequences, Cameras, FlybyCameras, SoundSources, Boxes, Overlaps;
    std::array<TLevelTable, 10> Zones;
    TLevelTable AnimatedTextures, Entities, AIObjects, CinematicFrames, DemoData, SoundDetails, SampleIndices;
    std::array<uint8_t, 8192> LightMap{};
    std::vector<uint8_t> SoundMap;
    std::vector<uint8_t> SampleBlock;

private:
    uint8_t readAll(TFileBuffer& buffer, bool texturesOnly);
    void readTextureChunks(TFileBuffer& buffer);
    void readLevelDataChunk(TFileBuffer& buffer);
    void readClassicTiles(TFileBuffer& buffer);
    void takeTiles(TFileBuffer& buffer, std::vector<uint8_t>& tiles, uint64_t tileBytes) const;
    size_t readRoomCount(TFileBuffer& buffer);  // returns where code 7's level data ends
    void readRooms(TFileBuffer& buffer, size_t count);
    void readMeshesAndAnimations(TFileBuffer& buffer);
    void readTexturesAndCameras(TFileBuffer& buffer);
    void readBoxesAndEntities(TFileBuffer& buffer);
    void readSoundSections(TFileBuffer& buffer, size_t levelDataEnd);

    size_t levelDataEnd_ = 0;
};

}  // namespace grottix
