#include "app/window/ViewerSettings.h"

#include "settings/Profiles.h"
#include "settings/StringLines.h"
#include "settings/Variant.h"

namespace grottix {

void ConfigureApplicationKey(TAppConfigKey& key) {
    key.SetCompanyName("Halvoran");
    key.SetApplicationName("GrottixViewer");
    key.SetApplicationVersion("1.0");
}

bool TViewerSettings::readBool(const char* name, bool fallback) {
    TVariantProfile profile(name, &window_);
    if (!profile.Exists()) return fallback;
    const TVariant value = profile.ReadValue();
    const bool* flag = std::get_if<bool>(&value.Value());
    return flag ? *flag : fallback;
}

TViewerOptions TViewerSettings::ReadOptions() {
    TViewerOptions options;
    try {
        options.UseHardwareAcceleration = readBool("UseHardwareAcceleration", true);
        options.HardwareAccelerationChosen = readBool("HardwareAccelerationChosen", false);
        options.SafeMode = readBool("SafeMode", true);
        options.Transparent = readBool("Transparent", true);
        options.TextureFiltering = readBool("TextureFiltering", true);
        options.ShowItems = readBool("ShowItems", true);
        options.DrawEveryRoom = readBool("DrawEveryRoom", false);
        options.LevelSky = readBool("LevelSky", true);
        options.AnimateItems = readBool("AnimateItems", true);
        options.ShowLara = readBool("ShowLara", true);
        options.OrbitCamera = readBool("OrbitCamera", false);
        options.TopViewOrthographic = readBool("TopViewOrthographic", false);
        TStringProfile history("FileMenuHistoryPaths", &window_);
        if (history.Exists()) options.FileMenuHistoryPaths = SplitLines(history.ReadValue());
        TStringProfile docks("DockLayout", &window_);
        if (docks.Exists()) options.DockLayout = docks.ReadValue();
        TVariantProfile light("LightFactor", &window_);
        if (light.Exists()) {
            const TVariant value = light.ReadValue();
            if (const double* d = std::get_if<double>(&value.Value())) options.LightFactor = float(*d);
            else if (const float* f = std::get_if<float>(&value.Value())) options.LightFactor = *f;
        }
    } catch (const EGrottixError&) {
        // Unreadable settings leave the defaults.
    }
    return options;
}

void TViewerSettings::WriteOptions(const TViewerOptions& options) {
    TVariantProfile("UseHardwareAcceleration", &window_).WriteValue(options.UseHardwareAcceleration);
    TVariantProfile("HardwareAccelerationChosen", &window_).WriteValue(options.HardwareAccelerationChosen);
    TVariantProfile("SafeMode", &window_).WriteValue(options.SafeMode);
    TVariantProfile("Transparent", &window_).WriteValue(options.Transparent);
    TVariantProfile("TextureFiltering", &window_).WriteValue(options.TextureFiltering);
    TVariantProfile("ShowItems", &window_).WriteValue(options.ShowItems);
    TVariantProfile("DrawEveryRoom", &window_).WriteValue(options.DrawEveryRoom);
    TVariantProfile("LevelSky", &window_).WriteValue(options.LevelSky);
    TVariantProfile("AnimateItems", &window_).WriteValue(options.AnimateItems);
    TVariantProfile("ShowLara", &window_).WriteValue(options.ShowLara);
    TVariantProfile("OrbitCamera", &window_).WriteValue(options.OrbitCamera);
    TVariantProfile("TopViewOrthographic", &window_).WriteValue(options.TopViewOrthographic);
    TStringProfile("FileMenuHistoryPaths", &window_).WriteValue(JoinLines(options.FileMenuHistoryPaths));
    TVariantProfile("LightFactor", &window_).WriteValue(double(options.LightFactor));
    TStringProfile("DockLayout", &window_).WriteValue(options.DockLayout);
}

TSceneDisplayMode TViewerSettings::ReadDisplayMode() {
    TSceneDisplayMode mode;
    const auto readInt = [&](const char* name, int& value) {
        TVariantProfile profile(name, &window_);
        if (!profile.Exists()) {
            profile.WriteValue(int32_t(value));
            return;
        }
        const TVariant stored = profile.ReadValue();
        if (const int32_t* i = std::get_if<int32_t>(&stored.Value())) value = *i;
    };
    try {
        readInt("SceneWidth", mode.Width);
        readInt("SceneHeight", mode.Height);
        readInt("SceneBitCount", mode.BitCount);
    } catch (const EGrottixError&) {
    }
    return mode;
}

void TViewerSettings::WriteDisplayMode(const TSceneDisplayMode& mode) {
    TVariantProfile("SceneWidth", &window_).WriteValue(int32_t(mode.Width));
    TVariantProfile("SceneHeight", &window_).WriteValue(int32_t(mode.Height));
    TVariantProfile("SceneBitCount", &window_).WriteValue(int32_t(mode.BitCount));
}

}  // namespace grottix
