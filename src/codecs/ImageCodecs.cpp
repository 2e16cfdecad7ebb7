#include "codecs/ImageCodecs.h"

#include "codecs/BUPcx.h"
#include "codecs/Jpeg.h"
#include "codecs/PictureFormats.h"
#include "codecs/xGif.h"
#include "codecs/xM8.h"
#include "codecs/xPPM.h"
#include "codecs/xStubGraphic.h"
#include "codecs/xTGA.h"
#include "codecs/xWZ.h"
#include "codecs/zBitmap.h"

namespace grottix {

namespace {

// In the order the rows go into the list.
TUnitRegistration* const* units() {
    static TUnitRegistration* const list[] = {&TGAUnit(),  &PPMUnit(), &M8Unit(),  &ZBitmapUnit(), &WZUnit(),
                                              &JpegUnit(), &GifUnit(), &PcxUnit(), &StubGraphicUnit(), nullptr};
    return list;
}

}  // namespace

void InitializeImageCodecs() {
    for (auto* const* unit = units(); *unit; ++unit) (*unit)->Initialize();
}

void FinalizeImageCodecs() {
    auto* const* first = units();
    auto* const* last = first;
    while (*last) ++last;
    while (last != first) (*--last)->Finalize();
}

std::unique_ptr<TGraphic> CreateGraphicForFile(const std::string& path) {
    const TGraphicClass* graphicClass = TPicture::FindFileFormat(FileExtension(path));
    return graphicClass ? graphicClass->Create() : nullptr;
}

}  // namespace grottix
