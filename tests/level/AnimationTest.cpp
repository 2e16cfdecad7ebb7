// The animation tables of every version: records, commands and key frames as each code packs them,
// posing between key frames and from one animation to the next, and damaged tables reported with
// the item left in its first frame.

#include <gtest/gtest.h>

#include <memory>

#include "level/AnimationPose.h"
#include "level/LevelAnimations.h"
#include "level/TombRaiderLevel.h"
#include "level/LevelFixtures.h"
#include "support/AnimatedLevel.h"

namespace grottix {
namespace {

using levelwriter::LevelDescription;

class AnimationTest : public ::testing::TestWithParam<int> {
protected:
    int code() const { return GetParam(); }
    void load(const LevelDescription& description) {
        library.reset();
        level = TTombRaiderLevel();
        ASSERT_EQ(level.LoadLevelFromBytes(levelwriter::WriteLevel(description), test::FileNameFor(code())), 0);
        library = std::make_unique<TAnimationLibrary>(level);
        played = &library->Moveable(0);
    }

    TTombRaiderLevel level;
    std::unique_ptr<TAnimationLibrary> library;
    const TMoveableAnimations* played = nullptr;
};

void expectTurn(const TMeshRotation& r, double x, double y, double z, const char* what) {
    EXPECT_NEAR(r.x, x, 1e-12) << what;
    EXPECT_NEAR(r.y, y, 1e-12) << what;
    EXPECT_NEAR(r.z, z, 1e-12) << what;
}

TEST_P(AnimationTest, RecordsCommandsAndKeyFramesDecodeAsEachCodePacksThem) {
    load(test::AnimatedLevel(code()));
    const TLevelAnimations& tables = library->Tables();
    EXPECT_TRUE(library->Damage().empty());
    ASSERT_EQ(tables.animations.size(), 2u);
    const TAnimation& start = tables.animations[0];
    EXPECT_EQ(start.state, 1);
    EXPECT_EQ(start.speed, 65536);
    EXPECT_EQ(start.lateralSpeed, code() >= 6 ? -65536 : 0) << "lateral speeds only in the 40-byte records";
    EXPECT_EQ(start.nextAnimation, 1);
    EXPECT_EQ(start.nextFrame, 10);
    ASSERT_EQ(tables.commands[0].size(), 2u);
    EXPECT_EQ(tables.commands[0][0].kind, uint16_t(TAnimCommandKind::Sound));
    EXPECT_EQ(tables.commands[0][0].operands, (std::array<int16_t, 3>{2, 7, 0}));
    EXPECT_EQ(tables.commands[0][1].kind, uint16_t(TAnimCommandKind::PositionShift));
    EXPECT_EQ(tables.commands[0][1].operands, (std::array<int16_t, 3>{0, 0, 256}));
    ASSERT_EQ(tables.animations[1].stateChangeCount, 1);
    EXPECT_EQ(tables.dispatches[tables.stateChanges[0].firstDispatch].high, 14);

    EXPECT_EQ(played->OwnAnimations(), 2u);
    const TAnimationClip* clip = played->Clip(0);
    ASSERT_TRUE(clip);
    ASSERT_EQ(clip->keys.size(), 2u);
    const TFramePose& key = clip->keys[0];
    EXPECT_EQ(key.offset, (std::array<int16_t, 3>{10, 20, 30}));
    expectTurn(key.rotations[0], 0.25, 0.875, 0.125, "three axes");
    if (code() <= 2) expectTurn(key.rotations[1], 1.0 / 1024, 2.0 / 1024, 3.0 / 1024, "two words, the low word first");
    else expectTurn(key.rotations[1], 0, test::FineTurn(code()), 0, "y alone, in the code's step");
    EXPECT_EQ(clip->keys[1].offset, (std::array<int16_t, 3>{20, 40, 60}));
    expectTurn(clip->keys[1].rotations[1], 0, 0, 0, "the second key frame, a frame size on");

    // At time 0 the item shows exactly the first frame the level showed before it moved.
    const TAnimationPose first = PoseMoveableAt(*played, 0, 0);
    ASSERT_TRUE(played->FirstFrame());
    EXPECT_EQ(first.rotations.size(), played->FirstFrame()->rotations.size());
    for (size_t m = 0; m < first.rotations.size(); ++m) {
        EXPECT_EQ(first.rotations[m].x, played->FirstFrame()->rotations[m].x);
        EXPECT_EQ(first.rotations[m].y, played->FirstFrame()->rotations[m].y);
        EXPECT_EQ(first.rotations[m].z, played->FirstFrame()->rotations[m].z);
    }
}

TEST_P(AnimationTest, HalfwayBetweenKeyFramesAndOnToTheNextAnimation) {
    load(test::AnimatedLevel(code()));
    // Frame 2 of animation 0, halfway from key 0 to key 1: the offset halfway, each axis turned
    // half the shorter way (y from 7/8 to 0 goes on past a whole turn).
    const TAnimationPose half = PoseMoveableAt(*played, 0, 2 / kGameFramesPerSecond);
    EXPECT_NEAR(half.offset[0], 15, 1e-9);
    EXPECT_NEAR(half.offset[2], 45, 1e-9);
    expectTurn(half.rotations[0], 0.125, 0.9375, 0.0625, "halfway, the short way round");

    // Animation 0 shows frames 0-4, one game frame each, then goes on to the idle at frame 10,
    // which plays 10-14 and comes back to itself.
    const TAnimationRun run(*played, 0);
    ASSERT_TRUE(run.Animated());
    ASSERT_EQ(run.Segments().size(), 2u);
    EXPECT_EQ(run.LoopSegment(), 1u);
    EXPECT_EQ(run.LoopStart(), 5);
    EXPECT_EQ(run.Period(), 5);
    EXPECT_EQ(run.At(4.5), (std::pair<size_t, double>{0, 4.0})) << "the last frame holds for its game frame";
    EXPECT_EQ(run.At(5), (std::pair<size_t, double>{1, 10.0}));
    EXPECT_EQ(run.At(5 + 5 * 7 + 2), (std::pair<size_t, double>{1, 12.0})) << "the idle loops";
    TAnimationPose later;
    run.PoseAt((5 + 5 * 7 + 2) / kGameFramesPerSecond, later);
    EXPECT_NEAR(later.offset[0], 15, 1e-9);

    const TAnimationRun idle(*played, 1);
    EXPECT_EQ(idle.Segments().size(), 1u);
    EXPECT_EQ(idle.LoopStart(), 0);
    EXPECT_EQ(idle.Period(), 5);
}

TEST_P(AnimationTest, DamagedTablesAreReportedAndTheItemKeepsItsFirstFrame) {
    struct Case {
        const char* what;
        void (*damage)(LevelDescription&);
        const char* section;
    };
    const Case cases[] = {
        {"next animation beyond the table", [](LevelDescription& d) { (*d.animationList)[1].nextAnimation = 9; }, "animations"},
        {"next frame outside the next animation", [](LevelDescription& d) { (*d.animationList)[0].nextFrame = 99; }, "animations"},
        {"frame rate 0", [](LevelDescription& d) { (*d.animationList)[1].frameRate = 0; }, "animations"},
        {"state changes beyond the table", [](LevelDescription& d) { (*d.animationList)[1].stateChangeCount = 3; }, "animations"},
        {"dispatch to an animation beyond the table", [](LevelDescription& d) { (*d.animDispatches)[0][2] = 7; }, "animations"},
        {"command running off its table", [](LevelDescription& d) { d.animCommands->pop_back(); }, "animations"},
        {"unknown command", [](LevelDescription& d) { (*d.animCommands)[0] = 9; }, "animations"},
        {"key frames beyond the frames", [](LevelDescription& d) { (*d.animationList)[1].frameEnd = 400; }, "frames"},
        {"frame size below a frame", [](LevelDescription& d) { (*d.animationList)[1].frameSize = 4; }, ""},
    };
    for (const Case& c : cases) {
        LevelDescription description = test::AnimatedLevel(code());
        c.damage(description);
        load(description);
        const std::vector<TLevelDamage>& all = library->Damage();
        EXPECT_EQ(played->Damage().size(), all.size()) << c.what << ": the moveable's own";
        if (code() <= 2 && std::string(c.section).empty()) {
            EXPECT_TRUE(all.empty()) << c.what << ": codes 1-2 have no frame size";
            continue;
        }
        ASSERT_EQ(all.size(), 1u) << c.what;
        if (*c.section) {
            EXPECT_EQ(all[0].Section, c.section) << c.what;
        }
        EXPECT_EQ(all[0].Bytes, TLevelBytes::Table) << c.what;
        EXPECT_NE(all[0].Describe().find("animation "), std::string::npos) << all[0].Describe();

        const TAnimationRun run(*played, 0);
        EXPECT_FALSE(run.Animated()) << c.what;
        TAnimationPose pose;
        run.PoseAt(1.5, pose);
        ASSERT_TRUE(played->FirstFrame()) << c.what;
        EXPECT_EQ(pose.offset, (std::array<double, 3>{10, 20, 30})) << c.what;
        expectTurn(pose.rotations[0], 0.25, 0.875, 0.125, c.what);
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, AnimationTest, ::testing::Values(1, 2, 3, 4, 5, 6, 7));

}  // namespace
}  // namespace grottix
