#pragma once
// The program's settings store: an INI file kept by QSettings. Every change is written at once;
// QSettings writes the whole file beside the old one and renames it into place, so a failed or
// interrupted write leaves the previous file whole.
//
// Key paths become QSettings groups, one group per segment. Values written as strings are kept as
// readable text when they are valid UTF-8; everything else is kept as a byte array. A key that
// holds neither values nor subkeys exists for the life of the store but is not written to the file.

#include <QString>
#include <memory>
#include <set>

#include "settings/SettingsStore.h"

class QSettings;

namespace grottix {

class TQSettingsStore : public TSettingsStore {
public:
    explicit TQSettingsStore(QString fileName);
    ~TQSettingsStore() override;

    // <user config folder>/Halvoran/GrottixViewer.ini
    static QString DefaultFileName();
    const QString& FileName() const { return fileName_; }

    bool OpenKey(const std::string& path) override;
    bool CloseKey(const std::string& path) override;
    bool KeyExists(const std::string& path) override;
    bool DeleteKey(const std::string& path) override;
    std::optional<uint32_t> ValueSize(const std::string& path, const std::string& name) override;
    std::optional<std::vector<uint8_t>> ReadValue(const std::string& path, const std::string& name) override;
    bool WriteValue(const std::string& path, const std::string& name, TValueKind kind,
                    std::span<const uint8_t> bytes) override;
    bool DeleteValue(const std::string& path, const std::string& name) override;

private:
    bool Commit();
    void Reload();

    QString fileName_;
    std::unique_ptr<QSettings> settings_;
    std::set<std::string> createdKeys_;
};

}  // namespace grottix
