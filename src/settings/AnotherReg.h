#pragma once
// Configuration keys. Keys form a tree through ParentKey and compose the path of the key they
// stand for; a key without a parent sits directly below the store's root. Keys open lazily and
// cache their handle; a root key closes itself 5 s after it was last opened.

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/RegistryError.h"
#include "settings/SettingsStore.h"

namespace grottix {

class TCustomProfile;

// A restartable one-shot timer on the main thread (QTimer in the program, a manual one in tests).
class TKeyTimer {
public:
    virtual ~TKeyTimer() = default;
    virtual void Start(std::chrono::milliseconds interval, std::function<void()> onTimeout) = 0;
    virtual void Stop() = 0;
};
using TKeyTimerFactory = std::function<std::unique_ptr<TKeyTimer>()>;

// Common base of keys and profiles: a named component that stands for something in the store.
class TRegistryEntry {
public:
    explicit TRegistryEntry(std::string name) : name_(std::move(name)) {}
    virtual ~TRegistryEntry() = default;
    TRegistryEntry(const TRegistryEntry&) = delete;
    TRegistryEntry& operator=(const TRegistryEntry&) = delete;

    const std::string& Name() const { return name_; }
    virtual void SetName(std::string name) { name_ = std::move(name); }

    virtual bool Exists() = 0;
    virtual void Delete() = 0;

private:
    std::string name_;
};

class TCustomKey : public TRegistryEntry {
public:
    static constexpr std::chrono::milliseconds AutoCloseDelay{5000};

    // `hive` serves this key while it is a root key; below a parent, the root's store is used.
    // Without a timer factory a root key stays open until it is closed.
    TCustomKey(TSettingsStore& hive, std::string name, TKeyTimerFactory timers = {});
    ~TCustomKey() override;

    void SetName(std::string name) override;

    bool Exists() override;  // the key exists in the store
    void Delete() override;  // closes and deletes the key

    TCustomKey* ParentKey() const { return parent_; }
    // Fails with "Cross-references are not popular anymore" when `key` is this key or lies below it.
    virtual void SetParentKey(TCustomKey* key);
    // This key's own segment(s) of the path.
    virtual std::string GetKeyName() const;
    // The parent's full path, a backslash, then GetKeyName; for a root key GetKeyName alone.
    std::string FullPath() const;

    virtual void Open();
    virtual void Close();
    bool IsOpen() const { return handle_.has_value(); }
    // Opens the key and hands back its handle: its path in the store.
    const std::string& Handle();
    TSettingsStore& Store() const;

private:
    friend class TCustomProfile;

    void RestartAutoClose();
    void AutoClose() noexcept;
    void CloseQuietly() noexcept;
    void ForgetParent() noexcept;

    TSettingsStore& hive_;
    TKeyTimerFactory timers_;
    std::unique_ptr<TKeyTimer> autoCloseTimer_;
    TCustomKey* parent_ = nullptr;
    std::optional<std::string> handle_;
    std::vector<TCustomKey*> childKeys_;
    std::vector<TCustomProfile*> profiles_;
};

// The application's root key: Software\<CompanyName>\<ApplicationName>\<ApplicationVersion>.
class TAppConfigKey : public TCustomKey {
public:
    TAppConfigKey(TSettingsStore& hive, std::string name, TKeyTimerFactory timers = {});

    std::string GetKeyName() const override;

    const std::string& CompanyName() const { return companyName_; }
    const std::string& ApplicationName() const { return applicationName_; }
    const std::string& ApplicationVersion() const { return applicationVersion_; }
    // Each fails with "Invalid value" for an empty string; otherwise closes the key first.
    void SetCompanyName(std::string value);
    void SetApplicationName(std::string value);
    void SetApplicationVersion(std::string value);

private:
    void Replace(std::string& field, std::string value);

    std::string companyName_ = "Someone forgot to specify company name";
    std::string applicationName_ = "Someone forgot to specify application name";
    std::string applicationVersion_ = "Someone forgot to specify application version";
};

}  // namespace grottix
