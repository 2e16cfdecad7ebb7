#include "settings/MemorySettingsStore.h"

#include <limits>

#include "settings/KeyPath.h"

namespace grottix {

bool TMemorySettingsStore::OpenKey(const std::string& path) {
    std::string prefix;
    for (const std::string& segment : SplitKeyPath(path)) {
        prefix = JoinKeyPath(prefix, segment);
        keys_.try_emplace(prefix);
    }
    return true;
}

bool TMemorySettingsStore::CloseKey(const std::string&) { return true; }

bool TMemorySettingsStore::KeyExists(const std::string& path) { return FindKey(path) != nullptr; }

bool TMemorySettingsStore::DeleteKey(const std::string& path) {
    const std::string key = NormalizeKeyPath(path);
    if (key.empty() || !keys_.contains(key)) return false;
    std::erase_if(keys_, [&](const auto& entry) { return IsKeyPathWithin(entry.first, key); });
    return true;
}

std::optional<uint32_t> TMemorySettingsStore::ValueSize(const std::string& path, const std::string& name) {
    const TValue* value = FindValue(path, name);
    if (!value || value->Bytes.size() > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    return static_cast<uint32_t>(value->Bytes.size());
}

std::optional<std::vector<uint8_t>> TMemorySettingsStore::ReadValue(const std::string& path, const std::string& name) {
    const TValue* value = FindValue(path, name);
    if (!value) return std::nullopt;
    return value->Bytes;
}

bool TMemorySettingsStore::WriteValue(const std::string& path, const std::string& name, TValueKind kind,
                                      std::span<const uint8_t> bytes) {
    const auto key = keys_.find(NormalizeKeyPath(path));
    if (key == keys_.end()) return false;
    key->second[name] = TValue{kind, {bytes.begin(), bytes.end()}};
    return true;
}

bool TMemorySettingsStore::DeleteValue(const std::string& path, const std::string& name) {
    const auto key = keys_.find(NormalizeKeyPath(path));
    return key != keys_.end() && key->second.erase(name) == 1;
}

const TMemorySettingsStore::TValue* TMemorySettingsStore::FindValue(const std::string& path,
                                                                    const std::string& name) const {
    const TValues* values = FindKey(path);
    if (!values) return nullptr;
    const auto value = values->find(name);
    return value == values->end() ? nullptr : &value->second;
}

const TMemorySettingsStore::TValues* TMemorySettingsStore::FindKey(const std::string& path) const {
    const auto key = keys_.find(NormalizeKeyPath(path));
    return key == keys_.end() ? nullptr : &key->second;
}

}  // namespace grottix
