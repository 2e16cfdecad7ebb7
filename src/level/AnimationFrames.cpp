#include "level/AnimationFrames.h"

#include "level/LevelAnimations.h"
#include "level/RawRecords.h"
#include "level/TombRaiderLevel.h"

namespace grottix {

namespace {

// Reads the frame words one by one; reading past the table fails the whole frame.
class FrameCursor {
public:
    FrameCursor(const TLevelTable& frames, uint64_t word) : frames_(frames), next_(word) {}
    bool word(uint16_t& out) {
        if (next_ >= RecordCount(frames_, 2)) return false;
        out = RawField<uint16_t>(frames_.bytes.data(), size_t(next_++) * 2);
        return true;
    }
    bool skip(uint64_t words) {
        next_ += words;
        return next_ <= RecordCount(frames_, 2);
    }
    uint64_t at() const { return next_; }

private:
    const TLevelTable& frames_;
    uint64_t next_;
};

// Three angles of 10 bits each (1024 to a turn): x in bits 20-29, y in 10-19, z in 0-9.
TMeshRotation threeAxes(uint32_t packed) {
    return {double((packed >> 20) & 0x3FF) / 1024, double((packed >> 10) & 0x3FF) / 1024, double(packed & 0x3FF) / 1024};
}

bool readRotation(FrameCursor& in, int code, TMeshRotation& out) {
    uint16_t first = 0, second = 0;
    if (!in.word(first)) return false;
    if (code <= 2) {
        if (!in.word(second)) return false;
        out = threeAxes(uint32_t(second) << 16 | first);
        return true;
    }
    const int axis = first >> 14;
    if (axis == 0) {
        if (!in.word(second)) return false;
        out = threeAxes(uint32_t(first) << 16 | second);
        return true;
    }
    const double angle = code >= 6 ? double(first & 0x0FFF) / 4096 : double(first & 0x03FF) / 1024;
    out = {};
    (axis == 1 ? out.x : axis == 2 ? out.y : out.z) = angle;
    return true;
}

}  // namespace

std::optional<TFramePose> ReadFrameAt(const TTombRaiderLevel& level, uint64_t word, size_t meshCount, uint64_t* wordsRead) {
    FrameCursor in(level.Frames, word);
    TFramePose pose;
    uint16_t value = 0;
    for (auto& c : pose.box) {
        if (!in.word(value)) return std::nullopt;
        c = int16_t(value);
    }
    for (auto& c : pose.offset) {
        if (!in.word(value)) return std::nullopt;
        c = int16_t(value);
    }
    if (level.VersionCode <= 2 && !in.skip(1)) return std::nullopt;  // the rotation count
    pose.rotations.resize(meshCount);
    for (auto& rotation : pose.rotations)
        if (!readRotation(in, level.VersionCode, rotation)) return std::nullopt;
    if (wordsRead) *wordsRead = in.at() - word;
    return pose;
}

uint64_t KeyFrameWords(int versionCode, const TAnimation& animation, size_t meshCount) {
    return versionCode <= 2 ? 10 + 2 * uint64_t(meshCount) : animation.frameSize;
}

size_t KeyFrameCount(const TAnimation& animation) {
    if (animation.frameRate == 0 || animation.frameEnd < animation.frameStart) return 1;
    const size_t length = size_t(animation.frameEnd - animation.frameStart), rate = animation.frameRate;
    return (length + rate - 1) / rate + 1;
}

std::optional<std::vector<TFramePose>> ReadKeyFrames(const TTombRaiderLevel& level, const TAnimation& animation,
                                                     size_t meshCount, std::string& problem) {
    if (animation.frameRate == 0 || animation.frameEnd < animation.frameStart) {
        problem = "no frames to key";
        return std::nullopt;
    }
    if (animation.frameOffset % 2) {
        problem = "frame offset " + std::to_string(animation.frameOffset) + " is odd";
        return std::nullopt;
    }
    // A key frame takes at least a word a rotation: a smaller frame size is damage, and with it the
    // key frames' words bound how many there can be before any is read.
    const uint64_t stride = KeyFrameWords(level.VersionCode, animation, meshCount);
    const uint64_t least = (level.VersionCode <= 2 ? 10 : 9) + uint64_t(meshCount);
    if (stride < least) {
        problem = "frame size " + std::to_string(stride) + " below the " + std::to_string(least) + " words of a frame";
        return std::nullopt;
    }
    const uint64_t first = animation.frameOffset / 2, held = RecordCount(level.Frames, 2);
    const size_t count = KeyFrameCount(animation);
    // The last key frame of an animation whose frames do not divide by its rate may be missing at
    // the end of the table: the one before it stands in.
    const bool spareLast = (animation.frameEnd - animation.frameStart) % animation.frameRate != 0;
    const size_t needed = count - (spareLast ? 1 : 0);
    if (first + (needed - 1) * stride + least > held) {
        problem = "key frame " + std::to_string(needed - 1) + " lies outside the frames (" + std::to_string(held * 2) + " bytes)";
        return std::nullopt;
    }
    std::vector<TFramePose> keys;
    keys.reserve(count);
    for (size_t k = 0; k < count; ++k) {
        uint64_t words = 0;
        auto key = ReadFrameAt(level, first + k * stride, meshCount, &words);
        if (!key && k + 1 == count && spareLast) {
            keys.push_back(keys.back());
            break;
        }
        if (!key) {
            problem = "key frame " + std::to_string(k) + " lies outside the frames (" + std::to_string(held * 2) + " bytes)";
            return std::nullopt;
        }
        if (words > stride) {
            problem = "key frame " + std::to_string(k) + " of " + std::to_string(words) + " words, frame size " + std::to_string(stride);
            return std::nullopt;
        }
        keys.push_back(std::move(*key));
    }
    return keys;
}

}  // namespace grottix
