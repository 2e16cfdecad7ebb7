// Animations in the glTF exports, read back: one moveable with every one of its animations
// (--export-model), and the level's items playing their animations (--export-gltf --animations),
// for the versions whose tables differ.

#include <gtest/gtest.h>

#include <QJsonArray>

#include "app/cli/CommandLine.h"
#include "export/GlbTestReader.h"
#include "level_writer/LevelWriter.h"
#include "support/AnimatedLevel.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

class AnimationExport : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        level = dir.file(GetParam() == 1 ? "anim.phd" : GetParam() == 3 ? "anim.tr2" : GetParam() == 6 ? "anim.tr4" : "anim.trc");
        levelwriter::WriteLevelFile(test::AnimatedLevel(GetParam()), level);
    }
    test::TGlb run(const std::vector<std::string>& args, const std::string& out) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int code = RunCommandLine(args);
        printed = testing::internal::GetCapturedStdout();
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, 0) << errors;
        EXPECT_EQ(errors, "");
        test::TGlb glb = test::ReadGlb(out);
        EXPECT_TRUE(glb.faults.empty()) << glb.faults.front();
        return glb;
    }

    test::TempDir dir;
    std::string level, printed;
};

TEST_P(AnimationExport, AModelIsANodePerMeshWithEveryAnimationKeyedWithinItsFrames) {
    const std::string out = dir.file("model.glb");
    const test::TGlb glb = run({"--export-model", level, "30", out}, out);
    EXPECT_NE(printed.find("2 meshes, 2 animations"), std::string::npos) << printed;
    const QJsonArray nodes = glb.json["nodes"].toArray();
    ASSERT_EQ(nodes.size(), 2) << "a node per mesh";
    EXPECT_EQ(glb.json["scenes"].toArray()[0].toObject()["nodes"].toArray(), QJsonArray{0});
    EXPECT_EQ(nodes[0].toObject()["children"].toArray(), QJsonArray{1}) << "mesh 1 hangs from mesh 0";
    EXPECT_TRUE(nodes[0].toObject().contains("mesh") && nodes[1].toObject().contains("mesh"));

    const QJsonArray animations = glb.json["animations"].toArray();
    ASSERT_EQ(animations.size(), 2);
    const double lasts[] = {4.0 / 30, 4.0 / 30};  // frames 0-4 and 10-14
    for (int a = 0; a < 2; ++a) {
        const QJsonObject animation = animations[a].toObject();
        EXPECT_EQ(animation["name"].toString().toStdString(), a == 0 ? "anim 0 (state 1)" : "anim 1 (state 2)");
        const QJsonArray channels = animation["channels"].toArray();
        ASSERT_EQ(channels.size(), 3) << "the root's translation and a rotation per mesh";
        for (const auto& sampler : animation["samplers"].toArray()) {
            const std::vector<double> times = glb.accessor(sampler.toObject()["input"].toInt());
            ASSERT_EQ(times.size(), 2u) << "a key per key frame";
            EXPECT_EQ(times.front(), 0);
            EXPECT_NEAR(times.back(), lasts[a], 1e-6);
        }
    }
    // The first key of each channel is the pose the nodes stand in.
    const QJsonObject first = animations[0].toObject();
    for (const auto& c : first["channels"].toArray()) {
        const QJsonObject channel = c.toObject();
        const QJsonObject node = nodes[channel["target"].toObject()["node"].toInt()].toObject();
        const std::string path = channel["target"].toObject()["path"].toString().toStdString();
        const std::vector<double> values =
            glb.accessor(first["samplers"].toArray()[channel["sampler"].toInt()].toObject()["output"].toInt());
        const QJsonArray rest = node[QString::fromStdString(path)].toArray();
        ASSERT_EQ(rest.size(), path == "rotation" ? 4 : 3) << path;
        const double sign = path == "rotation" && values[3] * rest[3].toDouble() < 0 ? -1 : 1;
        for (int i = 0; i < rest.size(); ++i) EXPECT_NEAR(sign * values[size_t(i)], rest[i].toDouble(), 1e-6) << path;
    }
}

TEST_P(AnimationExport, LevelItemsPlayFromTheirFirstAnimationIntoTheIdleInOneAnimation) {
    const std::string still = dir.file("still.glb"), animated = dir.file("animated.glb");
    const test::TGlb plain = run({"--export-gltf", level, still}, still);
    EXPECT_FALSE(plain.json.contains("animations"));
    const test::TGlb glb = run({"--export-gltf", level, animated, "--animations"}, animated);
    EXPECT_NE(printed.find("1 items animated"), std::string::npos) << printed;
    EXPECT_EQ(glb.json["nodes"].toArray().size(), plain.json["nodes"].toArray().size() + 2) << "two mesh nodes under the item";
    const QJsonArray animations = glb.json["animations"].toArray();
    ASSERT_EQ(animations.size(), 1);
    EXPECT_EQ(animations[0].toObject()["name"].toString(), "items");
    ASSERT_EQ(animations[0].toObject()["channels"].toArray().size(), 3);
    // Animation 0's frames 0-4, then the idle's 10-14 until the sequence comes round (10 frames):
    // a key where each begins, at each key frame, at each one's last frame, and at the end.
    const std::vector<double> times = glb.accessor(animations[0].toObject()["samplers"].toArray()[0].toObject()["input"].toInt());
    const std::vector<double> expected = {0, 4.0 / 30, 5.0 / 30, 9.0 / 30, 10.0 / 30};
    ASSERT_EQ(times.size(), expected.size());
    for (size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i], expected[i], 1e-6) << i;
}

INSTANTIATE_TEST_SUITE_P(Codes, AnimationExport, ::testing::Values(1, 3, 6, 7));

}  // namespace
}  // namespace grottix
