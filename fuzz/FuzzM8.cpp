#include "codecs/xM8.h"
#include "CodecFuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    grottix::FuzzCodec<grottix::TM8Bitmap>(data, size);
    return 0;
}
