#include "viewer/HeadlessViewer.h"

#include "viewer/DeviceSetup.h"
#include "viewer/SkyBlobs.h"

namespace grottix {

THeadlessViewer::THeadlessViewer(int width, int height, int workers)
    : THeadlessViewer(std::make_unique<THeadlessDXDraw>(width, height, 32, workers)) {}

THeadlessViewer::THeadlessViewer(std::unique_ptr<THeadlessDXDraw> display)
    : Display(std::move(display)), Scene(Display.get()), skyPicture_(ExpandSkyPicture()), floor_(MakeFloorRecord()) {
    Scene.SetNearDistance(0.5f);
    // Its pictures do not depend on how long drawing takes: the level's clock stands still.
    Scene.FixLevelTime(0);
    Scene.SkyVertices = ExpandSkyVertices();
    Display->OnInitializeSurface = [this](TCustomDXDraw& sender) { SetFixedDeviceState(sender, &Scene); };
    Display->Initialize();
}

uint8_t THeadlessViewer::Open(const std::string& path, float lightFactor, TImportReport* report) {
    const uint8_t result = OpenLevelIntoScene(Scene, path, 128.0f, lightFactor, skyPicture_, floor_, report);
    Scene.PrepareScene();
    Scene.Refresh();
    return result;
}

void THeadlessViewer::DrawFrame(bool filtering, bool transparency) {
    if (TD3DDevice* device = Display->D3DDevice7()) SetOptionStates(*device, filtering, transparency);
    Scene.RenderPass(true);
    Display->Flip();
}

TBitmap THeadlessViewer::Picture() {
    TBitmap picture = Display->BackBufferBitmap();
    picture.SetPixelFormat(TPixelFormat::pf24bit);
    return picture;
}

}  // namespace grottix
