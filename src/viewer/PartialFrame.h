#pragma once
// Frames that draw only part of the screen. When nothing but the level's animated textures changed
// since the last frame, only the pixels of the animated faces need drawing again: the back buffer
// still holds the rest of the last frame. The part is drawn through a viewport around it, with the
// projection moved so that everything lands exactly where the whole view puts it.

#include "device/D3DTypes.h"

namespace grottix {

class TD3DDevice;
class TGrottixViewerScene;

// The pixels (whole, within the viewport) that the scene's animated faces cover in the view the
// device holds, with a pixel to spare on each side; empty (x1 == x2) when none of them is drawn.
TD3DRect AnimatedArea(TGrottixViewerScene& scene);

// The projection that maps `area` of a viewport the size of `whole` onto a viewport of its own,
// leaving every point where `projection` puts it on the whole viewport.
TD3DMatrix AreaProjection(const TD3DMatrix& projection, const TD3DViewport7& whole, const TD3DRect& area);

// Narrows a device's drawing to an area of its viewport while it lives.
class TPartialView {
public:
    TPartialView(TD3DDevice& device, const TD3DRect& area);
    ~TPartialView();
    TPartialView(const TPartialView&) = delete;
    TPartialView& operator=(const TPartialView&) = delete;

private:
    TD3DDevice& device_;
    TD3DViewport7 viewport_;
    TD3DMatrix projection_;
};

}  // namespace grottix
