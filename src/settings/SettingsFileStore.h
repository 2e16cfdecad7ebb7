#pragma once
// The program's settings store: one JSON file in the user's config folder.
//
// The file maps each key path to an object of its values: text values as JSON strings (without
// their terminating zero), everything else as {"binary": base64}. Every change reads the file,
// applies itself and writes the whole file beside the old one before renaming it into place, all
// under a lock file; so a failed or interrupted write leaves the previous file whole, and values
// written meanwhile by another running copy of the program are kept. A file that cannot be read
// counts as empty and is replaced by the next change. Changes held back between BeginChanges and
// CommitChanges are written in one go, the lock held in between.

#include <QJsonObject>
#include <QLockFile>
#include <QString>
#include <memory>

#include "settings/SettingsStore.h"

namespace grottix {

class TSettingsFileStore : public TSettingsStore {
public:
    // Larger files are not settings of this program and read as empty.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    explicit TSettingsFileStore(QString fileName) : fileName_(std::move(fileName)) {}

    // <user config folder>/Halvoran/GrottixViewer.json
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

    void BeginChanges() override;
    bool CommitChanges() override;
    void CancelChanges() override;
    std::string LastError() const override { return lastError_; }

private:
    QJsonObject Load() const;
    // The keys as they stand: the file's, or the held-back ones.
    QJsonObject Keys() const;
    bool Save(const QJsonObject& keys);
    // The lock over the file (its folder created first); none, with LastError set, when it cannot be had.
    std::unique_ptr<QLockFile> Lock();
    bool Fail(const QString& reason);
    // Runs `change` on the file's keys under the lock and writes them back when it returns true;
    // between BeginChanges and CommitChanges it changes the held-back keys only.
    template <class F>
    bool Change(F change);

    QString fileName_;
    std::optional<QJsonObject> pending_;
    std::unique_ptr<QLockFile> pendingLock_;
    std::string lastError_;
};

}  // namespace grottix
