#include "codecs/xWZ.h"
#include "CodecFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    grottix::FuzzCodec<grottix::TWZ1Bitmap>(data, size);
    return 0;
}
