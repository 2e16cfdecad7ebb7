// The parts of the device layer around the rasterizer: device state, the recording device, device
// textures, the headless display and the input state rules.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "device/Direct3DTexture.h"
#include "device/HeadlessDXDraw.h"
#include "device/InputStates.h"
#include "device/RecordingDevice.h"
#include "device/SoftwareDevice.h"
#include "device/TextureScope.h"

namespace grottix {
namespace {

using ::testing::ElementsAre;

TEST(DeviceState, ANewDeviceStartsWithTheDefaultsTheEngineReliesOn) {
    TRecordingDevice withZ(true), withoutZ(false);
    EXPECT_EQ(withZ.GetRenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_CCW);
    EXPECT_EQ(withZ.GetRenderState(D3DRENDERSTATE_LIGHTING), 1u);
    EXPECT_EQ(withZ.GetRenderState(D3DRENDERSTATE_ZFUNC), D3DCMP_LESSEQUAL);
    EXPECT_EQ(withZ.GetRenderState(D3DRENDERSTATE_ZENABLE), D3DZB_TRUE);
    EXPECT_EQ(withoutZ.GetRenderState(D3DRENDERSTATE_ZENABLE), D3DZB_FALSE);
    EXPECT_EQ(withZ.GetTextureStageState(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
    EXPECT_EQ(withZ.GetTextureStageState(0, D3DTSS_MAGFILTER), D3DTFG_POINT);
    EXPECT_EQ(withZ.GetTextureStageState(1, D3DTSS_COLOROP), D3DTOP_DISABLE);
}

TEST(DeviceState, NumbersOutsideTheInterfaceAreRefusedAndChangeNothing) {
    TSoftwareDevice device({8, 8, 32, true}, 1);
    EXPECT_FALSE(device.SetRenderState(TD3DRenderStateType(kRenderStateCount), 1));
    EXPECT_FALSE(device.SetTextureStageState(kMaxTextureStages, D3DTSS_COLOROP, 1));
    EXPECT_FALSE(device.SetTextureStageState(0, TD3DTextureStageStateType(99), 1));
    EXPECT_FALSE(device.SetTransform(TD3DTransformStateType(4), TD3DMatrix::Diagonal(2, 2, 2, 2)));
    EXPECT_EQ(device.GetTransform(D3DTRANSFORMSTATE_WORLD), TD3DMatrix::Identity());
    EXPECT_FALSE(device.SetTexture(kMaxTextureStages, nullptr));
    EXPECT_FALSE(device.SetViewport({4, 0, 8, 8, 0, 1})) << "wider than the surface";
    EXPECT_FALSE(device.SetViewport({0, 0, 8, 8, 0.5f, 0.25f})) << "depth range reversed";
    EXPECT_EQ(device.GetViewport(), (TD3DViewport7{0, 0, 8, 8, 0, 1}));
    EXPECT_TRUE(device.BeginScene());
    EXPECT_FALSE(device.BeginScene()) << "already in a scene";
    EXPECT_TRUE(device.EndScene());
    EXPECT_FALSE(device.EndScene());
}

TEST(RecordingDevice, RecordsEveryCallInOrderAndKeepsState) {
    TRecordingDevice device;
    auto texture = TDirectDrawSurface::Create(TBitmap(2, 2, TPixelFormat::pf24bit));
    texture->SetColorKey(RGB(0, 0, 0));
    const TD3DLVertex strip[4] = {};
    device.SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    device.SetTexture(0, texture.get());
    device.BeginScene();
    device.DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, strip, 4, 0);
    device.EndScene();
    EXPECT_THAT(device.Lines(), ElementsAre("SetRenderState 22 1", "SetTexture 0 texture", "BeginScene", "DrawPrimitive 5 482 4",
                                            "EndScene"));
    const TDeviceCall& draw = device.Calls()[3];
    EXPECT_EQ(draw.texture, texture.get());
    EXPECT_EQ(draw.textureKey, 0u) << "the key the texture had when it was drawn";
    EXPECT_EQ(draw.renderStates[D3DRENDERSTATE_CULLMODE], D3DCULL_NONE);
    EXPECT_EQ(draw.vertices.size(), 4u);
    EXPECT_EQ(device.GetRenderState(D3DRENDERSTATE_CULLMODE), D3DCULL_NONE);
}

TEST(TextureScope, BindsTheEarlierTextureAgainEvenWhenTheDeviceWasItsLastOwner) {
    TRecordingDevice device;
    auto earlier = TDirectDrawSurface::Create(TBitmap(2, 2, TPixelFormat::pf24bit));
    TDirectDrawSurface* const earlierAddress = earlier.get();
    device.SetTexture(0, earlier.get());
    earlier.reset();
    auto drawn = TDirectDrawSurface::Create(TBitmap(1, 1, TPixelFormat::pf24bit));
    {
        TTextureScope bound(device, drawn.get());
        EXPECT_EQ(device.GetTexture(0), drawn.get());
    }
    EXPECT_EQ(device.GetTexture(0), earlierAddress);
    EXPECT_EQ(device.GetTexture(0)->Width(), 2) << "still alive, not freed while the other was bound";
}

TEST(DirectDrawSurface, TakesThePixelsOfAnyPictureFormat) {
    TBitmap paletted(2, 1, TPixelFormat::pf8bit);
    paletted.SetPalette({{10, 20, 30}, {200, 100, 50}});
    paletted.ScanLine(0)[0] = 1;
    paletted.ScanLine(0)[1] = 0;
    auto surface = TDirectDrawSurface::Create(paletted);
    EXPECT_EQ(surface->Image()->texels[0], 0xFFC86432u);
    EXPECT_EQ(surface->Image()->texels[1], 0xFF0A141Eu);
    EXPECT_EQ(surface->ToBitmap().Pixel(0, 0), RGB(200, 100, 50));

    auto empty = TDirectDrawSurface::Create(TBitmap());
    EXPECT_EQ(empty->Width(), 1);
    EXPECT_EQ(empty->Image()->texels[0], 0xFF000000u);
}

TEST(DirectDrawSurface, RefusesPicturesLargerThanATextureCanBe) {
    EXPECT_THROW(TDirectDrawSurface::Create(TBitmap(TDirectDrawSurface::kMaxSide + 1, 1, TPixelFormat::pf8bit)), EGrottixError);
    auto surface = TDirectDrawSurface::Create(TBitmap(2, 2, TPixelFormat::pf24bit));
    EXPECT_THROW(surface->Assign(TBitmap(1, TDirectDrawSurface::kMaxSide + 1, TPixelFormat::pf8bit)), EGrottixError);
    EXPECT_EQ(surface->Width(), 2) << "a refused picture leaves the surface as it was";
}

TEST(DirectDrawSurface, ItsVersionChangesWithPixelsAndKeyOnly) {
    auto surface = TDirectDrawSurface::Create(TBitmap(2, 2, TPixelFormat::pf24bit));
    const uint64_t first = surface->Version();
    surface->SetColorKey(RGB(1, 2, 3));
    EXPECT_EQ(surface->ColorKey(), 0x010203u);
    const uint64_t keyed = surface->Version();
    EXPECT_NE(keyed, first);
    surface->SetColorKey(RGB(1, 2, 3));
    EXPECT_EQ(surface->Version(), keyed) << "the same key again is no change";
    surface->ClearColorKey();
    EXPECT_FALSE(surface->ColorKey());
}

TEST(Direct3DTexture2, ARebuiltSurfaceIsKeyedWithTheTransparentColourOnlyWhenTransparent) {
    THeadlessDXDraw display(8, 8);
    TBitmap picture(4, 4, TPixelFormat::pf24bit);
    TDirect3DTexture2 texture(&display, picture);
    EXPECT_EQ(texture.Display(), &display);
    texture.SetTransparentColor(RGB(9, 9, 9));
    texture.Restore(picture);
    EXPECT_FALSE(texture.Surface().ColorKey());
    texture.SetTransparent(true);
    EXPECT_FALSE(texture.Surface().ColorKey()) << "the flag counts when the surface is rebuilt";
    texture.Restore(picture);
    EXPECT_EQ(texture.Surface().ColorKey(), 0x090909u);
}

struct TEventLog {
    std::vector<std::string> events;
    void attach(TCustomDXDraw& display) {
        display.OnInitialize = [this](TCustomDXDraw&) { events.push_back("Initialize"); };
        display.OnInitializeSurface = [this](TCustomDXDraw&) { events.push_back("InitializeSurface"); };
        display.OnFinalize = [this](TCustomDXDraw&) { events.push_back("Finalize"); };
    }
};

TEST(HeadlessDXDraw, InitialisingFiresInitializeThenInitializeSurfaceAndReinitialisingFinalisesFirst) {
    TEventLog log;
    THeadlessDXDraw display(32, 24);
    log.attach(display);
    EXPECT_FALSE(display.CanDraw());
    EXPECT_EQ(display.D3DDevice7(), nullptr);
    display.Initialize();
    display.Initialize();
    display.Finalize();
    display.Finalize();
    EXPECT_THAT(log.events, ElementsAre("Initialize", "InitializeSurface", "Finalize", "Initialize", "InitializeSurface",
                                        "Finalize"));
}

TEST(HeadlessDXDraw, DestroyingAnInitialisedDisplayFiresNoEventIntoItsPossiblyGoneOwner) {
    auto log = std::make_unique<TEventLog>();
    auto display = std::make_unique<THeadlessDXDraw>(8, 8);
    log->attach(*display);
    display->Initialize();
    log.reset();
    display.reset();  // would write into the freed log if it fired OnFinalize
    SUCCEED();
}

TEST(HeadlessDXDraw, CreatesTheDeviceAndDepthBufferTheOptionsAskFor) {
    THeadlessDXDraw display(32, 24);
    display.SetOptions({do3D, doZBuffer, doHardware});
    display.Initialize();
    EXPECT_TRUE(display.CanDraw());
    EXPECT_NE(display.D3DDevice7(), nullptr);
    EXPECT_TRUE(display.HasZBuffer());
    EXPECT_EQ(display.SurfaceWidth(), 32);
    EXPECT_EQ(display.SurfaceHeight(), 24);
    EXPECT_FALSE(display.NowOptions().Contains(doHardware)) << "a headless display draws on the CPU";
    EXPECT_TRUE(display.Options().Contains(doHardware)) << "what was asked for stays asked for";

    display.SetOptions({do3D});
    display.Initialize();
    EXPECT_FALSE(display.HasZBuffer());
    display.SetOptions({doZBuffer});
    display.Initialize();
    EXPECT_EQ(display.D3DDevice7(), nullptr) << "no 3D device without do3D";
    EXPECT_FALSE(display.HasZBuffer());
}

TEST(HeadlessDXDraw, ReadsTheBackBufferIntoABitmapOfItsSizeAndDepth) {
    for (int bits : {32, 16}) {
        THeadlessDXDraw display(5, 3, bits);
        display.Initialize();
        display.D3DDevice7()->Clear(0, nullptr, D3DCLEAR_TARGET, D3DRGBA(255, 128, 0, 0), 1, 0);
        const TBitmap bitmap = display.BackBufferBitmap();
        EXPECT_EQ(bitmap.Width(), 5);
        EXPECT_EQ(bitmap.Height(), 3);
        EXPECT_EQ(bitmap.PixelFormat(), bits == 16 ? TPixelFormat::pf16bit : TPixelFormat::pf32bit);
        EXPECT_EQ(bitmap.Pixel(4, 2), bits == 16 ? RGB(255, 130, 0) : RGB(255, 128, 0));
    }
}

TEST(HeadlessDXDraw, RefusesSurfacesItCannotMakeAndStaysUninitialised) {
    for (const auto& [width, height, bits] : {std::tuple(0, 10, 32), std::tuple(10, 9000, 32), std::tuple(10, 10, 24)}) {
        THeadlessDXDraw display(width, height, bits);
        EXPECT_THROW(display.Initialize(), EDXDrawError);
        EXPECT_FALSE(display.Initialized());
        EXPECT_FALSE(display.CanDraw());
        EXPECT_TRUE(display.BackBufferBitmap().Empty());
        display.Flip();
    }
}

TEST(HeadlessDXDraw, ResizingTheSurfaceFiresInitializeSurfaceOnly) {
    TEventLog log;
    THeadlessDXDraw display(8, 8);
    display.Initialize();
    log.attach(display);
    display.SetSurfaceSize(12, 6, 32);
    EXPECT_THAT(log.events, ElementsAre("InitializeSurface"));
    EXPECT_EQ(display.SurfaceWidth(), 12);
    EXPECT_EQ(display.D3DDevice7()->GetViewport(), (TD3DViewport7{0, 0, 12, 6, 0, 1}));
    display.Flip();
    EXPECT_EQ(display.FlipCount(), 1);
}

TEST(HeadlessDXDraw, ARecordingDisplayHandsOutARecorderAsItsDevice) {
    THeadlessDXDraw display(16, 8, 32, 0, THeadlessDXDraw::TDevice::Recording);
    EXPECT_EQ(display.Recorder(), nullptr);
    display.OnInitializeSurface = [](TCustomDXDraw& sender) {
        sender.D3DDevice7()->SetViewport({0, 0, uint32_t(sender.SurfaceWidth()), uint32_t(sender.SurfaceHeight()), 0, 1});
    };
    display.Initialize();
    ASSERT_NE(display.Recorder(), nullptr);
    EXPECT_EQ(display.Recorder(), display.D3DDevice7());
    EXPECT_THAT(display.Recorder()->Lines(), ElementsAre("SetViewport 0 0 16 8"));
    EXPECT_EQ(display.BackBufferBitmap().Pixel(15, 7), RGB(0, 0, 0));
}

TKeyAssignList viewerKeys() {
    TKeyAssignList keys{};
    keys[InputUp] = {38, 104, 0};
    keys[InputDown] = {40, 98, 0};
    keys[InputButton5] = {16, 0, 0};
    keys[InputButton32] = {300, -1, 0};  // codes no key has
    return keys;
}

TEST(InputStates, AStateIsSetWhileAnyOfItsKeysIsDown) {
    TKeyDownTable down;
    EXPECT_TRUE(KeyboardStates(viewerKeys(), down).Empty());
    down.set(104);
    TDXInputStates states = KeyboardStates(viewerKeys(), down);
    EXPECT_TRUE(states.Contains(InputUp));
    EXPECT_FALSE(states.Contains(InputDown));
    down.set(38);
    down.set(40);
    states = KeyboardStates(viewerKeys(), down);
    EXPECT_TRUE(states.Contains(InputUp));
    EXPECT_TRUE(states.Contains(InputDown));
}

TEST(InputStates, ShiftAloneSetsOnlyTheRunStateAndUnassignedKeysNothing) {
    TKeyDownTable down;
    down.set(16);
    down.set(65);
    down.set(0);
    const TDXInputStates states = KeyboardStates(viewerKeys(), down);
    TDXInputStates run;
    run.Include(InputButton5);
    EXPECT_EQ(states, run);
}

TEST(InputStates, AxesReadZeroInTheDeadZoneAndSpreadTheRestOverTheRange) {
    EXPECT_EQ(ScaleAxis(0, 1000, 50), 0);
    EXPECT_EQ(ScaleAxis(16000, 1000, 50), 0) << "just inside half the travel";
    EXPECT_EQ(ScaleAxis(-16000, 1000, 50), 0);
    EXPECT_EQ(ScaleAxis(32767, 1000, 50), 1000);
    EXPECT_EQ(ScaleAxis(-32768, 1000, 50), -1000) << "the extra negative step is clamped";
    EXPECT_EQ(ScaleAxis(24576, 1000, 50), 500);
    EXPECT_EQ(ScaleAxis(16384, 1000, 0), 500);
    EXPECT_EQ(ScaleAxis(32767, 1000, 100), 0);
    EXPECT_EQ(ScaleAxis(32767, 1000, 250), 0) << "out-of-range dead zones are clamped";
    EXPECT_EQ(ScaleAxis(32767, -5, 50), 0);
}

TEST(InputStates, JoystickDirectionsAndButtonsMapOntoTheStateSet) {
    const TDXInputStates leftUp = JoystickStates(-1, -300, 0);
    EXPECT_TRUE(leftUp.Contains(InputLeft));
    EXPECT_TRUE(leftUp.Contains(InputUp));
    EXPECT_FALSE(leftUp.Contains(InputRight));
    const TDXInputStates rightDown = JoystickStates(7, 1, (1u << 0) | (1u << 31));
    EXPECT_TRUE(rightDown.Contains(InputRight));
    EXPECT_TRUE(rightDown.Contains(InputDown));
    EXPECT_TRUE(rightDown.Contains(InputButton1));
    EXPECT_TRUE(rightDown.Contains(InputButton32));
    EXPECT_FALSE(rightDown.Contains(InputButton2));
    EXPECT_TRUE(JoystickStates(0, 0, 0).Empty());
}

}  // namespace
}  // namespace grottix
