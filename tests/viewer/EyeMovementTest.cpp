#include <gtest/gtest.h>

#include <cmath>

#include <numbers>

#include "viewer/EyeMovement.h"
#include "engine/Scene.h"

namespace grottix {
namespace {

TDXInputStates holding(std::initializer_list<TDXInputState> states) {
    TDXInputStates set;
    for (TDXInputState state : states) set.Include(state);
    return set;
}

class EyeMovementTest : public ::testing::Test {
protected:
    void hold(std::initializer_list<TDXInputState> states, double seconds, bool active = true) {
        movement.ProcessInput(scene, holding(states), movement.LastInputTime + seconds, active);
    }
    TD3DScene scene{nullptr};
    TEyeMovement movement{100.0, -1000, std::nullopt, std::nullopt};
};

TEST_F(EyeMovementTest, WalkingCoversTwelveUnitsASecondAndRunningTwentyFour) {
    hold({InputUp}, 1);
    EXPECT_NEAR(scene.EyePosition.z, 12, 1e-4);
    hold({InputUp, InputButton5}, 1);
    EXPECT_NEAR(scene.EyePosition.z, 36, 1e-4);
    hold({InputDown}, 0.5);
    EXPECT_NEAR(scene.EyePosition.z, 30, 1e-4);
}

TEST_F(EyeMovementTest, TurningCoversHalfATurnASecondWalkingOrRunning) {
    hold({InputRight}, 0.5);
    EXPECT_NEAR(scene.EyeRotation.y, std::numbers::pi / 2, 1e-5);
    hold({InputLeft, InputButton5}, 0.25);
    EXPECT_NEAR(scene.EyeRotation.y, std::numbers::pi / 4, 1e-5);
    hold({InputUp}, 1);
    EXPECT_NEAR(scene.EyePosition.x, 12 * std::sin(std::numbers::pi / 4), 1e-4) << "walking follows the yaw";
}

TEST_F(EyeMovementTest, TheFirstKeyOfEachPairWins) {
    hold({InputLeft, InputRight, InputUp, InputDown, InputButton3, InputButton4, InputButton1, InputButton2}, 0.1);
    EXPECT_LT(scene.EyeRotation.y, 0) << "left over right";
    EXPECT_LT(scene.EyeRotation.x, 0) << "button 1 over button 2";
    EXPECT_GT(scene.EyePosition.y, 0) << "button 3 over button 4";
    EXPECT_LT(scene.EyePosition.z, 0 + 1.3) << "up over down";
    EXPECT_GT(scene.EyePosition.z, 0) << "up over down";
}

TEST_F(EyeMovementTest, Button6PutsTheEyeBackAtTheStartOnceALevelGaveOne) {
    hold({InputUp, InputRight}, 1);
    const TD3DVector walked = scene.EyePosition;
    hold({InputButton6}, 0.1);
    EXPECT_EQ(scene.EyePosition, walked) << "no start without a level";
    movement.Start = TEyePlace{{1, 2, 3}, {0.5f, 1, 0}};
    hold({InputButton6, InputUp}, 0.1);
    EXPECT_EQ(scene.EyePosition, (TD3DVector{1, 2, 3}));
    EXPECT_EQ(scene.EyeRotation, (TD3DVector{0.5f, 1, 0}));
}

TEST_F(EyeMovementTest, PitchStopsAtAQuarterTurnAndYawWraps) {
    hold({InputButton2}, 0.7);
    EXPECT_EQ(scene.EyeRotation.x, 1.5707964f);
    hold({InputButton1}, 2);
    EXPECT_EQ(scene.EyeRotation.x, -1.5707964f);
    hold({InputRight}, 1.25);
    EXPECT_NEAR(scene.EyeRotation.y, -0.75 * std::numbers::pi, 1e-5) << "225 degrees wraps to -135";
}

TEST_F(EyeMovementTest, TheFloorStopsTheDescent) {
    hold({InputButton4}, 1000);
    EXPECT_EQ(scene.EyePosition.y, -999.5f);
    hold({InputButton4}, 1);
    EXPECT_EQ(scene.EyePosition.y, -999.5f);
}

TEST_F(EyeMovementTest, AnInactiveWindowIgnoresKeysAndLetsTimeAccumulate) {
    const double before = movement.LastInputTime;
    hold({InputUp}, 1, false);
    EXPECT_EQ(scene.EyePosition, TD3DVector{});
    EXPECT_EQ(movement.LastInputTime, before);
    movement.ProcessInput(scene, holding({InputUp}), before + 2, true);
    EXPECT_NEAR(scene.EyePosition.z, 24, 1e-4) << "the whole elapsed time applies";
    movement.ProcessInput(scene, holding({InputUp}), before + 2, true);
    EXPECT_NEAR(scene.EyePosition.z, 24, 1e-4) << "no time, no move";
}

// Orbiting, the keys turn the eye round the centre, always looking at it, and + and - change only
// how far it stands.
TEST_F(EyeMovementTest, OrbitKeysTurnRoundTheCentreLookingAtIt) {
    const TD3DVector centre{10, 2, -4};
    movement.Orbit = TOrbitCamera::Around(centre, {10, 2, -20}, {});
    const auto looksAtCentre = [&] {
        const TD3DVector eye = scene.EyePosition, angles = scene.EyeRotation;
        const TD3DVector ahead{std::sin(angles.y) * std::cos(angles.x), std::sin(angles.x), std::cos(angles.y) * std::cos(angles.x)};
        return DistanceBetween(eye + ahead * DistanceBetween(eye, centre), centre) < 1e-3f;
    };
    for (const auto state : {InputLeft, InputUp, InputButton2, InputRight, InputDown}) {
        hold({state}, 0.3);
        EXPECT_NEAR(DistanceBetween(scene.EyePosition, centre), 16, 1e-3) << state;
        EXPECT_TRUE(looksAtCentre()) << state;
    }
    hold({InputButton3}, 0.5);
    EXPECT_LT(DistanceBetween(scene.EyePosition, centre), 16) << "+ comes nearer";
    EXPECT_TRUE(looksAtCentre());
    hold({InputButton2}, 10);
    EXPECT_LT(scene.EyeRotation.x, 1.5708f) << "never straight up";
}

}  // namespace
}  // namespace grottix
