// The Lights, Static Meshes, Cameras and Sound Sources tables and Find over levels the level writer
// builds: the fields each game stores, values a file gets wrong shown as such, sort keys.

#include <gtest/gtest.h>

#include <QColor>

#include "app/panels/FindDock.h"
#include "app/panels/LevelTableDock.h"
#include "app/panels/PlacementModels.h"
#include "level/TombRaiderLevel.h"
#include "support/PlacementLevel.h"

namespace grottix {
namespace {

using TKind = TSelection::TKind;

std::shared_ptr<const TInspectedLevel> inspect(const levelwriter::LevelDescription& description) {
    static const char* const names[] = {"", "a.phd", "a.tub", "a.tr2", "a.trg", "a.tr2", "a.tr4", "a.trc"};
    auto level = std::make_shared<TTombRaiderLevel>();
    EXPECT_EQ(level->LoadLevelFromBytes(levelwriter::WriteLevel(description), names[description.code]), 0);
    return TInspectedLevel::Read(level);
}

QVariant at(const QAbstractItemModel& model, int row, int column, int role = Qt::DisplayRole) {
    return model.data(model.index(row, column), role);
}

bool shown(const QAbstractItemModel& model, int column) { return model.headerData(column, Qt::Horizontal, kColumnShownRole).toBool(); }

TEST(PlacementPanelModels, LightsShowTheFieldsTheirGameStoresAndWhatIsWrong) {
    TLightsModel model;
    model.SetLevel(inspect(test::PlacementLevel(1)));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(at(model, 0, TLightsModel::Y).toInt(), -1024);
    EXPECT_EQ(at(model, 0, TLightsModel::Fade).toString(), "1536");
    EXPECT_TRUE(shown(model, TLightsModel::Intensity));
    for (int column : {TLightsModel::Colour, TLightsModel::Out, TLightsModel::Direction, TLightsModel::Problem})
        EXPECT_FALSE(shown(model, column)) << "TR1 stores no " << model.headerData(column, Qt::Horizontal).toString().toStdString();

    levelwriter::LevelDescription tr4 = test::PlacementLevel(6);
    levelwriter::Light spot{512, -256, 0};
    spot.type = 9;  // no TR4 light has this type
    spot.out = 3000;
    tr4.rooms[0].lightList->push_back(spot);
    model.SetLevel(inspect(tr4));
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(at(model, 0, TLightsModel::Colour).toString(), "255, 128, 0");
    EXPECT_EQ(at(model, 0, TLightsModel::Colour, Qt::DecorationRole).value<QColor>(), QColor(255, 128, 0)) << "a swatch";
    EXPECT_EQ(at(model, 0, TLightsModel::Out).toString(), "1536");
    EXPECT_FALSE(shown(model, TLightsModel::Fade));
    EXPECT_TRUE(shown(model, TLightsModel::Problem));
    EXPECT_EQ(at(model, 1, TLightsModel::Kind).toString(), "unknown");
    EXPECT_EQ(at(model, 1, TLightsModel::Problem).toString(), "light type 9 is not one its game knows");
    EXPECT_TRUE(at(model, 1, TLightsModel::X, Qt::ToolTipRole).toString().contains("light type 9")) << "on every cell";
    EXPECT_FALSE(at(model, 0, TLightsModel::Problem).isValid());
    EXPECT_EQ(at(model, 1, TLightsModel::Out, TRecordsModel::SortRole).toDouble(), 3000) << "sorts as a number";
}

TEST(PlacementPanelModels, StaticsCamerasAndSoundSourcesListWhatTheLevelPlaces) {
    const auto level = inspect(test::PlacementLevel(6));

    TStaticsModel statics;
    statics.SetLevel(level);
    ASSERT_EQ(statics.rowCount(), 2);
    EXPECT_EQ(at(statics, 0, TStaticsModel::Facing).toString(), "90.0");
    EXPECT_EQ(at(statics, 0, TStaticsModel::Colour).toString(), "16, 16, 16") << "15-bit channels";
    EXPECT_EQ(at(statics, 1, TStaticsModel::Definition).toString(), "none");
    EXPECT_EQ(at(statics, 1, TStaticsModel::Problem).toString(), "mesh 8 names no static mesh definition");
    EXPECT_FALSE(shown(statics, TStaticsModel::Intensity));
    // The definition's box (x -128..128, y -256..0, z -64..64) turned a quarter towards +x.
    const auto box = StaticBox(*level->Level, level->Statics[0]);
    ASSERT_TRUE(box);
    EXPECT_NEAR(box->minX, 1024 - 64, 1e-6);
    EXPECT_NEAR(box->maxX, 1024 + 64, 1e-6);
    EXPECT_NEAR(box->minZ, -1024 - 128, 1e-6);
    EXPECT_NEAR(box->minY, 512 - 256, 1e-6);
    EXPECT_FALSE(StaticBox(*level->Level, level->Statics[1]));

    TCamerasModel cameras;
    cameras.SetLevel(level);
    ASSERT_EQ(cameras.rowCount(), 2) << "the camera, then the fly-by camera";
    EXPECT_EQ(at(cameras, 0, TCamerasModel::Kind).toString(), "sink");
    EXPECT_FALSE(at(cameras, 0, TCamerasModel::Room).isValid()) << "a sink keeps a strength there";
    EXPECT_EQ(at(cameras, 0, TCamerasModel::UsedBy).toString(), "strength 3; sink at room 0, square 1, 1");
    EXPECT_EQ(at(cameras, 1, TCamerasModel::Point).toInt(), 2);
    EXPECT_EQ(at(cameras, 1, TCamerasModel::Fov).toString(), "90.0");
    EXPECT_EQ(cameras.TargetAt(1).kind, TKind::FlybyCamera);
    EXPECT_EQ(cameras.TargetAt(1).index, 0);
    TSelection selection;
    selection.Select(TKind::FlybyCamera, 0);
    EXPECT_EQ(cameras.RowOf(selection), 1);

    TSoundSourcesModel sounds;
    sounds.SetLevel(level);
    ASSERT_EQ(sounds.rowCount(), 1);
    EXPECT_EQ(at(sounds, 0, TSoundSourcesModel::Plays).toString(), "flipped");
    EXPECT_EQ(at(sounds, 0, TSoundSourcesModel::Room).toInt(), 0);
    EXPECT_EQ(at(sounds, 0, TSoundSourcesModel::Flags).toString(), "0x0040");
    levelwriter::LevelDescription unmapped = test::PlacementLevel(1);
    unmapped.soundSources->front().sound = 5;
    sounds.SetLevel(inspect(unmapped));
    EXPECT_EQ(at(sounds, 0, TSoundSourcesModel::Details).toString(), "none");
    EXPECT_EQ(at(sounds, 0, TSoundSourcesModel::Problem).toString(), "sound 5 is not one this level carries");
}

TEST(PlacementPanelModels, FindMatchesNamesAndWholeNumbers) {
    const auto level = inspect(test::PlacementLevel(6));
    const std::vector<TFindHit> things = FindableThings(*level);
    const auto found = [&](const QString& query) {
        std::vector<std::pair<TKind, int>> hits;
        for (const TFindHit& thing : things)
            if (FindMatches(thing, query)) hits.emplace_back(thing.kind, thing.index);
        return hits;
    };
    using Hits = std::vector<std::pair<TKind, int>>;
    EXPECT_EQ(found("SINK"), (Hits{{TKind::Camera, 0}, {TKind::Sector, 0}})) << "the camera before the trigger";
    EXPECT_EQ(found("item #1"), (Hits{{TKind::Item, 1}}));
    EXPECT_EQ(found("Fly-by 2"), (Hits{{TKind::FlybyCamera, 0}})) << "point 2, not 12 or 20";
    EXPECT_EQ(found("problem mesh 8"), (Hits{{TKind::Static, 1}}));
    EXPECT_EQ(found("room 0").size(), 1u + 2 + 1 + 2 + 1) << "the room, the items, the light, the statics, the trigger";
    EXPECT_TRUE(found("  ").empty());
    EXPECT_TRUE(found("nothing like this").empty());
}

}  // namespace
}  // namespace grottix
