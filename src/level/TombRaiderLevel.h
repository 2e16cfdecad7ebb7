#pragma once
// TTombRaiderLevel: reads one level file of any of the seven version codes into memory, section by
// section, without converting anything. A section the data cannot hold, a size field the data
// contradicts or a file beyond the reader's limits (LevelLimits.h) stops the reading: the level keeps
// what was read before, records where and why in Damage, and the load returns kLevelDamaged or
// kLevelTooLarge. Nothing is allocated for a table before the data has been found to hold it.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "codecs/Bitmap.h"
#include "level/LevelDamage.h"
#include "level/LevelTypes.h"

namespace grottix {

class TFileBuffer;

// The block later level-building tools append to TR4 levels ("NG" ... "NGLE", length).
struct TLevelTrailer {
    uint64_t Offset = 0;  // where it starts, counted as the damage offsets of the samples are
    uint32_t Size = 0;    // its whole length, as its footer declares
};

class TTombRaiderLevel {
public:
    // 0 loaded, 1 no file, 2 unknown version word, 3 damaged, 4 beyond the limits (3 and 4 with
    // Damage set and the sections before it kept). With texturesOnly the reading stops once the
    // texture tiles (and for codes 1-2 the palette) are in memory. I/O errors raise.
    uint8_t LoadLevel(const std::string& path, bool texturesOnly = false);
    // The same for a level already in memory; path is what the version rules look at.
    uint8_t LoadLevelFromBytes(std::vector<uint8_t> bytes, const std::string& path, bool texturesOnly = false);
    void FreeData();
    // The message for a load result: ImportErrorMessage, and for a damaged level what and where,
    // e.g. "Damaged file: the data ends early in the rooms (room 3) at byte 51234: needs 10 bytes, 4 left".
    std::string LoadErrorMessage(uint8_t result) const;

    // Tiles the level holds: TileCount, bounded by the tile bytes read.
    int TilesHeld() const;
    // Tile k (1-based, up to TilesHeld) as 256 x 256 texels 0xAARRGGBB into out; black is the
    // transparency key of every tile.
    void TileTexels(int k, uint32_t* out) const;
    // One tile (number as text, 1-based) as a new 24-bit 256 x 256 bitmap, or none.
    std::unique_ptr<TBitmap> GetTileBitmap(const std::string& entry) const;

    std::string Path;
    uint32_t VersionWord = 0;
    int32_t VersionCode = 0;
    bool Loaded = false;
    // Set by a load that returned kLevelDamaged or kLevelTooLarge. The tables then hold what was read
    // before the damage (the rooms up to and including the one it lies in, TileCount the tiles held),
    // and ImportLoadedLevel can still turn them into a scene.
    std::optional<TLevelDamage> Damage;

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
    std::vector<uint8_t> SampleBlock;  // codes 6-7: without the trailer
    std::optional<TLevelTrailer> Trailer;  // code 6

private:
    uint8_t readAll(TFileBuffer& buffer, bool texturesOnly);
    void readSections(TFileBuffer& buffer, bool texturesOnly);
    void unwrap(TFileBuffer& buffer);
    void readTextureChunks(TFileBuffer& buffer);
    void readLevelDataChunk(TFileBuffer& buffer);
    void readClassicTiles(TFileBuffer& buffer);
    void takeTiles(TFileBuffer& buffer, std::vector<uint8_t>& tiles, uint64_t count, uint64_t tileBytes);
    size_t readRoomCount(TFileBuffer& buffer);
    void readRooms(TFileBuffer& buffer, size_t count);
    void readMeshesAndAnimations(TFileBuffer& buffer);
    void readTexturesAndCameras(TFileBuffer& buffer);
    void readBoxesAndEntities(TFileBuffer& buffer);
    void readTailSections(TFileBuffer& buffer);
    void readSampleBlock(TFileBuffer& buffer);

    // Where the reader is, for the damage record.
    void section(const char* name) {
        section_ = name;
        room_ = tile_ = -1;
    }
    void recordDamage(TLevelProblem problem, uint64_t offset, std::string detail);

    const char* section_ = "";
    int room_ = -1, tile_ = -1;
    TLevelBytes bytes_ = TLevelBytes::File;
    size_t levelDataEnd_ = 0;
    bool levelDataComplete_ = false;  // codes 6-7: the level data is all there, so the file is not cut in it
    size_t sampleBlockAt_ = 0;        // codes 6-7: where the sample block begins, counted in sampleBlockBytes_
    TLevelBytes sampleBlockBytes_ = TLevelBytes::File;
};

}  // namespace grottix
