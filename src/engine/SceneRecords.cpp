#include "engine/SceneRecords.h"

#include <cstring>

namespace grottix {

std::array<uint8_t, TD3DActionInfo::kStoredSize> TD3DActionInfo::ToBytes() const {
    std::array<uint8_t, kStoredSize> bytes{};
    const auto put = [&](size_t offset, const void* value, size_t size) { std::memcpy(bytes.data() + offset, value, size); };
    bytes[0] = ActionKind;
    put(4, &ID, 4);
    put(8, &TargetKind, 4);
    put(12, &TargetID, 4);
    put(16, &Move, 12);
    put(28, &Turn, 12);
    put(40, &Period, 8);
    bytes[48] = Finished ? 1 : 0;
    put(49, Reserved.data(), Reserved.size());
    return bytes;
}

TD3DActionInfo TD3DActionInfo::FromBytes(const std::array<uint8_t, kStoredSize>& bytes) {
    TD3DActionInfo info;
    const auto get = [&](size_t offset, void* value, size_t size) { std::memcpy(value, bytes.data() + offset, size); };
    info.ActionKind = bytes[0];
    get(4, &info.ID, 4);
    get(8, &info.TargetKind, 4);
    get(12, &info.TargetID, 4);
    get(16, &info.Move, 12);
    get(28, &info.Turn, 12);
    get(40, &info.Period, 8);
    info.Finished = bytes[48] != 0;
    get(49, info.Reserved.data(), info.Reserved.size());
    return info;
}

}  // namespace grottix
