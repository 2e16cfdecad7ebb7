// Which cells the eye sees through portals: the walk narrows its window portal by portal, shows
// only the cells shown (or their alternates), draws the cells whose faces lie on walls in view, and
// stays bounded and safe on nonsense portals.

#include <gtest/gtest.h>

#include "engine/CellVisibility.h"

namespace grottix {
namespace {

// A cell 10 units on a side along z: cell i spans z from 10 i to 10 (i + 1).
TCell box(int i) {
    TCell cell;
    cell.Min = {-5, -5, float(10 * i)};
    cell.Max = {5, 5, float(10 * (i + 1))};
    return cell;
}

// A square opening of half-size h, centred at (x, y), across z = 10 (i + 1), from cell i to i + 1.
TCellPortal ahead(int i, float h = 1, float x = 0, float y = 0) {
    TCellPortal portal;
    const float z = float(10 * (i + 1));
    portal.Corners = {TD3DVector{x - h, y - h, z}, {x + h, y - h, z}, {x + h, y + h, z}, {x - h, y + h, z}};
    portal.Normal = {0, 0, -1};
    portal.Beyond = i + 1;
    return portal;
}

// Cells in a row along z, each joined to the next; the eye in cell 0 looks down the row.
TCellVisibility row(int cells) {
    TCellVisibility v;
    for (int i = 0; i < cells; ++i) {
        v.Cells.push_back(box(i));
        if (i + 1 < cells) v.Cells.back().Portals.push_back(ahead(i));
    }
    return v;
}

const TD3DVector kEye{0, 0, 5}, kAhead{0, 0, 0}, kBehind{0, 3.14159f, 0};

std::vector<uint8_t> see(const TCellVisibility& v, TD3DVector eye, TD3DVector angles, std::vector<uint8_t> shown = {}) {
    return v.VisibleCells(eye, angles, 0.5f, shown);
}

TEST(CellVisibility, TheEyeSeesDownAChainOfPortalsInFrontAndNothingBehindIt) {
    const TCellVisibility v = row(4);
    EXPECT_EQ(see(v, kEye, kAhead), (std::vector<uint8_t>{1, 1, 1, 1}));
    EXPECT_EQ(see(v, kEye, kBehind), (std::vector<uint8_t>{1, 0, 0, 0}));
    // From cell 2 the portal back to cell 1 faces away: nothing before it is seen.
    TCellVisibility both = row(3);
    TCellPortal back = ahead(0);
    back.Normal = {0, 0, 1};
    back.Beyond = 0;
    both.Cells[1].Portals.push_back(back);
    EXPECT_EQ(see(both, {0, 0, 25}, kAhead), (std::vector<uint8_t>{0, 0, 1}));
}

TEST(CellVisibility, APortalOutsideTheWindowOfThePortalsBeforeItIsNotPassed) {
    TCellVisibility v = row(3);
    // The second opening is on screen, but not through the first (small, in the middle).
    v.Cells[1].Portals[0] = ahead(1, 1, 6, 0);
    EXPECT_EQ(see(v, kEye, kAhead), (std::vector<uint8_t>{1, 1, 0}));
    // Widening the first opening brings it into the window.
    v.Cells[0].Portals[0] = ahead(0, 4);
    EXPECT_EQ(see(v, kEye, kAhead), (std::vector<uint8_t>{1, 1, 1}));
}

TEST(CellVisibility, APortalTheEyeStandsInOrCrossesTheNearPlaneShowsTheWholeWindow) {
    TCellVisibility v = row(3);
    v.Cells[1].Portals[0] = ahead(1, 1, 6, 0);
    // At the opening's plane, looking along it: the first portal is edge-on, yet what lies beyond is seen.
    EXPECT_EQ(see(v, {0, 0, 10}, kAhead), (std::vector<uint8_t>{1, 1, 1}));
    // A portal beside the eye that reaches behind it, turned so its corners straddle the eye plane.
    TCellVisibility side = row(2);
    side.Cells[0].Portals[0].Corners = {TD3DVector{3, -1, 2}, {3, -1, 8}, {3, 1, 8}, {3, 1, 2}};
    side.Cells[0].Portals[0].Normal = {-1, 0, 0};
    EXPECT_EQ(see(side, {0, 0, 6}, {0, 1.2f, 0}), (std::vector<uint8_t>{1, 1}));
    // Closer to the cell's back than the near distance, the eye sees through its cut-away wall.
    EXPECT_EQ(see(row(2), {0, 0, 0.3f}, kBehind), (std::vector<uint8_t>{1, 1}));
    EXPECT_EQ(see(row(2), {0, 0, 1.5f}, kBehind), (std::vector<uint8_t>{1, 0}));
}

TEST(CellVisibility, TheEyeStandsInTheSmallestBoxAndAnEyeInNoCellSeesEveryCellShown) {
    TCellVisibility v = row(2);
    TCell big = box(0);
    big.Min = {-50, -50, -50};
    big.Max = {50, 50, 50};
    v.Cells.push_back(big);
    EXPECT_EQ(v.EyeCell(kEye, {}), 0);
    EXPECT_EQ(v.EyeCell({40, 0, 0}, {}), 2);
    EXPECT_EQ(v.EyeCell(kEye, {0, 1, 1}), 2);
    EXPECT_EQ(v.EyeCell({0, 0, 500}, {}), -1);
    EXPECT_EQ(see(v, {0, 0, 500}, kAhead, {1, 0, 1}), (std::vector<uint8_t>{1, 0, 1}));
}

TEST(CellVisibility, APortalToACellNotShownLeadsIntoItsAlternate) {
    TCellVisibility v = row(3);
    TCell alternate = box(1);
    alternate.Portals.push_back(ahead(1));
    v.Cells.push_back(alternate);  // cell 3 stands where cell 1 does
    v.Cells[1].Alternate = 3;
    v.Cells[3].Alternate = 1;
    EXPECT_EQ(see(v, kEye, kAhead, {1, 1, 1, 0}), (std::vector<uint8_t>{1, 1, 1, 0}));
    EXPECT_EQ(see(v, kEye, kAhead, {1, 0, 1, 1}), (std::vector<uint8_t>{1, 0, 1, 1}));
    EXPECT_EQ(see(v, kEye, kAhead, {1, 0, 1, 0}), (std::vector<uint8_t>{1, 0, 0, 0}));
}

TEST(CellVisibility, ACellWithFacesOnTheWallOfACellInViewIsDrawnButNotWalkedFrom) {
    TCellVisibility v = row(1);
    TCell side = box(0), beyond = box(0);
    side.Min.x = 5, side.Max.x = 15, beyond.Min.x = 15, beyond.Max.x = 25;
    TCellPortal onward = ahead(0);
    onward.Corners = {TD3DVector{15, -1, 4}, {15, -1, 6}, {15, 1, 6}, {15, 1, 4}};
    onward.Normal = {-1, 0, 0};
    onward.Beyond = 2;
    side.Portals.push_back(onward);
    v.Cells.push_back(side);    // cell 1 beside cell 0, its wall back to back with cell 0's at x = 5,
    v.Cells.push_back(beyond);  // and cell 2 beyond it
    const TD3DVector a{5, -5, 0}, b{5, 5, 0}, c{5, 5, 10}, d{5, -5, 10};
    const std::vector<TD3DVector> faces{a, b, c, a, c, d, a + TD3DVector{9, 0, 0}, b + TD3DVector{9, 0, 0}, c + TD3DVector{9, 0, 0}};
    v.AddFaces(1, {{faces.data(), faces.size()}});
    v.AddBox(2, {20, -1, 4}, {22, 1, 6});  // a sprite inside its own cell touches no other
    ASSERT_EQ(v.Cells[0].Contacts.size(), 1u);
    EXPECT_TRUE(v.Cells[1].Contacts.empty() && v.Cells[2].Contacts.empty());
    const float right = 3.14159f / 2;
    EXPECT_EQ(see(v, kEye, {0, right, 0}), (std::vector<uint8_t>{1, 1, 0}));
    EXPECT_EQ(see(v, kEye, {0, -right, 0}), (std::vector<uint8_t>{1, 0, 0}));
    EXPECT_EQ(see(v, kEye, {0, right, 0}, {1, 0, 1}), (std::vector<uint8_t>{1, 0, 0}));
}

TEST(CellVisibility, NonsensePortalsAreWalkedSafely) {
    TCellVisibility v = row(2);
    TCellPortal nowhere = ahead(0), negative = ahead(0), point = ahead(0), self = ahead(0), back = ahead(0);
    nowhere.Beyond = 99;
    negative.Beyond = -7;
    point.Corners.fill({0, 0, 10});
    point.Normal = {0, 0, 0};
    self.Beyond = 0;
    back.Beyond = 0;
    for (const TCellPortal& p : {nowhere, negative, point, self}) v.Cells[0].Portals.push_back(p);
    v.Cells[1].Portals = {back, back, self};  // loops back, many times
    for (int i = 0; i < 200; ++i) v.Cells[1].Portals.push_back(back);
    EXPECT_EQ(see(v, kEye, kAhead), (std::vector<uint8_t>{1, 1}));
    // A cell no portal reaches is still drawn when the eye stands in it; with no portal at all, every cell is.
    TCellVisibility lone = row(2);
    lone.Cells.push_back(box(5));
    EXPECT_EQ(see(lone, {0, 0, 55}, kAhead), (std::vector<uint8_t>{0, 0, 1}));
    lone.Cells[0].Portals.clear();
    EXPECT_EQ(see(lone, {0, 0, 55}, kAhead), (std::vector<uint8_t>{1, 1, 1}));
}

}  // namespace
}  // namespace grottix
