// grottix-demo-level OUTDIR: writes the demo level in every format into OUTDIR.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "demo_level/DemoLevel.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: grottix-demo-level OUTDIR\n", stderr);
        return 2;
    }
    struct Output {
        int code;
        const char* name;
    };
    static constexpr Output kOutputs[] = {{1, "demo-tr1.phd"}, {2, "demo-ub.tub"}, {3, "demo-tr2.tr2"},
                                          {5, "demo-tr3.tr2"}, {6, "demo-tr4.tr4"}, {7, "demo-trc.trc"}};
    try {
        std::filesystem::create_directories(argv[1]);
        for (const Output& output : kOutputs)
            grottix::levelwriter::WriteLevelFile(grottix::demo::DemoLevel(output.code),
                                                 (std::filesystem::path(argv[1]) / output.name).string());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "grottix-demo-level: %s\n", error.what());
        return 1;
    }
    return 0;
}
