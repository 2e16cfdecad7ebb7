#pragma once
// Profiles: one named value each, under a key. The value's name in the store is the profile's Name.

#include <string>
#include <string_view>

#include "settings/AnotherReg.h"
#include "settings/Variant.h"

namespace grottix {

class TCustomProfile : public TRegistryEntry {
public:
    explicit TCustomProfile(std::string name, TCustomKey* key = nullptr);
    ~TCustomProfile() override;

    TCustomKey* Key() const { return key_; }
    void SetKey(TCustomKey* key);

    // Every operation fails with "No key associated with the profile" while Key is none.
    bool Exists() override;  // the value can be queried under the key
    void Delete() override;  // fails with "Cannot delete value <name>::<key name>"

protected:
    TCustomKey& RequireKey() const;
    // The stored bytes; nothing when the value is missing. Fails with "Error reading value".
    std::optional<std::vector<uint8_t>> ReadBytes();
    void WriteBytes(TValueKind kind, std::span<const uint8_t> bytes);

private:
    friend class TCustomKey;
    TCustomKey* key_ = nullptr;
};

class TVariantProfile : public TCustomProfile {
public:
    using TCustomProfile::TCustomProfile;
    // The empty variant when the value is missing.
    virtual TVariant ReadValue();
    virtual void WriteValue(const TVariant& value);
};

class TStringProfile : public TCustomProfile {
public:
    using TCustomProfile::TCustomProfile;
    // The stored text up to its terminating zero byte; empty when the value is missing.
    std::string ReadValue();
    void WriteValue(std::string_view text);
};

}  // namespace grottix
