#include "level/TombRaiderLevel.h"

#include "level/FileBuffer.h"
#include "level/LevelNames.h"
#include "level/SectionReader.h"
#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {

using level::read;
using level::readCountedTable;
using level::readRecords;
using level::readTable;

namespace {

constexpr uint64_t kTile8Bytes = 65536;
constexpr uint64_t kTile16Bytes = 131072;

// A chunk of codes 6-7: uncompressed length, compressed length, zlib bytes.
std::vector<uint8_t> readChunk(TFileBuffer& buffer) {
    const auto uncompressed = read<uint32_t>(buffer);
    const auto compressed = read<uint32_t>(buffer);
    return InflateBytes(buffer.Take(compressed), uncompressed);
}

// Object textures: one layout for all versions, with the extra fields of codes 6-7.
std::vector<TObjectTexture> readObjectTextures(TFileBuffer& buffer, int code) {
    const size_t fileSize = code >= 7 ? 40 : code == 6 ? 38 : 20;
    const uint32_t count = read<uint32_t>(buffer);
    std::vector<TObjectTexture> textures(size_t(std::min<uint64_t>(count, (buffer.Remaining() + fileSize - 1) / fileSize)));
    for (auto& texture : textures) {
        texture.attribute = read<uint16_t>(buffer);
        texture.tile = read<uint16_t>(buffer);
        if (code >= 6) texture.flags = read<uint16_t>(buffer);
        buffer.Read(texture.corners.data(), 16);
        if (code >= 6) buffer.Read(texture.extra.data(), code >= 7 ? 18 : 16);
    }
    return textures;
}

}  // namespace

void TTombRaiderLevel::FreeData() { *this = TTombRaiderLevel(Scene); }

uint8_t TTombRaiderLevel::LoadLevel(const std::string& path, bool texturesOnly) {
    FreeData();
    Path = path;
    if (!FileExists(path)) return kLevelNotFound;
    TFileBuffer buffer;
    buffer.Open(path);
    return readAll(buffer, texturesOnly);
}

uint8_t TTombRaiderLevel::LoadLevelFromBytes(std::vector<uint8_t> bytes, const std::string& path, bool texturesOnly) {
    FreeData();
    Path = path;
    TFileBuffer buffer;
    buffer.OpenBytes(std::move(bytes));
    return readAll(buffer, texturesOnly);
}

uint8_t TTombRaiderLevel::readAll(TFileBuffer& buffer, bool texturesOnly) {
    const auto word = read<uint32_t>(buffer);
    if (!IsKnownVersionWord(word)) return kLevelUnsupportedVersion;
    VersionWord = word;
    Loaded = true;
    VersionCode = VersionCodeFor(word, Path);
    const int code = VersionCode;

    if (code >= 6) {
        readTextureChunks(buffer);
        if (code == 6) readLevelDataChunk(buffer);
    } else {
        readClassicTiles(buffer);
    }
    if (texturesOnly && code >= 3) return kLevelLoaded;

    const size_t roomCount = readRoomCount(buffer);
    readRooms(buffer, roomCount);
    readMeshesAndAnimations(buffer);
    readTexturesAndCameras(buffer);
    readBoxesAndEntities(buffer);
    readSoundSections(buffer, levelDataEnd_);
    return kLevelLoaded;
}

void TTombRaiderLevel::readTextureChunks(TFileBuffer& buffer) {
    RoomTileCount = read<uint16_t>(buffer);
    ObjectTileCount = read<uint16_t>(buffer);
    BumpTileCount = read<uint16_t>(buffer);
    Tiles32 = readChunk(buffer);
    Tiles16 = readChunk(buffer);
    MiscTiles = readChunk(buffer);
    TileCount = int32_t(Tiles16.size() / kTile16Bytes);
}

// Code 6 keeps everything after the tiles in one more chunk; the file's tail is the sample block.
void TTombRaiderLevel::readLevelDataChunk(TFileBuffer& buffer) {
    std::vector<uint8_t> levelData = readChunk(buffer);
    const auto tail = buffer.Take(buffer.Remaining());
    SampleBlock.assign(tail.begin(), tail.end());
    buffer.Seek(0);
    buffer.Write(levelData.data(), levelData.size());
    buffer.Seek(0);
}

void TTombRaiderLevel::readClassicTiles(TFileBuffer& buffer) {
    const int code = VersionCode;
    if (code >= 3) {
        buffer.Read(Palette8.data(), Palette8.size());
        buffer.Read(Palette16.data(), Palette16.size());
    }
    const auto count = read<uint32_t>(buffer);
    const uint64_t perTile = kTile8Bytes + (code >= 3 ? kTile16Bytes : 0);
    // A tile count beyond the file would only describe missing bytes.
    TileCount = int32_t(std::min<uint64_t>(count, (buffer.Remaining() + perTile - 1) / perTile));
    takeTiles(buffer, Tiles8, kTile8Bytes);
    buffer.Skip((uint64_t(count) - uint64_t(TileCount)) * kTile8Bytes);
    if (code >= 3) takeTiles(buffer, Tiles16, kTile16Bytes);
}

// Copies TileCount tiles straight out of the buffer; a file ending inside them leaves zeros.
void TTombRaiderLevel::takeTiles(TFileBuffer& buffer, std::vector<uint8_t>& tiles, uint64_t tileBytes) const {
    const auto bytes = buffer.Take(uint64_t(TileCount) * tileBytes);
    tiles.assign(bytes.begin(), bytes.end());
    tiles.resize(size_t(TileCount) * tileBytes, 0);
}

size_t TTombRaiderLevel::readRoomCount(TFileBuffer& buffer) {
    if (VersionCode == 7) {
        buffer.Skip(32);
        const auto length = read<uint32_t>(buffer);
        read<uint32_t>(buffer);  // second length, not used
        levelDataEnd_ = buffer.Position() + length;
        buffer.Skip(4);
        return read<uint32_t>(buffer) & 0xFFFF;
    }
    buffer.Skip(4);
    return read<uint16_t>(buffer);
}

void TTombRaiderLevel::readMeshesAndAnimations(TFileBuffer& buffer) {
    const int code = VersionCode;
    FloorData = readCountedTable(buffer, 2);
    MeshData = readRecords<uint16_t>(buffer, read<uint32_t>(buffer));
    MeshPointers = readRecords<uint32_t>(buffer, read<uint32_t>(buffer));
    Animations = readCountedTable(buffer, code >= 6 ? 40 : 32);
    StateChanges = readCountedTable(buffer, 6);
    AnimDispatches = readCountedTable(buffer, 8);
    AnimCommands = readCountedTable(buffer, 2);
    MeshTrees = readCountedTable(buffer, 4);
    Frames = readCountedTable(buffer, 2);
    if (code == 7) {
        // 20 bytes each on disk, of which the first 18 are kept.
        const TLevelTable wide = readCountedTable(buffer, 20);
        Moveables.count = wide.count;
        for (uint32_t i = 0; i < wide.count; ++i)
            Moveables.bytes.insert(Moveables.bytes.end(), wide.bytes.begin() + i * 20, wide.bytes.begin() + i * 20 + 18);
    } else {
        Moveables = readCountedTable(buffer, 18);
    }
    StaticMeshDefinitions = readRecords<TStaticMeshDefinition>(buffer, read<uint32_t>(buffer));
}

void TTombRaiderLevel::readTexturesAndCameras(TFileBuffer& buffer) {
    const int code = VersionCode;
    if (code <= 4) ObjectTextures = readObjectTextures(buffer, code);
    if (code >= 6) buffer.Skip(code == 6 ? 3 : 4);
    SpriteTextures = readCountedTable(buffer, 16);
    SpriteSequences = readCountedTable(buffer, 8);
    if (code == 2) buffer.Read(Palette8.data(), Palette8.size());
    Cameras = readCountedTable(buffer, 16);
    if (code >= 6) FlybyCameras = readCountedTable(buffer, 40);
    SoundSources = readCountedTable(buffer, 16);
}

void TTombRaiderLevel::readBoxesAndEntities(TFileBuffer& buffer) {
    const int code = VersionCode;
    const auto boxCount = read<uint32_t>(buffer);
    Boxes = readTable(buffer, boxCount, code <= 2 ? 20 : 8);
    Overlaps = readCountedTable(buffer, 2);
    static constexpr int kClassicZoneSlots[6] = {0, 1, 4, 5, 6, 9};
    const int arrays = code <= 2 ? 6 : 10;
    for (int i = 0; i < arrays; ++i) Zones[size_t(code <= 2 ? kClassicZoneSlots[i] : i)] = readTable(buffer, boxCount, 2);
    AnimatedTextures = readCountedTable(buffer, 2);
    if (code >= 6) buffer.Skip(code == 6 ? 4 : 5);
    if (code >= 5) ObjectTextures = readObjectTextures(buffer, code);
    Entities = readCountedTable(buffer, code <= 2 ? 22 : 24);
}

void TTombRaiderLevel::readSoundSections(TFileBuffer& buffer, size_t levelDataEnd) {
    const int code = VersionCode;
    if (code <= 5) buffer.Read(LightMap.data(), LightMap.size());
    if (code == 1) buffer.Read(Palette8.data(), Palette8.size());
    if (code >= 6) {
        AIObjects = readCountedTable(buffer, 24);
    } else {
        CinematicFrames = readTable(buffer, read<uint16_t>(buffer), 16);
    }
    DemoData = readTable(buffer, read<uint16_t>(buffer), 1);
    SoundMap.assign(code <= 2 ? 512 : code <= 6 ? 740 : 900, 0);
    buffer.Read(SoundMap.data(), SoundMap.size());
    SoundDetails = readCountedTable(buffer, 8);
    if (code <= 2) {
        const auto block = buffer.Take(read<uint32_t>(buffer));
        SampleBlock.assign(block.begin(), block.end());
    }
    SampleIndices = readCountedTable(buffer, 4);
    if (code == 7) {
        buffer.Seek(levelDataEnd);
        const auto tail = buffer.Take(buffer.Remaining());
        SampleBlock.assign(tail.begin(), tail.end());
    }
}

}  // namespace grottix
