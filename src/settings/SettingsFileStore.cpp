#include "settings/SettingsFileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <limits>
#include <utility>

#include "settings/KeyPath.h"

namespace grottix {

namespace {

constexpr int LockTimeoutMs = 5000;

QString KeyOf(const std::string& path) { return QString::fromStdString(NormalizeKeyPath(path)); }
QString NameOf(const std::string& name) { return QString::fromStdString(name); }

// Text stays readable in the file when it round-trips: valid UTF-8 without zero bytes inside.
std::optional<QString> AsText(std::span<const uint8_t> bytes) {
    if (!bytes.empty() && bytes.back() == 0) bytes = bytes.first(bytes.size() - 1);
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (view.contains('\0')) return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(view);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

QJsonValue Encode(TValueKind kind, std::span<const uint8_t> bytes) {
    if (kind == TValueKind::String) {
        if (const auto text = AsText(bytes)) return *text;
    }
    const QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    return QJsonObject{{QStringLiteral("binary"), QString::fromLatin1(raw.toBase64())}};
}

std::optional<std::vector<uint8_t>> Decode(const QJsonValue& value) {
    QByteArray bytes;
    if (value.isString()) {
        bytes = value.toString().toUtf8().append('\0');
    } else {
        const QJsonValue binary = value.toObject().value(u"binary");
        if (!binary.isString()) return std::nullopt;
        const auto decoded =
            QByteArray::fromBase64Encoding(binary.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) return std::nullopt;
        bytes = *decoded;
    }
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

bool Within(const QString& key, const QString& ancestor) {
    return IsKeyPathWithin(key.toStdString(), ancestor.toStdString());
}

}  // namespace

QString TSettingsFileStore::DefaultFileName() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Halvoran/GrottixViewer.json");
}

QJsonObject TSettingsFileStore::Load() const {
    QFile file(fileName_);
    if (file.size() > MaxFileSize || !file.open(QIODevice::ReadOnly)) return {};
    const QJsonObject root = QJsonDocument::fromJson(file.read(MaxFileSize)).object();
    // Only what this store writes is taken; anything else a damaged or hand-edited file holds is
    // left out, so that it reads as missing.
    QJsonObject keys;
    for (auto key = root.begin(); key != root.end(); ++key) {
        if (!key->isObject()) continue;
        const QJsonObject stored = key->toObject();
        QJsonObject values;
        for (auto value = stored.begin(); value != stored.end(); ++value) {
            if (Decode(*value)) values.insert(value.key(), *value);
        }
        keys.insert(KeyOf(key.key().toStdString()), values);
    }
    return keys;
}

QJsonObject TSettingsFileStore::Keys() const { return pending_ ? *pending_ : Load(); }

bool TSettingsFileStore::Fail(const QString& reason) {
    lastError_ = QStringLiteral("Cannot write %1: %2").arg(fileName_, reason).toStdString();
    return false;
}

bool TSettingsFileStore::Save(const QJsonObject& keys) {
    QSaveFile file(fileName_);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return Fail(file.errorString());
    const QByteArray bytes = QJsonDocument(keys).toJson(QJsonDocument::Indented);
    // A short write (a full disk, a size limit) shows only in the count, or for a small file, held
    // in the buffer, in the flush; commit would otherwise rename the short file into place. Qt
    // gives no reason for a write that got part of the way.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return Fail(QStringLiteral("the disk is full, or a size limit was reached"));
    }
    return file.commit() || Fail(file.errorString());
}

std::unique_ptr<QLockFile> TSettingsFileStore::Lock() {
    const QString folder = QFileInfo(fileName_).absolutePath();
    if (!QDir().mkpath(folder)) {
        Fail(QStringLiteral("cannot create the folder %1").arg(folder));
        return nullptr;
    }
    auto lock = std::make_unique<QLockFile>(fileName_ + QStringLiteral(".lock"));
    if (lock->tryLock(LockTimeoutMs)) return lock;
    Fail(lock->error() == QLockFile::LockFailedError ? QStringLiteral("another program holds its lock file")
                                                      : QStringLiteral("cannot create its lock file"));
    return nullptr;
}

template <class F>
bool TSettingsFileStore::Change(F change) {
    if (pending_) return change(*pending_);
    const std::unique_ptr<QLockFile> lock = Lock();
    if (!lock) return false;
    QJsonObject keys = Load();
    return change(keys) && Save(keys);
}

void TSettingsFileStore::BeginChanges() {
    if (pending_) return;
    pendingLock_ = Lock();
    pending_ = Load();
}

bool TSettingsFileStore::CommitChanges() {
    if (!pending_) return true;
    const QJsonObject keys = *std::exchange(pending_, std::nullopt);
    const bool saved = pendingLock_ && Save(keys);
    pendingLock_.reset();
    return saved;
}

void TSettingsFileStore::CancelChanges() {
    pending_.reset();
    pendingLock_.reset();
}

bool TSettingsFileStore::OpenKey(const std::string& path) {
    if (KeyExists(path)) return true;
    return Change([&](QJsonObject& keys) {
        std::string prefix;
        for (const std::string& segment : SplitKeyPath(path)) {
            prefix = JoinKeyPath(prefix, segment);
            if (!keys.contains(QString::fromStdString(prefix))) keys.insert(QString::fromStdString(prefix), QJsonObject{});
        }
        return true;
    });
}

bool TSettingsFileStore::CloseKey(const std::string&) { return true; }

bool TSettingsFileStore::KeyExists(const std::string& path) {
    const QString key = KeyOf(path);
    return key.isEmpty() || Keys().contains(key);
}

bool TSettingsFileStore::DeleteKey(const std::string& path) {
    const QString doomed = KeyOf(path);
    if (doomed.isEmpty()) return false;
    return Change([&](QJsonObject& keys) {
        if (!keys.contains(doomed)) return false;
        for (const QString& key : keys.keys()) {
            if (Within(key, doomed)) keys.remove(key);
        }
        return true;
    });
}

std::optional<uint32_t> TSettingsFileStore::ValueSize(const std::string& path, const std::string& name) {
    const QJsonObject values = Keys().value(KeyOf(path)).toObject();
    if (!values.contains(NameOf(name))) return std::nullopt;
    const auto bytes = Decode(values.value(NameOf(name)));
    if (!bytes || bytes->size() > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    return static_cast<uint32_t>(bytes->size());
}

std::optional<std::vector<uint8_t>> TSettingsFileStore::ReadValue(const std::string& path, const std::string& name) {
    const QJsonObject values = Keys().value(KeyOf(path)).toObject();
    if (!values.contains(NameOf(name))) return std::nullopt;
    return Decode(values.value(NameOf(name)));
}

bool TSettingsFileStore::WriteValue(const std::string& path, const std::string& name, TValueKind kind,
                                    std::span<const uint8_t> bytes) {
    const QString key = KeyOf(path);
    if (key.isEmpty()) return false;
    return Change([&](QJsonObject& keys) {
        if (!keys.contains(key)) return false;
        QJsonObject values = keys.value(key).toObject();
        values.insert(NameOf(name), Encode(kind, bytes));
        keys.insert(key, values);
        return true;
    });
}

bool TSettingsFileStore::DeleteValue(const std::string& path, const std::string& name) {
    const QString key = KeyOf(path);
    return Change([&](QJsonObject& keys) {
        QJsonObject values = keys.value(key).toObject();
        if (!values.contains(NameOf(name))) return false;
        values.remove(NameOf(name));
        keys.insert(key, values);
        return true;
    });
}

}  // namespace grottix
