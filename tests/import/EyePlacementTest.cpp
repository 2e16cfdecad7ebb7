// A go-to placement put into the scene: the point the placement looks at lies straight ahead in the
// view, and going back to where the eye just was still moves it.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/Scene.h"
#include "import/EyePlacement.h"
#include "level/LevelGoTo.h"

namespace grottix {
namespace {

TEST(EyePlacement, ThePointThePlacementLooksAtIsStraightAheadInTheView) {
    TD3DScene scene(nullptr);
    for (const double pitch : {0.6, -0.4}) {  // looking down, then up
        const TEyePlacement eye{1000, -500, 2000, 1.0, pitch, 0};
        PlaceEye(scene, eye, 128);
        // The point 1000 units ahead of the placement, in scene units relative to the eye.
        const double ahead[3] = {std::sin(eye.yaw) * std::cos(pitch) * 1000 / 128, -std::sin(pitch) * 1000 / 128,
                                 std::cos(eye.yaw) * std::cos(pitch) * 1000 / 128};
        const TD3DMatrix view = ViewRotationMatrix(scene.GetCameraRotation(), 0.5f);
        double seen[3] = {};
        for (int column = 0; column < 3; ++column)
            for (int row = 0; row < 3; ++row) seen[column] += ahead[row] * view.m[size_t(row)][size_t(column)];
        EXPECT_NEAR(seen[0], 0, 1e-3);
        EXPECT_NEAR(seen[1], 0, 1e-3);
        EXPECT_GT(seen[2], 7) << "in front of the eye";
    }
}

TEST(EyePlacement, GoingBackToThePreviousPlaceMovesTheEye) {
    TD3DScene scene(nullptr);
    const TEyePlacement first{128, -256, 384, 0, 0, 0}, second{1280, -256, 384, 0, 0, 1};
    PlaceEye(scene, first, 128);
    PlaceEye(scene, second, 128);
    PlaceEye(scene, first, 128);
    EXPECT_EQ(scene.GetCameraPosition(), (TD3DVector{1, 2, 3}));
}

}  // namespace
}  // namespace grottix
