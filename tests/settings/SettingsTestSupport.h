#pragma once
// Fixtures of the settings tests: a store whose operations can be made to fail, a timer that fires
// when told, and the viewer's own key layout.

#include <memory>
#include <set>

#include "settings/AnotherReg.h"
#include "settings/MemorySettingsStore.h"

namespace grottix::test {

class TFailingStore : public TMemorySettingsStore {
public:
    enum class TOp { Open, Close, Delete, Read, Write, DeleteValue };
    std::set<TOp> Failing;

    bool OpenKey(const std::string& path) override { return !Failing.contains(TOp::Open) && TMemorySettingsStore::OpenKey(path); }
    bool CloseKey(const std::string& path) override { return !Failing.contains(TOp::Close) && TMemorySettingsStore::CloseKey(path); }
    bool DeleteKey(const std::string& path) override {
        return !Failing.contains(TOp::Delete) && TMemorySettingsStore::DeleteKey(path);
    }
    std::optional<std::vector<uint8_t>> ReadValue(const std::string& path, const std::string& name) override {
        if (Failing.contains(TOp::Read)) return std::nullopt;
        return TMemorySettingsStore::ReadValue(path, name);
    }
    bool WriteValue(const std::string& path, const std::string& name, TValueKind kind,
                    std::span<const uint8_t> bytes) override {
        return !Failing.contains(TOp::Write) && TMemorySettingsStore::WriteValue(path, name, kind, bytes);
    }
    bool DeleteValue(const std::string& path, const std::string& name) override {
        return !Failing.contains(TOp::DeleteValue) && TMemorySettingsStore::DeleteValue(path, name);
    }
};

struct TManualTimerState {
    bool Running = false;
    std::chrono::milliseconds Interval{0};
    std::function<void()> OnTimeout;
    int Created = 0;
    int Alive = 0;
    void Fire() { if (Running && OnTimeout) OnTimeout(); }
};

inline TKeyTimerFactory ManualTimers(TManualTimerState& state) {
    class TManualTimer : public TKeyTimer {
    public:
        explicit TManualTimer(TManualTimerState& state) : state_(state) { ++state_.Alive; }
        ~TManualTimer() override { --state_.Alive; state_.Running = false; }
        void Start(std::chrono::milliseconds interval, std::function<void()> onTimeout) override {
            state_.Running = true;
            state_.Interval = interval;
            state_.OnTimeout = std::move(onTimeout);
        }
        void Stop() override { state_.Running = false; }

    private:
        TManualTimerState& state_;
    };
    return [&state] {
        ++state.Created;
        return std::make_unique<TManualTimer>(state);
    };
}

// The viewer's root key: Software\Halvoran\GrottixViewer\1.0.
inline std::unique_ptr<TAppConfigKey> ViewerRootKey(TSettingsStore& store, TKeyTimerFactory timers = {}) {
    auto root = std::make_unique<TAppConfigKey>(store, "AppConfigKey1", std::move(timers));
    root->SetCompanyName("Halvoran");
    root->SetApplicationName("GrottixViewer");
    root->SetApplicationVersion("1.0");
    return root;
}

}  // namespace grottix::test
