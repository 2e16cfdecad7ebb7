#include "bench/app/window/WindowBenchSupport.h"

#include <QApplication>

#include <filesystem>

#include "demo_level/DemoLevel.h"
#include "level_writer/LevelWriter.h"

namespace grottix {

QApplication& BenchApplication() {
    static int argc = 1;
    static char name[] = "grottix-window-bench";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "xcb");
        return new QApplication(argc, argv);
    }();
    return *app;
}

std::string BenchDemoLevel() {
    static const std::string path = [] {
        const std::string file = (std::filesystem::temp_directory_path() / "grottix-bench-demo-tr4.tr4").string();
        levelwriter::WriteLevelFile(demo::DemoLevel(6), file);
        return file;
    }();
    return path;
}

}  // namespace grottix
