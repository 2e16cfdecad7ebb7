#include "level/TombRaiderLevel.h"

#include <algorithm>
#include <cstring>

#include "level/FileBuffer.h"
#include "level/LevelLimits.h"
#include "level/LevelNames.h"
#include "level/SectionReader.h"
#include "storage/Stream.h"
#include "storage/Zlib.h"

namespace grottix {

using level::ELevelFault;
using level::read;
using level::readCountedTable;
using level::readRecords;
using level::readTable;
using level::SpanCursor;

namespace {

constexpr uint64_t kTile8Bytes = 65536;
constexpr uint64_t kTile16Bytes = 131072;
constexpr size_t kWrapperHeader = 12;

std::string mebibytes(uint64_t bytes) { return std::to_string(bytes >> 20) + " MiB"; }

// Inflates data whose size a field declares; the data must produce exactly that many bytes, and no
// more than limit. at is where the compressed bytes begin, for the damage record.
std::vector<uint8_t> inflateDeclared(std::span<const uint8_t> input, uint64_t declared, uint64_t limit, uint64_t at) {
    TInflated inflated = InflateUpTo(input, declared, std::min(declared, limit));
    if (inflated.End == TInflateEnd::BeyondLimit && declared > limit)
        throw ELevelFault(TLevelProblem::TooLarge, at, "inflates to more than " + mebibytes(limit) + ", the most this program reads");
    if (inflated.End == TInflateEnd::BeyondLimit)
        throw ELevelFault(TLevelProblem::Inconsistent, at, "inflates to more than the " + std::to_string(declared) + " bytes it declares");
    if (inflated.End != TInflateEnd::Complete) throw ELevelFault(TLevelProblem::Inconsistent, at, InflateEndMessage(inflated.End));
    if (inflated.Bytes.size() != declared)
        throw ELevelFault(TLevelProblem::Inconsistent, at,
                          "declares " + std::to_string(declared) + " bytes, holds " + std::to_string(inflated.Bytes.size()));
    return std::move(inflated.Bytes);
}

// A chunk of codes 6-7: uncompressed length, compressed length, zlib bytes.
std::vector<uint8_t> readChunk(TFileBuffer& buffer, uint64_t limit) {
    const auto declared = read<uint32_t>(buffer);
    const auto compressed = read<uint32_t>(buffer);
    const size_t at = buffer.Position();
    return inflateDeclared(buffer.Take(compressed), declared, limit, at);
}

// Object textures: one layout for all versions, with the extra fields of codes 6-7.
std::vector<TObjectTexture> readObjectTextures(TFileBuffer& buffer, int code) {
    const size_t fileSize = code >= 7 ? 40 : code == 6 ? 38 : 20;
    const uint32_t count = read<uint32_t>(buffer);
    SpanCursor in(buffer.Take(uint64_t(count) * fileSize));
    std::vector<TObjectTexture> textures(count);
    for (auto& texture : textures) {
        texture.attribute = in.next<uint16_t>();
        texture.tile = in.next<uint16_t>();
        if (code >= 6) texture.flags = in.next<uint16_t>();
        in.copy(texture.corners.data(), 16);
        if (code >= 6) in.copy(texture.extra.data(), code >= 7 ? 18 : 16);
    }
    return textures;
}

// The sample block of codes 6-7: a uint32 sample count, then for each sample its uncompressed length,
// its stored length and the stored bytes. Raises EDataEndsEarly, at offsets counted from at, where the
// block is too short for them: a cut file, as a classic level cut in its samples is. Each sample
// takes at least 8 bytes, so the walk is bounded by the block, whatever the count says. Returns the
// bytes the samples take.
uint64_t walkSampleBlock(std::span<const uint8_t> block, uint64_t at) {
    uint64_t position = 0;
    const auto take = [&](uint64_t count) {
        if (count > block.size() - position) throw EDataEndsEarly(at + position, count, at + block.size());
        position += count;
        return block.data() + (position - count);
    };
    const auto next = [&] {
        uint32_t value;
        std::memcpy(&value, take(4), 4);
        return value;
    };
    for (uint32_t sample = 0, count = next(); sample < count; ++sample) {
        next();  // uncompressed length, not used
        take(next());
    }
    return position;
}

// The block later level-building tools append to TR4 levels: "NG" first, then their own records,
// then "NGLE" and the block's whole length (uint32) in its last 8 bytes.
constexpr size_t kTrailerFooter = 8;

bool startsAsTrailer(std::span<const uint8_t> bytes) {
    return !bytes.empty() && bytes[0] == 'N' && (bytes.size() == 1 || bytes[1] == 'G');
}

// The trailer's length when block ends with its footer, checked against the block (at: where the
// block begins); 0 when it does not end so.
uint32_t trailerLength(std::span<const uint8_t> block, uint64_t at) {
    if (block.size() < kTrailerFooter || std::memcmp(block.data() + block.size() - kTrailerFooter, "NGLE", 4) != 0) return 0;
    uint32_t length = 0;
    std::memcpy(&length, block.data() + block.size() - 4, 4);
    const uint64_t footerAt = at + block.size() - kTrailerFooter;
    if (length < kTrailerFooter + 2 || length > block.size())
        throw ELevelFault(TLevelProblem::Inconsistent, footerAt,
                          "declares " + std::to_string(length) + " bytes, " + std::to_string(block.size()) +
                              " lie behind the level data");
    if (!startsAsTrailer(block.subspan(block.size() - length, 2)))
        throw ELevelFault(TLevelProblem::Inconsistent, footerAt,
                          "declares " + std::to_string(length) + " bytes, but no \"NG\" starts them");
    return length;
}

std::string endsEarlyDetail(const EDataEndsEarly& e) {
    return "needs " + std::to_string(e.Needed) + " bytes, " + std::to_string(e.End > e.Offset ? e.End - e.Offset : 0) + " left";
}

}  // namespace

void TTombRaiderLevel::FreeData() { *this = TTombRaiderLevel(); }

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

std::string TTombRaiderLevel::LoadErrorMessage(uint8_t result) const {
    const std::string message = ImportErrorMessage(result);
    return Damage && (result == kLevelDamaged || result == kLevelTooLarge) ? message + ": " + Damage->Describe() : message;
}

uint8_t TTombRaiderLevel::readAll(TFileBuffer& buffer, bool texturesOnly) {
    try {
        readSections(buffer, texturesOnly);
        return Loaded ? kLevelLoaded : kLevelUnsupportedVersion;
    } catch (const EDataEndsEarly& e) {
        recordDamage(TLevelProblem::EndsEarly, e.Offset, endsEarlyDetail(e));
    } catch (const ELevelFault& e) {
        recordDamage(e.Problem, e.Offset, e.what());
    }
    return Damage->Problem == TLevelProblem::TooLarge ? kLevelTooLarge : kLevelDamaged;
}

void TTombRaiderLevel::recordDamage(TLevelProblem problem, uint64_t offset, std::string detail) {
    Damage = TLevelDamage{problem, section_, room_, tile_, offset, bytes_, std::move(detail)};
    // Only whole tiles count; the tiles of the other depth may have been read further.
    const uint64_t held = VersionCode <= 2 ? Tiles8.size() / kTile8Bytes : Tiles16.size() / kTile16Bytes;
    TileCount = int32_t(std::min<uint64_t>(uint64_t(std::max(TileCount, 0)), held));
}

void TTombRaiderLevel::readSections(TFileBuffer& buffer, bool texturesOnly) {
    section("version word");
    if (buffer.Size() > kWrapperHeader && std::memcmp(buffer.Take(4).data(), "ZLIB", 4) == 0) unwrap(buffer);
    section("version word");
    buffer.MoveTo(0);
    const auto word = read<uint32_t>(buffer);
    if (!IsKnownVersionWord(word)) return;
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
    if (texturesOnly && code >= 3) return;

    readRooms(buffer, readRoomCount(buffer));
    readMeshesAndAnimations(buffer);
    readTexturesAndCameras(buffer);
    readBoxesAndEntities(buffer);
    // Level editors write their own tables behind the entities. Where the level data is known to be
    // all there (codes 6-7), tables there that do not fit are the editor's, not a cut: reading stops.
    try {
        readTailSections(buffer);
    } catch (const EDataEndsEarly&) {
        if (!levelDataComplete_) throw;
    }
    readSampleBlock(buffer);
}

// A "ZLIB"-wrapped file: magic, compressed length, uncompressed length, zlib stream.
void TTombRaiderLevel::unwrap(TFileBuffer& buffer) {
    section("ZLIB wrapper");
    buffer.MoveTo(4);
    const auto compressed = read<uint32_t>(buffer);
    const auto declared = read<uint32_t>(buffer);
    std::vector<uint8_t> content = inflateDeclared(buffer.Take(compressed), declared, kMaxUnwrappedBytes, kWrapperHeader);
    buffer.OpenBytes(std::move(content));
    bytes_ = TLevelBytes::UnwrappedFile;
}

void TTombRaiderLevel::readTextureChunks(TFileBuffer& buffer) {
    section("texture tile counts");
    RoomTileCount = read<uint16_t>(buffer);
    ObjectTileCount = read<uint16_t>(buffer);
    BumpTileCount = read<uint16_t>(buffer);
    section("32-bit texture tiles");
    Tiles32 = readChunk(buffer, kMaxTiles32Bytes);
    section("16-bit texture tiles");
    Tiles16 = readChunk(buffer, kMaxTiles16Bytes);
    TileCount = int32_t(Tiles16.size() / kTile16Bytes);
    section("miscellaneous textures");
    MiscTiles = readChunk(buffer, kMaxMiscTileBytes);
}

// Code 6 keeps everything after the tiles in one more chunk; the file's tail is the sample block.
void TTombRaiderLevel::readLevelDataChunk(TFileBuffer& buffer) {
    section("level data chunk");
    std::vector<uint8_t> levelData = readChunk(buffer, kMaxLevelDataBytes);
    sampleBlockAt_ = buffer.Position();
    sampleBlockBytes_ = bytes_;
    const auto tail = buffer.Take(buffer.Remaining());
    SampleBlock.assign(tail.begin(), tail.end());
    buffer.OpenBytes(std::move(levelData));
    bytes_ = TLevelBytes::LevelData;
    levelDataComplete_ = true;
}

void TTombRaiderLevel::readClassicTiles(TFileBuffer& buffer) {
    const int code = VersionCode;
    if (code >= 3) {
        section("palettes");
        buffer.ReadAll(Palette8.data(), Palette8.size());
        buffer.ReadAll(Palette16.data(), Palette16.size());
    }
    section("texture tile count");
    const auto count = read<uint32_t>(buffer);
    if (count > kMaxLevelTiles)
        throw ELevelFault(TLevelProblem::TooLarge, buffer.Position() - 4,
                          "declares " + std::to_string(count) + " texture tiles, more than the " +
                              std::to_string(kMaxLevelTiles) + " this program reads");
    TileCount = int32_t(count);
    section("8-bit texture tiles");
    takeTiles(buffer, Tiles8, count, kTile8Bytes);
    if (code >= 3) {
        section("16-bit texture tiles");
        takeTiles(buffer, Tiles16, count, kTile16Bytes);
    }
}

// Copies the tiles one by one, so that damage names the tile it lies in and the whole tiles before
// it stay.
void TTombRaiderLevel::takeTiles(TFileBuffer& buffer, std::vector<uint8_t>& tiles, uint64_t count, uint64_t tileBytes) {
    tiles.reserve(size_t(std::min(count, buffer.Remaining() / tileBytes + 1) * tileBytes));
    for (uint64_t k = 1; k <= count; ++k) {
        tile_ = int(k);
        const auto tile = buffer.Take(tileBytes);
        tiles.insert(tiles.end(), tile.begin(), tile.end());
    }
    tile_ = -1;
}

size_t TTombRaiderLevel::readRoomCount(TFileBuffer& buffer) {
    if (VersionCode == 7) {
        section("level data header");
        buffer.Skip(32);
        const auto length = read<uint32_t>(buffer);
        read<uint32_t>(buffer);  // second length, not used
        levelDataEnd_ = buffer.Position() + length;
        // Nothing of the level data is read beyond its end; a file shorter than it is cut.
        levelDataComplete_ = levelDataEnd_ <= buffer.Size();
        buffer.SetEnd(levelDataEnd_);
        section("room count");
        buffer.Skip(4);
        return read<uint32_t>(buffer) & 0xFFFF;
    }
    section("room count");
    buffer.Skip(4);
    return read<uint16_t>(buffer);
}

void TTombRaiderLevel::readMeshesAndAnimations(TFileBuffer& buffer) {
    const int code = VersionCode;
    section("floor data");
    FloorData = readCountedTable(buffer, 2);
    section("mesh data");
    MeshData = readRecords<uint16_t>(buffer, read<uint32_t>(buffer));
    section("mesh pointers");
    MeshPointers = readRecords<uint32_t>(buffer, read<uint32_t>(buffer));
    section("animations");
    Animations = readCountedTable(buffer, code >= 6 ? 40 : 32);
    section("state changes");
    StateChanges = readCountedTable(buffer, 6);
    section("animation dispatches");
    AnimDispatches = readCountedTable(buffer, 8);
    section("animation commands");
    AnimCommands = readCountedTable(buffer, 2);
    section("mesh trees");
    MeshTrees = readCountedTable(buffer, 4);
    section("frames");
    Frames = readCountedTable(buffer, 2);
    section("moveables");
    if (code == 7) {
        // 20 bytes each on disk, of which the first 18 are kept.
        const TLevelTable wide = readCountedTable(buffer, 20);
        Moveables.count = wide.count;
        Moveables.bytes.reserve(size_t(wide.count) * 18);
        for (uint32_t i = 0; i < wide.count; ++i)
            Moveables.bytes.insert(Moveables.bytes.end(), wide.bytes.begin() + i * 20, wide.bytes.begin() + i * 20 + 18);
    } else {
        Moveables = readCountedTable(buffer, 18);
    }
    section("static mesh definitions");
    StaticMeshDefinitions = readRecords<TStaticMeshDefinition>(buffer, read<uint32_t>(buffer));
}

void TTombRaiderLevel::readTexturesAndCameras(TFileBuffer& buffer) {
    const int code = VersionCode;
    section("object textures");
    if (code <= 4) ObjectTextures = readObjectTextures(buffer, code);
    section("sprite marker");
    if (code >= 6) buffer.Skip(code == 6 ? 3 : 4);
    section("sprite textures");
    SpriteTextures = readCountedTable(buffer, 16);
    section("sprite sequences");
    SpriteSequences = readCountedTable(buffer, 8);
    section("palette");
    if (code == 2) buffer.ReadAll(Palette8.data(), Palette8.size());
    section("cameras");
    Cameras = readCountedTable(buffer, 16);
    section("flyby cameras");
    if (code >= 6) FlybyCameras = readCountedTable(buffer, 40);
    section("sound sources");
    SoundSources = readCountedTable(buffer, 16);
}

void TTombRaiderLevel::readBoxesAndEntities(TFileBuffer& buffer) {
    const int code = VersionCode;
    section("boxes");
    const auto boxCount = read<uint32_t>(buffer);
    Boxes = readTable(buffer, boxCount, code <= 2 ? 20 : 8);
    section("overlaps");
    Overlaps = readCountedTable(buffer, 2);
    section("zones");
    static constexpr int kClassicZoneSlots[6] = {0, 1, 4, 5, 6, 9};
    const int arrays = code <= 2 ? 6 : 10;
    for (int i = 0; i < arrays; ++i) Zones[size_t(code <= 2 ? kClassicZoneSlots[i] : i)] = readTable(buffer, boxCount, 2);
    section("animated textures");
    AnimatedTextures = readCountedTable(buffer, 2);
    section("texture marker");
    if (code >= 6) buffer.Skip(code == 6 ? 4 : 5);
    section("object textures");
    if (code >= 5) ObjectTextures = readObjectTextures(buffer, code);
    section("entities");
    Entities = readCountedTable(buffer, code <= 2 ? 22 : 24);
}

void TTombRaiderLevel::readTailSections(TFileBuffer& buffer) {
    const int code = VersionCode;
    section("light map");
    if (code <= 5) buffer.ReadAll(LightMap.data(), LightMap.size());
    section("palette");
    if (code == 1) buffer.ReadAll(Palette8.data(), Palette8.size());
    if (code >= 6) {
        section("AI objects");
        AIObjects = readCountedTable(buffer, 24);
    } else {
        section("cinematic frames");
        CinematicFrames = readTable(buffer, read<uint16_t>(buffer), 16);
    }
    section("demo data");
    DemoData = readTable(buffer, read<uint16_t>(buffer), 1);
    section("sound map");
    const auto soundMap = buffer.Take(code <= 2 ? 512 : code <= 6 ? 740 : 900);
    SoundMap.assign(soundMap.begin(), soundMap.end());
    section("sound details");
    SoundDetails = readCountedTable(buffer, 8);
    if (code <= 2) {
        section("samples");
        const auto block = buffer.Take(read<uint32_t>(buffer));
        SampleBlock.assign(block.begin(), block.end());
    }
    section("sample indices");
    SampleIndices = readCountedTable(buffer, 4);
}

// Codes 6-7: the sample block is every byte behind the level data (code 6 took it with its level
// data chunk). It is checked last, so that a level cut in its samples keeps everything else.
void TTombRaiderLevel::readSampleBlock(TFileBuffer& buffer) {
    if (VersionCode < 6) return;
    if (VersionCode == 7) {
        section("level data");
        buffer.SetEnd(buffer.Size());
        buffer.MoveTo(levelDataEnd_);
        sampleBlockAt_ = levelDataEnd_;
        sampleBlockBytes_ = bytes_;
        const auto tail = buffer.Take(buffer.Remaining());
        SampleBlock.assign(tail.begin(), tail.end());
    }
    bytes_ = sampleBlockBytes_;
    // A TR4 level may end with a later tool's trailer, found by its footer; the samples lie before it.
    // Without the footer, bytes after the samples that start as a trailer are one cut short.
    section("NG trailer");
    const uint32_t trailer = VersionCode == 6 ? trailerLength(SampleBlock, sampleBlockAt_) : 0;
    const std::span<const uint8_t> samples(SampleBlock.data(), SampleBlock.size() - trailer);
    section("samples");
    const uint64_t used = walkSampleBlock(samples, sampleBlockAt_);
    if (trailer) {
        Trailer = TLevelTrailer{sampleBlockAt_ + samples.size(), trailer};
        SampleBlock.resize(samples.size());
    } else if (VersionCode == 6 && startsAsTrailer(samples.subspan(used))) {
        section("NG trailer");
        throw ELevelFault(TLevelProblem::EndsEarly, sampleBlockAt_ + used,
                          std::to_string(samples.size() - used) + " bytes left and no \"NGLE\" end");
    }
}

}  // namespace grottix
