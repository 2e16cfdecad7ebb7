#pragma once
// A settings store that lives in memory only: for tests, and for runs that must not touch the
// user's configuration.

#include <map>

#include "settings/SettingsStore.h"

namespace grottix {

class TMemorySettingsStore : public TSettingsStore {
public:
    struct TValue {
        TValueKind Kind;
        std::vector<uint8_t> Bytes;
    };

    bool OpenKey(const std::string& path) override;
    bool CloseKey(const std::string& path) override;
    bool KeyExists(const std::string& path) override;
    bool DeleteKey(const std::string& path) override;
    std::optional<uint32_t> ValueSize(const std::string& path, const std::string& name) override;
    std::optional<std::vector<uint8_t>> ReadValue(const std::string& path, const std::string& name) override;
    bool WriteValue(const std::string& path, const std::string& name, TValueKind kind,
                    std::span<const uint8_t> bytes) override;
    bool DeleteValue(const std::string& path, const std::string& name) override;

    // The stored value, for callers that inspect the store directly; null when missing.
    const TValue* FindValue(const std::string& path, const std::string& name) const;

private:
    using TValues = std::map<std::string, TValue>;
    const TValues* FindKey(const std::string& path) const;

    std::map<std::string, TValues> keys_{{std::string{}, TValues{}}};
};

}  // namespace grottix
