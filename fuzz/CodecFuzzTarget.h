#pragma once
// The body of every codec fuzz target: decode the input, and encode what was decoded. A bad file may
// raise the program's errors; anything else (a crash, a sanitizer report, a hang) is a finding.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "storage/Exceptions.h"
#include "storage/Stream.h"

namespace grottix {

template <typename Codec>
void FuzzCodec(const uint8_t* data, size_t size) {
    TMemoryStream input(std::vector<uint8_t>(data, data + size));
    Codec codec;
    try {
        codec.LoadFromStream(input);
    } catch (const EGrottixError&) {
        return;
    }
    TMemoryStream output;
    codec.SaveToStream(output);
}

}  // namespace grottix
