// The installed program as a desktop sees it: an install of this build into a temporary DESTDIR,
// checked file by file and by the desktop's own validators, the file types it teaches the desktop,
// the thumbnailer, the manual page and the Debian package.

#include <gtest/gtest.h>

#include <QImage>
#include <QMimeDatabase>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "storage/Stream.h"
#include "support/TempDir.h"

namespace grottix {
namespace {

namespace fs = std::filesystem;

const std::string kAppId = "com.halvoran.GrottixViewer";

// Runs a shell command; its exit status, with what it printed in output.
int run(const std::string& command, std::string* output = nullptr) {
    test::TempDir dir;
    const int status = std::system((command + " >" + dir.file("out") + " 2>&1").c_str());
    std::ifstream in(dir.file("out"));
    std::stringstream text;
    text << in.rdbuf();
    if (output) *output = text.str();
    else if (status != 0) std::cerr << command << ":\n" << text.str();
    return status;
}

class InstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        destdir_ = new test::TempDir;
        ASSERT_EQ(run("DESTDIR=" + destdir_->path() + " cmake --install " GROTTIX_BINARY_DIR " --prefix /usr"), 0);
    }
    static void TearDownTestSuite() { delete destdir_; }
    static std::string installed(const std::string& path) { return destdir_->path() + "/usr/" + path; }
    static std::string demo(const std::string& name) { return std::string(GROTTIX_GENERATED_DIR) + "/demo/" + name; }

    inline static test::TempDir* destdir_ = nullptr;
};

TEST_F(InstallTest, EveryFileLandsWhereTheDesktopLooksAndPassesItsValidator) {
    for (const std::string& path : std::vector<std::string>{"bin/grottix-viewer", "share/applications/" + kAppId + ".desktop", "share/mime/packages/" + kAppId + ".xml",
          "share/metainfo/" + kAppId + ".metainfo.xml", "share/thumbnailers/grottix-viewer.thumbnailer",
          "share/icons/hicolor/scalable/apps/" + kAppId + ".svg", "share/icons/hicolor/16x16/apps/" + kAppId + ".png",
          "share/icons/hicolor/256x256/apps/" + kAppId + ".png", "share/man/man1/grottix-viewer.1",
          "share/doc/grottix-viewer/user-guide.html"})
        EXPECT_TRUE(fs::exists(installed(path))) << path;
    EXPECT_EQ(run("desktop-file-validate " + installed("share/applications/" + kAppId + ".desktop")), 0);
    EXPECT_EQ(run("appstreamcli validate --no-net " + installed("share/metainfo/" + kAppId + ".metainfo.xml")), 0);
    std::string page;
    EXPECT_EQ(run("MANWIDTH=100 man -l " + installed("share/man/man1/grottix-viewer.1"), &page), 0);
    for (const char* form : {"--info", "--render", "--thumbnail", "--export-gltf", "--export-textures", "--convert", "--no-items"})
        EXPECT_NE(page.find(form), std::string::npos) << form;
}

TEST_F(InstallTest, TheFileTypesKnowLevelsOfEveryVersionByContentAndByName) {
    ASSERT_EQ(run("update-mime-database " + installed("share/mime")), 0);
    // Qt reads the desktop's type database from XDG_DATA_DIRS, before its first use.
    setenv("XDG_DATA_DIRS", (installed("share") + ":/usr/share").c_str(), 1);
    QMimeDatabase types;
    test::TempDir dir;
    const std::pair<const char*, const char*> levels[] = {
        {"demo-tr1.phd", "application/x-tomb-raider-1-level"}, {"demo-tr2.tr2", "application/x-tomb-raider-2-level"},
        {"demo-tr3.tr2", "application/x-tomb-raider-3-level"}, {"demo-tr4.tr4", "application/x-tomb-raider-4-level"}};
    for (const auto& [name, type] : levels) {
        const std::string anonymous = dir.file(std::string(name) + ".bin");
        fs::copy_file(demo(name), anonymous);
        EXPECT_EQ(types.mimeTypeForFile(QString::fromStdString(anonymous), QMimeDatabase::MatchContent).name().toStdString(), type)
            << name << " by its first bytes";
        EXPECT_EQ(types.mimeTypeForFile(QString::fromStdString(demo(name))).name().toStdString(), type) << name;
    }
    for (const auto& [name, type] : {std::pair{"A.PHD", "application/x-tomb-raider-1-level"},
                                     std::pair{"b.Tub", "application/x-tomb-raider-ub-level"},
                                     std::pair{"c.TR4", "application/x-tomb-raider-4-level"},
                                     std::pair{"d.trc", "application/x-tomb-raider-chronicles-level"}})
        EXPECT_EQ(types.mimeTypeForFile(QString(name), QMimeDatabase::MatchExtension).name().toStdString(), type) << name;
    EXPECT_EQ(types.mimeTypeForFile(QString::fromStdString(demo("demo-trc.trc"))).name().toStdString(),
              "application/x-tomb-raider-chronicles-level");
}

// TR2 and TR3 levels share the .tr2 name: the version word decides, for Qt and for the file manager
// (GIO), also with the TR3 word of the later levels and their demo.
TEST_F(InstallTest, ATr2NamedFileIsTypedByItsVersionWord) {
    ASSERT_EQ(run("update-mime-database " + installed("share/mime")), 0);
    setenv("XDG_DATA_DIRS", (installed("share") + ":/usr/share").c_str(), 1);
    QMimeDatabase types;
    test::TempDir dir;
    const std::pair<uint32_t, const char*> words[] = {{0x0000002D, "application/x-tomb-raider-2-level"},
                                                      {0xFF080038, "application/x-tomb-raider-3-level"},
                                                      {0xFF180038, "application/x-tomb-raider-3-level"}};
    for (const auto& [word, type] : words) {
        SCOPED_TRACE(word);
        std::vector<uint8_t> level = ReadWholeFile(demo(word == 0x2D ? "demo-tr2.tr2" : "demo-tr3.tr2"));
        for (int i = 0; i < 4; ++i) level[size_t(i)] = uint8_t(word >> (8 * i));
        const std::string path = dir.file(std::to_string(word) + ".tr2");
        WriteFileAtomically(path, level.data(), level.size());
        EXPECT_EQ(types.mimeTypeForFile(QString::fromStdString(path)).name().toStdString(), type);
        std::string typed;
        ASSERT_EQ(run("gio info -a standard::content-type " + path, &typed), 0) << typed;
        EXPECT_NE(typed.find(std::string("standard::content-type: ") + type), std::string::npos) << typed;
    }
}

TEST_F(InstallTest, TheThumbnailerDrawsTheLevelAtTheAskedSize) {
    test::TempDir dir;
    const std::string out = dir.file("thumb.png");
    ASSERT_EQ(run(installed("bin/grottix-viewer") + " --thumbnail " + demo("demo-tr4.tr4") + " " + out + " 128"), 0);
    const QImage thumbnail(QString::fromStdString(out));
    ASSERT_EQ(thumbnail.size(), QSize(128, 96));
    EXPECT_NE(thumbnail.pixel(64, 70), thumbnail.pixel(64, 10)) << "the hall's floor below, its far wall ahead";
    EXPECT_NE(run(installed("bin/grottix-viewer") + " --thumbnail /nonexistent.tr4 " + dir.file("none.png") + " 128"), 0);
    EXPECT_FALSE(fs::exists(dir.file("none.png"))) << "no picture for a level that cannot be read";
}

TEST_F(InstallTest, TheDebianPackageDependsOnTheLibrariesTheProgramUses) {
    test::TempDir dir;
    ASSERT_EQ(run("cd " + dir.path() + " && cpack -G DEB --config " GROTTIX_BINARY_DIR "/CPackConfig.cmake"), 0);
    std::string depends;
    ASSERT_EQ(run("dpkg-deb -f " + dir.path() + "/*.deb Depends", &depends), 0) << depends;
    for (const char* library : {"libqt6widgets6", "libqt6opengl6", "libsdl2", "zlib1g", "libjpeg62-turbo"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
}

}  // namespace
}  // namespace grottix
