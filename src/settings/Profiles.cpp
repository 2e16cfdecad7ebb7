#include "settings/Profiles.h"

#include <algorithm>
#include <cstring>

namespace grottix {

TCustomProfile::TCustomProfile(std::string name, TCustomKey* key) : TRegistryEntry(std::move(name)) { SetKey(key); }

TCustomProfile::~TCustomProfile() { SetKey(nullptr); }

void TCustomProfile::SetKey(TCustomKey* key) {
    if (key == key_) return;
    if (key_) std::erase(key_->profiles_, this);
    key_ = key;
    if (key_) key_->profiles_.push_back(this);
}

TCustomKey& TCustomProfile::RequireKey() const {
    if (!key_) throw ERegistryError("No key associated with the profile");
    return *key_;
}

bool TCustomProfile::Exists() {
    TCustomKey& key = RequireKey();
    return key.Store().ValueSize(key.Handle(), Name()).has_value();
}

void TCustomProfile::Delete() {
    TCustomKey& key = RequireKey();
    if (!key.Store().DeleteValue(key.Handle(), Name())) {
        throw ERegistryError("Cannot delete value " + Name() + "::" + key.GetKeyName());
    }
}

std::optional<std::vector<uint8_t>> TCustomProfile::ReadBytes() {
    TCustomKey& key = RequireKey();
    const std::string& handle = key.Handle();
    if (!key.Store().ValueSize(handle, Name())) return std::nullopt;
    auto bytes = key.Store().ReadValue(handle, Name());
    if (!bytes) throw ERegistryError("Error reading value");
    return bytes;
}

void TCustomProfile::WriteBytes(TValueKind kind, std::span<const uint8_t> bytes) {
    TCustomKey& key = RequireKey();
    if (!key.Store().WriteValue(key.Handle(), Name(), kind, bytes)) throw ERegistryError("Error writing value");
}

TVariant TVariantProfile::ReadValue() {
    const auto bytes = ReadBytes();
    return bytes ? DecodeVariant(*bytes) : TVariant{};
}

void TVariantProfile::WriteValue(const TVariant& value) {
    RequireKey();
    WriteBytes(TValueKind::Binary, EncodeVariant(value));
}

std::string TStringProfile::ReadValue() {
    const auto bytes = ReadBytes();
    if (!bytes) return {};
    const auto zero = std::find(bytes->begin(), bytes->end(), uint8_t{0});
    return std::string(bytes->begin(), zero);
}

void TStringProfile::WriteValue(std::string_view text) {
    std::vector<uint8_t> bytes(text.size() + 1, 0);
    std::memcpy(bytes.data(), text.data(), text.size());
    WriteBytes(TValueKind::String, bytes);
}

}  // namespace grottix
