#include "settings/AnotherReg.h"

#include <algorithm>
#include <utility>

#include "settings/KeyPath.h"
#include "settings/Profiles.h"

namespace grottix {

namespace {

constexpr const char* LostKeyPath = "Software\\!!!AnotherReg-LostKey!!!";

template <class T>
void RemoveFrom(std::vector<T*>& list, T* item) {
    std::erase(list, item);
}

}  // namespace

TCustomKey::TCustomKey(TSettingsStore& hive, std::string name, TKeyTimerFactory timers)
    : TRegistryEntry(std::move(name)), hive_(hive), timers_(std::move(timers)) {}

TCustomKey::~TCustomKey() {
    CloseQuietly();
    for (TCustomKey* child : childKeys_) child->ForgetParent();
    for (TCustomProfile* profile : profiles_) profile->key_ = nullptr;
    if (parent_) RemoveFrom(parent_->childKeys_, this);
}

void TCustomKey::SetName(std::string name) {
    if (name == Name()) return;
    Close();
    TRegistryEntry::SetName(std::move(name));
}

bool TCustomKey::Exists() { return Store().KeyExists(NormalizeKeyPath(FullPath())); }

void TCustomKey::Delete() {
    Close();
    const std::string base = parent_ ? parent_->Handle() : std::string{};
    if (!Store().DeleteKey(JoinKeyPath(base, GetKeyName()))) throw ERegistryError("Cannot delete key " + FullPath());
}

void TCustomKey::SetParentKey(TCustomKey* key) {
    if (key == parent_) return;
    for (const TCustomKey* ancestor = key; ancestor; ancestor = ancestor->parent_) {
        if (ancestor == this) throw ERegistryError("Cross-references are not popular anymore");
    }
    Close();
    if (parent_) RemoveFrom(parent_->childKeys_, this);
    parent_ = key;
    if (parent_) parent_->childKeys_.push_back(this);
}

std::string TCustomKey::GetKeyName() const {
    if (parent_) return Name();
    return std::string(LostKeyPath) + "\\" + Name();
}

std::string TCustomKey::FullPath() const {
    if (!parent_) return GetKeyName();
    return parent_->FullPath() + "\\" + GetKeyName();
}

void TCustomKey::Open() {
    if (!handle_) {
        const std::string base = parent_ ? parent_->Handle() : std::string{};
        const std::string path = JoinKeyPath(base, GetKeyName());
        if (!Store().OpenKey(path)) throw ERegistryError("Cannot open key " + GetKeyName());
        handle_ = path;
    }
    if (!parent_) RestartAutoClose();
}

void TCustomKey::Close() {
    const std::optional<std::string> handle = std::exchange(handle_, std::nullopt);
    if (autoCloseTimer_) {
        autoCloseTimer_->Stop();
        autoCloseTimer_.reset();
    }
    if (handle && !Store().CloseKey(*handle)) throw ERegistryError("Cannot close key " + GetKeyName());
}

const std::string& TCustomKey::Handle() {
    Open();
    return *handle_;
}

TSettingsStore& TCustomKey::Store() const { return parent_ ? parent_->Store() : hive_; }

void TCustomKey::RestartAutoClose() {
    if (!timers_) return;
    if (!autoCloseTimer_) autoCloseTimer_ = timers_();
    if (autoCloseTimer_) autoCloseTimer_->Start(AutoCloseDelay, [this] { AutoClose(); });
}

// Runs inside the timer's own notification, so the timer is stopped but kept; Close releases it.
void TCustomKey::AutoClose() noexcept {
    autoCloseTimer_->Stop();
    if (const auto handle = std::exchange(handle_, std::nullopt)) Store().CloseKey(*handle);
}

void TCustomKey::CloseQuietly() noexcept {
    try {
        Close();
    } catch (const EGrottixError&) {
        // A key that is going away has no one left to tell.
    }
}

void TCustomKey::ForgetParent() noexcept {
    CloseQuietly();
    parent_ = nullptr;
}

TAppConfigKey::TAppConfigKey(TSettingsStore& hive, std::string name, TKeyTimerFactory timers)
    : TCustomKey(hive, std::move(name), std::move(timers)) {}

std::string TAppConfigKey::GetKeyName() const {
    return "Software\\" + companyName_ + "\\" + applicationName_ + "\\" + applicationVersion_;
}

void TAppConfigKey::SetCompanyName(std::string value) { Replace(companyName_, std::move(value)); }
void TAppConfigKey::SetApplicationName(std::string value) { Replace(applicationName_, std::move(value)); }
void TAppConfigKey::SetApplicationVersion(std::string value) { Replace(applicationVersion_, std::move(value)); }

void TAppConfigKey::Replace(std::string& field, std::string value) {
    if (value.empty()) throw ERegistryError("Invalid value");
    Close();
    field = std::move(value);
}

}  // namespace grottix
