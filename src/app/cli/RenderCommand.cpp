#include "app/cli/RenderCommand.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <optional>

#include <QGuiApplication>

#include "app/cli/CommandLine.h"
#include "app/cli/NumberArguments.h"
#include "viewer/FlipOption.h"
#include "viewer/GoToOption.h"
#include "viewer/HeadlessViewer.h"
#include "device/qt/OpenGLHeadlessDXDraw.h"
#include "app/cli/ImageFiles.h"
#include "codecs/ImageCodecs.h"
#include "level/LevelNames.h"

namespace grottix {

namespace {

constexpr const char* kUsage =
    "Usage: grottix-viewer --render OUT LEVEL [--size WxH] [--light F] [--eye X,Y,Z] [--angles PITCH,YAW,ROLL]\n"
    "                      [--goto-item N | --goto-room N | --goto-square ROOM,X,Z] [--frames N] [--stats]\n"
    "                      [--opengl] [--no-items] [--no-cull] [--flip [GROUP]] [--time T]\n";

struct RenderOptions {
    std::string out, level;
    int width = 640, height = 480;
    float light = 0.5f;
    std::optional<TD3DVector> eye, angles;
    std::optional<TGoToRequest> goTo;
    int frames = 0;
    double time = 0;  // seconds of the level's clock
    bool stats = false;
    bool opengl = false;
    bool items = true;
    bool cull = true;
    std::optional<TFlipState> flip;
};

// The largest picture: the device's largest surface side, and as many pixels as the drawing's
// buffers (colour, depth, the picture handed to the writer and its encoding, some 22 bytes a pixel)
// hold in well under 512 MiB.
constexpr int64_t kLargestSide = TCustomDXDraw::kMaxSurfaceSide;
constexpr int64_t kMostPixels = int64_t{1} << 24;
// Level coordinates are 32-bit; the eye stays within them (scene units: level units / 128).
constexpr int64_t kFarthestEye = (int64_t{1} << 31) / 128;
constexpr int64_t kMostFrames = 10000;
constexpr double kLatestTime = 86400;  // a day of the level's clock

bool parseSize(const std::string& text, RenderOptions& options) {
    const auto sides = WholeNumbers(text, 'x', 2, 1, kLargestSide);
    if (!sides || (*sides)[0] * (*sides)[1] > kMostPixels) {
        SayOptionTakes("--size", "WxH, each side from 1 to " + std::to_string(kLargestSide) + ", at most " +
                                     std::to_string(kMostPixels) + " pixels");
        return false;
    }
    options.width = int((*sides)[0]);
    options.height = int((*sides)[1]);
    return true;
}

bool parseVector(const std::string& option, const std::string& text, double farthest, const std::string& what,
                 std::optional<TD3DVector>& out) {
    const auto values = RealNumbers(text, ',', 3, -farthest, farthest);
    if (!values) {
        SayOptionTakes(option, what);
        return false;
    }
    out = TD3DVector{float((*values)[0]), float((*values)[1]), float((*values)[2])};
    return true;
}

// Fills options from the arguments; false when they make no sense (after saying why, when a value
// is refused).
bool parseOptions(const std::vector<std::string>& args, RenderOptions& options) {
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--stats") options.stats = true;
        else if (arg == "--opengl") options.opengl = true;
        else if (arg == "--no-items") options.items = false;
        else if (arg == "--no-cull") options.cull = false;
        else if (arg == "--flip") {
            options.flip = ReadFlipOption(args, i);
            if (!options.flip) {
                SayOptionTakes(arg, kFlipOptionTakes);
                return false;
            }
        } else if (arg == "--size" && hasValue) {
            if (!parseSize(args[++i], options)) return false;
        } else if (arg == "--light" && hasValue) {
            const auto light = RealNumber(args[++i], 0, 1);
            if (!light) {
                SayOptionTakes(arg, "a number from 0 to 1");
                return false;
            }
            options.light = float(*light);
        } else if (arg == "--eye" && hasValue) {
            const std::string farthest = std::to_string(kFarthestEye);
            if (!parseVector(arg, args[++i], double(kFarthestEye), "X,Y,Z, numbers from -" + farthest + " to " + farthest,
                             options.eye))
                return false;
        } else if (arg == "--angles" && hasValue) {
            // Any finite angle: the scene brings it into one turn.
            if (!parseVector(arg, args[++i], std::numeric_limits<float>::max(), "PITCH,YAW,ROLL, finite numbers (radians)",
                             options.angles))
                return false;
        } else if ((arg == "--goto-item" || arg == "--goto-room" || arg == "--goto-square") && hasValue) {
            if (!ParseGoToOption(arg, args[++i], options.goTo)) {
                SayOptionTakes(arg, GoToOptionTakes(arg));
                return false;
            }
        } else if (arg == "--frames" && hasValue) {
            const auto frames = WholeNumber(args[++i], 0, kMostFrames);
            if (!frames) {
                SayOptionTakes(arg, "a whole number from 0 to " + std::to_string(kMostFrames));
                return false;
            }
            options.frames = int(*frames);
        } else if (arg == "--time" && hasValue) {
            const auto time = RealNumber(args[++i], 0, kLatestTime);
            if (!time) {
                SayOptionTakes(arg, "seconds, a number from 0 to " + std::to_string(int64_t(kLatestTime)));
                return false;
            }
            options.time = *time;
        } else if (arg.starts_with("--")) {
            return false;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2) return false;
    options.out = positional[0];
    options.level = positional[1];
    return true;
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The figures of --stats; the eye, its angles and its room are those the first frame was drawn with.
void printStats(const TGrottixViewerScene& scene, const TImportReport& report, TD3DVector eye, TD3DVector angles, int room,
                bool items, double firstFrame) {
    size_t polygons = 0, vertices = 0, triangles = 0;
    for (const auto& entry : scene.Objects) {
        polygons += entry.Item->GetKind() == kKindPolygon;
        vertices += size_t(std::max(entry.Item->GetVertexCount(), 0));
        triangles += size_t(std::max(entry.Item->GetTriangleCount(), 0));
    }
    std::printf("reading: %.1f ms\ntexture registration: %.1f ms\nconverting: %.1f ms\nfirst frame: %.1f ms\n",
                report.Reading * 1e3, report.Textures * 1e3, report.Converting * 1e3, firstFrame * 1e3);
    std::printf("objects: %zu\npolygons: %zu\nvertices: %zu\ntriangles: %zu\ntextures: %zu\n", scene.Objects.size(), polygons,
                vertices, triangles, scene.Shared->Textures.size());
    std::printf("eye: %.3f, %.3f, %.3f\nroom: %d\nitems: %d\nangles: %.3f, %.3f, %.3f\n", eye.x, eye.y, eye.z, room,
                items ? report.Items : 0, angles.x, angles.y, angles.z);
    std::printf("rooms drawn: %zu\n", scene.CellsDrawnCount);
    std::printf("rooms shown: %zu\n", size_t(std::count(scene.RoomsShown.begin(), scene.RoomsShown.end(), 1)));
}

}  // namespace

int RunRenderCommand(const std::vector<std::string>& args) {
    RenderOptions options;
    if (!parseOptions(args, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (!CheckInputFile(options.level)) return 1;
    InitializeImageCodecs();
    // OpenGL contexts need a Qt application; the CPU rasterizer needs none.
    std::unique_ptr<QGuiApplication> application;
    if (options.opengl) {
        static int argc = 1;
        static char name[] = "grottix-viewer";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    try {
        THeadlessViewer viewer(options.opengl ? std::make_unique<TOpenGLHeadlessDXDraw>(options.width, options.height)
                                              : std::make_unique<THeadlessDXDraw>(options.width, options.height));
        if (options.opengl && !viewer.UsesOpenGL())
            std::fputs("grottix-viewer: no OpenGL here; drawing with the CPU rasterizer\n", stderr);
        TGrottixViewerScene& scene = viewer.Scene;
        TImportReport report;
        const uint8_t result = viewer.Open(options.level, options.light, &report);
        if (result != kLevelLoaded) {
            std::fprintf(stderr, "File %s: %s\n", options.level.c_str(), report.Problem.c_str());
            return 1;
        }
        WarnMeshesLeftOut(options.level, report.MeshesLeftOut);
        scene.SetItemsVisible(options.items);
        scene.CullCells = options.cull;
        scene.FixLevelTime(options.time);
        scene.SetFlipState(options.flip.value_or(TFlipState{}));
        int room = report.StartRoom;
        if (options.goTo && !GoToFromCommandLine(scene, options.level, *options.goTo, room))
            return 1;
        // As in the window, going to a room the flip maps hide shows it, unless --flip says otherwise.
        if (options.goTo && !options.flip && room >= 0)
            scene.SetFlipState(scene.Flips.StateShowing(size_t(room), scene.FlipState, scene.LevelVersionCode >= 6));
        if (options.eye) scene.SetCameraPosition(*options.eye);
        if (options.angles) scene.SetCameraRotation(*options.angles);

        const auto frameStart = std::chrono::steady_clock::now();
        viewer.DrawFrame();
        const double firstFrame = seconds(frameStart);
        const TD3DVector eye = scene.GetCameraPosition(), eyeAngles = scene.GetCameraRotation();
        const int eyeRoom = scene.EyeRoom();
        if (options.frames > 0) {
            const TD3DVector start = scene.GetCameraRotation();
            const auto loopStart = std::chrono::steady_clock::now();
            for (int frame = 1; frame <= options.frames; ++frame) {
                const float yaw = start.y + float(2 * std::numbers::pi * frame / options.frames);
                scene.SetCameraRotation({start.x, yaw, start.z});
                viewer.DrawFrame();
            }
            std::printf("%d frames at %dx%d: %.1f frames per second\n", options.frames, options.width, options.height,
                        options.frames / seconds(loopStart));
        }
        if (options.stats) printStats(scene, report, eye, eyeAngles, eyeRoom, options.items, firstFrame);
        WriteImageFile(viewer.Picture(), options.out);
    } catch (const std::exception& error) {
        PrintCommandFailure(error);
        return 1;
    }
    return 0;
}

}  // namespace grottix
