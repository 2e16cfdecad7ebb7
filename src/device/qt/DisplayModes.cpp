#include "device/qt/DisplayModes.h"

#include <QGuiApplication>
#include <QScreen>
#include <SDL.h>
#include <algorithm>

namespace grottix {

namespace {

constexpr std::pair<int, int> kCommonSizes[] = {
    {320, 200},   {320, 240},   {400, 300},   {512, 384},   {640, 400},   {640, 480},   {800, 600},
    {1024, 768},  {1152, 864},  {1280, 720},  {1280, 960},  {1280, 1024}, {1366, 768},  {1440, 900},
    {1600, 900},  {1600, 1200}, {1680, 1050}, {1920, 1080}, {1920, 1200}, {2560, 1440}, {3840, 2160},
};

}  // namespace

std::vector<TDisplayMode> BuildDisplayModes(const std::vector<std::pair<int, int>>& reportedSizes, int screenWidth,
                                            int screenHeight) {
    std::vector<std::pair<int, int>> sizes;
    int maxWidth = screenWidth, maxHeight = screenHeight;
    for (const auto& [width, height] : reportedSizes) {
        if (width <= 0 || height <= 0) continue;
        sizes.emplace_back(width, height);
        maxWidth = std::max(maxWidth, width);
        maxHeight = std::max(maxHeight, height);
    }
    if (maxWidth <= 0 || maxHeight <= 0) maxWidth = 640, maxHeight = 480;
    for (const auto& size : kCommonSizes)
        if (size.first <= maxWidth && size.second <= maxHeight) sizes.push_back(size);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    std::vector<TDisplayMode> modes;
    for (const auto& [width, height] : sizes)
        for (int bits : {16, 32}) modes.push_back({width, height, bits});
    return modes;
}

std::vector<std::pair<int, int>> SdlDisplaySizes() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return {};
    std::vector<std::pair<int, int>> sizes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0) sizes.emplace_back(mode.w, mode.h);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return sizes;
}

std::vector<TDisplayMode> EnumerateDisplayModes() {
    int screenWidth = 0, screenHeight = 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        screenWidth = screen->size().width();
        screenHeight = screen->size().height();
    }
    return BuildDisplayModes(SdlDisplaySizes(), screenWidth, screenHeight);
}

int TDXDrawDisplay::Count() {
    enumerate();
    return int(modes_.size());
}

TDisplayMode TDXDrawDisplay::Modes(int index) {
    enumerate();
    return index >= 0 && index < int(modes_.size()) ? modes_[size_t(index)] : TDisplayMode{};
}

void TDXDrawDisplay::SetModes(std::vector<TDisplayMode> modes) {
    modes_ = std::move(modes);
    enumerated_ = true;
}

void TDXDrawDisplay::enumerate() {
    if (enumerated_) return;
    modes_ = EnumerateDisplayModes();
    enumerated_ = true;
}

}  // namespace grottix
