// The level builder's loop in a real window of the X server: the level on screen is read again by
// itself when a tool replaces its file by a rename, keeping the eye and the selection, and F7 / F6
// step through the folder's levels, passing over files that are no level or cannot be read.

#include <gtest/gtest.h>

#include <QStatusBar>
#include <QTest>

#include <cstdio>

#include "app/window/MainWindow.h"
#include "app/window/ViewerWindow.h"
#include "codecs/ImageCodecs.h"
#include "device/qt/QtTestApplication.h"
#include "level/TombRaiderLevel.h"
#include "settings/SettingsFileStore.h"
#include "support/ItemLevel.h"
#include "support/TempDir.h"

namespace grottix::test {
namespace {

void writeBytes(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

class LevelReloadXTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!qEnvironmentVariableIsSet("DISPLAY")) {
            if (OpenGLRequired()) FAIL() << "an X server is required but DISPLAY is not set";
            GTEST_SKIP() << "no X server";
        }
        GROTTIX_REQUIRE_OPENGL();
        qputenv("GROTTIX_OPENGL", "1");
        NameViewerApplication();
        InitializeImageCodecs();
        levelwriter::WriteLevelFile(ItemLevel(1), dir.file("a.phd"));
        writeBytes(dir.file("B.PHD"), "no level at all");  // a level's name, but unreadable
        writeBytes(dir.file("b.txt"), "notes");
        levelwriter::WriteLevelFile(ItemLevel(3), dir.file("c.tr2"));
        window = std::make_unique<TDXViewerForm>(store, QStringList{QString::fromStdString(dir.file("a.phd"))});
        window->resize(900, 600);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return shows("a.phd") && window->DXDraw->CanDraw(); }, 20000));
    }

    bool shows(const char* name) { return window->Scene->Level && window->windowTitle().endsWith(QString::fromLatin1(name)); }

    TempDir dir;
    TSettingsFileStore store{QString::fromStdString(dir.file("config/GrottixViewer.json"))};
    std::unique_ptr<TDXViewerForm> window;
};

TEST_F(LevelReloadXTest, ANewBuildRenamedOverTheFileIsShownWithTheEyeAndSelectionKept) {
    const TD3DVector eye{3, 4, -5};
    window->Scene->MoveCamera(eye);
    window->Selection.SelectItem(1);
    const auto before = window->Scene->Level;

    auto build = ItemLevel(1);
    build.entities->push_back({10, 0, 1024, 512, 1024, 0});
    levelwriter::WriteLevelFile(build, dir.file("a.phd.tmp"));
    ASSERT_EQ(std::rename(dir.file("a.phd.tmp").c_str(), dir.file("a.phd").c_str()), 0);

    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Scene->Level != before && window->Scene->Level->Entities.count == 3; }, 20000));
    const TD3DVector now = window->Scene->GetCameraPosition();
    EXPECT_FLOAT_EQ(now.x, eye.x);
    EXPECT_FLOAT_EQ(now.y, eye.y);
    EXPECT_FLOAT_EQ(now.z, eye.z);
    EXPECT_EQ(window->Selection.Item(), 1);
    EXPECT_TRUE(shows("a.phd"));

    // A build that is no level keeps the one on screen and says why.
    const auto good = window->Scene->Level;
    writeBytes(dir.file("a.phd.tmp"), "half written");
    ASSERT_EQ(std::rename(dir.file("a.phd.tmp").c_str(), dir.file("a.phd").c_str()), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->statusBar()->currentMessage().startsWith("Reload failed"); }, 20000));
    EXPECT_EQ(window->Scene->Level, good);
}

TEST_F(LevelReloadXTest, F7AndF6StepThroughTheFolderPassingOverWhatCannotBeRead) {
    QTest::keyClick(window.get(), Qt::Key_F7);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows("c.tr2"); }, 20000)) << window->windowTitle().toStdString();
    EXPECT_TRUE(window->statusBar()->currentMessage().contains("B.PHD")) << window->statusBar()->currentMessage().toStdString();
    QTest::keyClick(window.get(), Qt::Key_F7);  // round the end of the folder
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows("a.phd"); }, 20000));
    QTest::keyClick(window.get(), Qt::Key_F6);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows("c.tr2"); }, 20000));
}

}  // namespace
}  // namespace grottix::test
