#include "codecs/xGif.h"
#include "CodecFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    grottix::FuzzCodec<grottix::TGifBitmap>(data, size);
    return 0;
}
