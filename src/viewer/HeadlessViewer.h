#pragma once
// The viewer without a window: a headless display drawn by the CPU rasterizer, the viewer's scene
// on it with the window's defaults (near distance 0.5, light factor 0.5, transparency and filtering
// on), and the sky, with the level's clock standing at 0 until Scene.FixLevelTime moves it. Serves
// --render and the picture tests.

#include <memory>
#include <string>

#include "viewer/ViewerScene.h"
#include "device/HeadlessDXDraw.h"

namespace grottix {

class THeadlessViewer {
public:
    THeadlessViewer(int width, int height, int workers = 0);
    // Draws on the display given (a headless display of any backend).
    THeadlessViewer(std::unique_ptr<THeadlessDXDraw> display);
    // Whether the frames are drawn by OpenGL.
    bool UsesOpenGL() const { return Display->NowOptions().Contains(doHardware); }

    // Opens a level as the window does; returns the load result (0 loaded).
    uint8_t Open(const std::string& path, float lightFactor = 0.5f, TImportReport* report = nullptr);
    // Draws one frame with the option states of the window, and presents it.
    void DrawFrame(bool filtering = true, bool transparency = true);
    // The back buffer as a 24-bit picture.
    TBitmap Picture();

    std::unique_ptr<THeadlessDXDraw> Display;
    TGrottixViewerScene Scene;

private:
    TBitmap skyPicture_;
    TD3DQuadrangleInfo floor_;
};

}  // namespace grottix
