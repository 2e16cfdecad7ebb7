#include "codecs/xStubGraphic.h"

namespace grottix {

namespace {

// The sixteen colours of a 4-bit display palette; grey (128, 128, 128) and white are among them.
std::vector<TPaletteEntry> sixteenColours() {
    return {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
            {0, 128, 128},   {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
            {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

}  // namespace

void TStubBitmap::LoadFromStream(TStream&) {
    TBitmap stub(16, 16, TPixelFormat::pf4bit);
    stub.SetPalette(sixteenColours());
    stub.Rectangle(0, 0, 16, 16, 1, RGB(128, 128, 128), RGB(255, 255, 255));
    Assign(stub);
}

void TStubBitmap::SaveToStream(TStream&) {}

const TGraphicClass& TStubPAKBitmap::ClassInfo() {
    static const TGraphicClass info{"TStubPAKBitmap", [] { return std::make_unique<TStubPAKBitmap>(); }};
    return info;
}
const TGraphicClass& TStubWADBitmap::ClassInfo() {
    static const TGraphicClass info{"TStubWADBitmap", [] { return std::make_unique<TStubWADBitmap>(); }};
    return info;
}
const TGraphicClass& TStubBSPBitmap::ClassInfo() {
    static const TGraphicClass info{"TStubBSPBitmap", [] { return std::make_unique<TStubBSPBitmap>(); }};
    return info;
}

TUnitRegistration& StubGraphicUnit() {
    static TUnitRegistration unit(
        [] {
            TPicture::RegisterFileFormat("pak", "Stub PAK Graphic", TStubPAKBitmap::ClassInfo());
            TPicture::RegisterFileFormat("wad", "Stub WAD Graphic", TStubWADBitmap::ClassInfo());
            TPicture::RegisterFileFormat("bsp", "Stub BSP Graphic", TStubBSPBitmap::ClassInfo());
        },
        [] {
            TPicture::UnregisterGraphicClass(TStubPAKBitmap::ClassInfo());
            TPicture::UnregisterGraphicClass(TStubWADBitmap::ClassInfo());
            TPicture::UnregisterGraphicClass(TStubBSPBitmap::ClassInfo());
        });
    return unit;
}

}  // namespace grottix
