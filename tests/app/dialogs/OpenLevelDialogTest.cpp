#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QSlider>
#include <cmath>

#include "app/dialogs/FileDialogFilter.h"
#include "app/dialogs/LightFactor.h"
#include "app/dialogs/OpenLevelDialog.h"
#include "settings/FormRestorer.h"
#include "settings/SettingsTestSupport.h"
#include "widgets/ButtonEdit.h"

namespace grottix {
namespace {

const std::string DialogKey = "Software\\Halvoran\\GrottixViewer\\1.0\\ImportTombRaiderMapForm";

TImportTombRaiderMapForm& Form(QDialog& dialog) { return static_cast<TImportTombRaiderMapForm&>(dialog); }

// Sets the track and presses OK or Cancel, as the user would.
TModalRunner Answer(int result, std::optional<int> position = std::nullopt, std::optional<QString> path = std::nullopt) {
    return [=](QDialog& dialog) {
        if (position) Form(dialog).TrackBar1()->setValue(*position);
        if (path) Form(dialog).FileEdit1()->SetText(*path);
        dialog.done(result);
        return dialog.result();
    };
}

TVariant StoredPosition(TMemorySettingsStore& store) {
    const auto* stored = store.FindValue(DialogKey, "LightFactor");
    return stored ? DecodeVariant(stored->Bytes) : TVariant();
}

TEST(LightFactor, TrackPositionsAndFactorsConvertBothWays) {
    EXPECT_EQ(TrackPositionForFactor(0.5f), 10);
    EXPECT_EQ(TrackPositionForFactor(0.35f), 7);
    EXPECT_EQ(LightFactorForPosition(20), 1.0f);
    EXPECT_EQ(LightFactorForPosition(0), 0.0f);
    EXPECT_FLOAT_EQ(LightFactorForPosition(7), 0.35f);
    EXPECT_EQ(TrackPositionForFactor(-0.1f), std::nullopt);
    EXPECT_EQ(TrackPositionForFactor(std::nanf("")), std::nullopt);
    EXPECT_EQ(TrackPositionForFactor(1e30f), 20) << "held inside the track";
    EXPECT_EQ(TrackPositionForFactor(INFINITY), 20);
}

TEST(LightFactor, OnlyWholeStoredPositionsInsideTheTrackAreTaken) {
    EXPECT_EQ(StoredTrackPosition(TVariant(int32_t{12})), 12);
    EXPECT_EQ(StoredTrackPosition(TVariant(int32_t{25})), std::nullopt);
    EXPECT_EQ(StoredTrackPosition(TVariant(int32_t{-1})), std::nullopt);
    EXPECT_EQ(StoredTrackPosition(TVariant("abc")), std::nullopt);
    EXPECT_EQ(StoredTrackPosition(TVariant()), std::nullopt);
}

TEST(FileDialogFilter, TheLevelFilterBecomesQtsFormWithBothLetterCases) {
    EXPECT_EQ(QtFileFilter(QString::fromLatin1(OpenLevelFilter)),
              "All Supported (*.phd *.PHD *.tub *.TUB *.tr2 *.TR2 *.tr4 *.TR4 *.trc *.TRC);;Tomb Raider (*.phd *.PHD);;"
              "Tomb Raider: Unfinished Business (*.tub *.TUB);;Tomb Raider II & III (*.tr2 *.TR2);;"
              "Tomb Raider IV (*.tr4 *.TR4);;Tomb Raider Chronicles (*.trc *.TRC);;All files (*)");
    EXPECT_EQ(QtFileFilter("Images|*.bmp;;*.Tga|Dangling"), "Images (*.bmp *.BMP *.Tga *.tga *.TGA)");
}

TEST(OpenLevelDialog, OkHandsBackThePathAndTheFactorOfTheTrack) {
    TMemorySettingsStore store;
    auto root = test::ViewerRootKey(store);
    std::string path = "/levels/old.tr4";
    float factor = 0.5f;
    int shownPosition = -1;
    QString shownPath;
    const bool accepted = ShowOpenLevelDialog(nullptr, *root, path, factor, [&](QDialog& dialog) {
        shownPosition = Form(dialog).TrackBar1()->value();
        shownPath = Form(dialog).FileEdit1()->Text();
        return Answer(QDialog::Accepted, 7, "/levels/new.TR2")(dialog);
    });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(shownPosition, 10);
    EXPECT_EQ(shownPath, "/levels/old.tr4");
    EXPECT_EQ(path, "/levels/new.TR2");
    EXPECT_FLOAT_EQ(factor, 0.35f);
    EXPECT_EQ(StoredPosition(store), TVariant(int32_t{7}));
}

TEST(OpenLevelDialog, CancelChangesNothingButTheDialogStillKeepsItsTrackPosition) {
    TMemorySettingsStore store;
    auto root = test::ViewerRootKey(store);
    std::string path = "/levels/old.tr4";
    float factor = 0.5f;
    EXPECT_FALSE(ShowOpenLevelDialog(nullptr, *root, path, factor, Answer(QDialog::Rejected, 3, "/elsewhere")));
    EXPECT_EQ(path, "/levels/old.tr4");
    EXPECT_EQ(factor, 0.5f);
    EXPECT_EQ(StoredPosition(store), TVariant(int32_t{3}));
}

TEST(OpenLevelDialog, ANegativeFactorLeavesTheStoredPositionAndAnOutOfRangeOneIsIgnored) {
    TMemorySettingsStore store;
    auto root = test::ViewerRootKey(store);
    std::string path;
    float noFactor = -1.0f;
    int shown = -1;
    const TModalRunner look = [&](QDialog& dialog) {
        shown = Form(dialog).TrackBar1()->value();
        return int(QDialog::Rejected);
    };
    store.OpenKey(DialogKey);
    const auto twelve = EncodeVariant(int32_t{12});
    store.WriteValue(DialogKey, "LightFactor", TValueKind::Binary, twelve);
    ShowOpenLevelDialog(nullptr, *root, path, noFactor, look);
    EXPECT_EQ(shown, 12);

    const auto twentyFive = EncodeVariant(int32_t{25});
    store.WriteValue(DialogKey, "LightFactor", TValueKind::Binary, twentyFive);
    ShowOpenLevelDialog(nullptr, *root, path, noFactor, look);
    EXPECT_EQ(shown, 10);
}

TEST(OpenLevelDialog, RemembersItsPositionButNotItsSize) {
    TMemorySettingsStore store;
    auto root = test::ViewerRootKey(store);
    std::string path;
    float factor = 0.5f;
    ShowOpenLevelDialog(nullptr, *root, path, factor, [](QDialog& dialog) {
        dialog.move(40, 50);
        return Answer(QDialog::Accepted)(dialog);
    });
    ASSERT_NE(store.FindValue(DialogKey, TFormRestorer::ValueName), nullptr);
    TImportTombRaiderMapForm again(nullptr, *root);
    EXPECT_EQ(again.pos(), QPoint(40, 50));
    EXPECT_EQ(again.size(), QSize(531, 172));
}

TEST(OpenLevelDialog, ASettingsStoreThatFailsDoesNotStandBetweenTheUserAndTheLevel) {
    test::TFailingStore store;
    store.Failing = {test::TFailingStore::TOp::Open, test::TFailingStore::TOp::Write};
    auto root = test::ViewerRootKey(store);
    std::string path;
    float factor = 0.5f;
    EXPECT_TRUE(ShowOpenLevelDialog(nullptr, *root, path, factor, Answer(QDialog::Accepted, 20, "/l/x.phd")));
    EXPECT_EQ(path, "/l/x.phd");
    EXPECT_EQ(factor, 1.0f);
}

TEST(OpenLevelDialog, BrowsingPutsTheChosenFileIntoTheEditAndCancellingLeavesIt) {
    TMemorySettingsStore store;
    auto root = test::ViewerRootKey(store);
    TImportTombRaiderMapForm form(nullptr, *root);
    form.FileEdit1()->SetText("/levels/typed.tr4");
    form.OpenDialogRunner = [&](QDialog&) { return int(QDialog::Rejected); };
    form.FileEdit1Btn1Click();
    EXPECT_EQ(form.FileEdit1()->Text(), "/levels/typed.tr4");

    QTemporaryDir folder;
    const QString chosen = folder.filePath(QStringLiteral("CHOSEN.TR4"));
    QFile(chosen).open(QIODevice::WriteOnly);
    form.OpenDialogRunner = [&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(chosen);
        return int(QDialog::Accepted);
    };
    form.FileEdit1Btn1Click();
    EXPECT_EQ(form.FileEdit1()->Text(), chosen);
}

}  // namespace
}  // namespace grottix
