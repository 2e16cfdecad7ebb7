#pragma once
// The viewer's persisted settings: the four rendering options, whether items show, the light factor,
// the display mode, the recent files and the docks' layout, under the application key Halvoran\GrottixViewer\1.0 and the window's name.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/AnotherReg.h"

namespace grottix {

struct TViewerOptions {
    bool UseHardwareAcceleration = true;
    // Whether the user turned hardware acceleration on where OpenGL is a software renderer (which
    // is otherwise passed over for the CPU rasterizer).
    bool HardwareAccelerationChosen = false;
    bool SafeMode = true;
    bool Transparent = true;
    bool TextureFiltering = true;
    bool ShowItems = true;
    bool DrawEveryRoom = false;  // also the rooms no portal shows
    bool LevelSky = true;  // the level's own sky, where it has one
    bool AnimateItems = true;  // the items play their animations
    bool ShowLara = true;      // Lara at the player's start
    bool OrbitCamera = false;  // View > Camera: orbit rather than free
    bool TopViewOrthographic = false;  // View > Top View Orthographic
    float LightFactor = 0.5f;
    std::vector<std::string> FileMenuHistoryPaths;
    std::string DockLayout;  // where the docks are and which show (the window's saved state, base64)
};

struct TSceneDisplayMode {
    int Width = 640, Height = 480, BitCount = 16;
};

// The application key Halvoran\GrottixViewer\1.0 in a store.
void ConfigureApplicationKey(TAppConfigKey& key);

// The window's values, read and written through the window's key (its form restorer).
class TViewerSettings {
public:
    explicit TViewerSettings(TCustomKey& windowKey) : window_(windowKey) {}

    // Absent values give the defaults.
    TViewerOptions ReadOptions();
    void WriteOptions(const TViewerOptions& options);
    // The stored display mode; 640 x 480 x 16 are written where absent.
    TSceneDisplayMode ReadDisplayMode();
    void WriteDisplayMode(const TSceneDisplayMode& mode);

private:
    bool readBool(const char* name, bool fallback);
    TCustomKey& window_;
};

}  // namespace grottix
