// Damaged worlds: however a world is cut or corrupted, reading it either succeeds or raises the
// program's error; nothing is read outside the data and no count is trusted before it is checked.
#include <gtest/gtest.h>

#include <random>

#include "engine/WorldFileFixtures.h"
#include "engine/WorldFileStream.h"

namespace grottix {
namespace {

using test::StreamBuilder;

bool loads(const std::vector<uint8_t>& bytes) {
    TD3DScene scene{nullptr};
    TMemoryStream stream(bytes);
    try {
        scene.LoadFromStream(stream, 119);
        return true;
    } catch (const EGrottixError&) {
        return false;
    }
}

TEST(DamagedWorld, ACutInsideTheObjectsRaisesAndACutLaterLoadsOnlyBetweenSections) {
    TD3DScene scene{nullptr};
    test::fillWithEveryItem(scene);
    const std::vector<uint8_t> whole = test::worldBytes(scene);
    scene.DeleteLight(0);
    scene.DeleteData(0);
    scene.DeleteAction(0);
    const size_t reservedEnd = test::worldBytes(scene).size() - 16;

    for (size_t length = 9; length < reservedEnd; ++length)
        EXPECT_FALSE(loads({whole.begin(), whole.begin() + std::ptrdiff_t(length)})) << length;
    int complete = 0;
    for (size_t length = reservedEnd; length <= whole.size(); ++length)
        complete += loads({whole.begin(), whole.begin() + std::ptrdiff_t(length)});
    EXPECT_EQ(complete, 5) << "after the reserved word, the data items, the name list, the actions and the lights";
}

TEST(DamagedWorld, CountsAndLengthsBeyondTheDataRaiseBeforeAnythingIsSized) {
    const auto world = [](int32_t blockLength) {
        return StreamBuilder().text("D3DWORLD").put<int32_t>(119).put<int32_t>(blockLength);
    };
    const auto polygon = [&](int16_t vertices) {
        return world(0).put<int32_t>(1).put<uint8_t>(4).put<int16_t>(0).put<uint8_t>(1).zeros(29).put(vertices).zeros(15);
    };
    const auto tail = [&] { return world(0).put<int32_t>(0).put<int32_t>(0); };
    const std::vector<std::vector<uint8_t>> damaged = {
        world(0x7FFFFFFF).bytes(),
        world(-1).bytes(),
        world(0).put<int32_t>(0x7FFFFFFF).put<uint8_t>(0).bytes(),
        world(0).put<int32_t>(1).put<uint8_t>(2).put<int16_t>(0x7FFF).bytes(),
        world(0).put<int32_t>(1).put<uint8_t>(2).put<int16_t>(-1).bytes(),
        polygon(-5).bytes(),
        polygon(0x7FFF).bytes(),
        world(0).put<int32_t>(1).put<uint8_t>(9).zeros(100).bytes(),
        world(0).put<int32_t>(1).put<uint8_t>(7).text("no end").bytes(),
        tail().put<int32_t>(0x10000000).zeros(8).bytes(),
        tail().put<int32_t>(1).put<uint8_t>(200).text("short").bytes(),
        tail().put<int32_t>(0).put<int32_t>(0).put<int32_t>(2).zeros(55).bytes(),
        tail().put<int32_t>(0).put<int32_t>(0).put<int32_t>(0).put<int32_t>(1).zeros(32).bytes(),
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        TD3DScene scene{nullptr};
        TMemoryStream stream(damaged[i]);
        EXPECT_THROW(scene.LoadFromStream(stream, 119), EWorldFileError) << "world " << i;
    }

    TD3DScene scene{nullptr};
    TMemoryStream stream(world(0).put<int32_t>(1000).put<uint8_t>(0).bytes());
    try {
        scene.LoadFromStream(stream, 119);
        ADD_FAILURE();
    } catch (const EWorldFileError& error) {
        EXPECT_STREQ(error.what(), "World data ends inside the objects");
    }
}

TEST(DamagedWorld, ChangedBytesAnywhereLoadOrRaise) {
    TD3DScene scene{nullptr};
    test::fillWithEveryItem(scene);
    const std::vector<uint8_t> whole = test::worldBytes(scene);
    std::mt19937 random(2024);
    for (int round = 0; round < 400; ++round) {
        std::vector<uint8_t> bytes = whole;
        for (int change = 0; change < 1 + round % 3; ++change)
            bytes[random() % bytes.size()] = uint8_t(random() % 4 == 0 ? 0xFF : random());
        loads(bytes);
    }
}

}  // namespace
}  // namespace grottix
