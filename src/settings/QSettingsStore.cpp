#include "settings/QSettingsStore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <limits>

#include "settings/KeyPath.h"

namespace grottix {

namespace {

// QSettings splits keys at slashes, and its INI files write a slash inside a section as a
// backslash; registry names may hold both, and '%'. Those three are percent-encoded, so every name
// comes back intact. "%00" never comes out of the encoding and stands for the empty value name.
QString EncodeName(const std::string& name) {
    if (name.empty()) return QStringLiteral("%00");
    QString encoded = QString::fromUtf8(name);
    encoded.replace(u'%', QStringLiteral("%25")).replace(u'/', QStringLiteral("%2F")).replace(u'\\', QStringLiteral("%5C"));
    return encoded;
}

QString GroupOf(const std::string& path) {
    QStringList segments;
    for (const std::string& segment : SplitKeyPath(path)) segments << EncodeName(segment);
    return segments.join(u'/');
}

QString ValueKeyOf(const std::string& path, const std::string& name) {
    const QString group = GroupOf(path);
    return group.isEmpty() ? EncodeName(name) : group + u'/' + EncodeName(name);
}

// Text is kept readable when it round-trips: valid UTF-8 without zero bytes inside.
std::optional<QString> AsText(std::span<const uint8_t> bytes) {
    if (!bytes.empty() && bytes.back() == 0) bytes = bytes.first(bytes.size() - 1);
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (view.contains('\0')) return std::nullopt;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(view);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

std::optional<std::vector<uint8_t>> BytesOf(const QVariant& value) {
    QByteArray bytes;
    switch (value.typeId()) {
        case QMetaType::QByteArray: bytes = value.toByteArray(); break;
        // A list is what QSettings makes of unquoted text with commas, as a hand edit may leave.
        case QMetaType::QStringList: bytes = value.toStringList().join(QStringLiteral(", ")).toUtf8().append('\0'); break;
        case QMetaType::QString: bytes = value.toString().toUtf8().append('\0'); break;
        default: return std::nullopt;
    }
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

TQSettingsStore::TQSettingsStore(QString fileName) : fileName_(std::move(fileName)) { Reload(); }

TQSettingsStore::~TQSettingsStore() = default;

QString TQSettingsStore::DefaultFileName() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Halvoran/GrottixViewer.ini");
}

void TQSettingsStore::Reload() {
    settings_ = std::make_unique<QSettings>(fileName_, QSettings::IniFormat);
    settings_->setAtomicSyncRequired(true);
}

bool TQSettingsStore::OpenKey(const std::string& path) {
    std::string prefix;
    for (const std::string& segment : SplitKeyPath(path)) {
        prefix = JoinKeyPath(prefix, segment);
        createdKeys_.insert(prefix);
    }
    return true;
}

bool TQSettingsStore::CloseKey(const std::string&) { return true; }

bool TQSettingsStore::KeyExists(const std::string& path) {
    const std::string key = NormalizeKeyPath(path);
    if (key.empty() || createdKeys_.contains(key)) return true;
    settings_->beginGroup(GroupOf(key));
    const bool hasContent = !settings_->allKeys().isEmpty();
    settings_->endGroup();
    return hasContent;
}

bool TQSettingsStore::DeleteKey(const std::string& path) {
    const std::string key = NormalizeKeyPath(path);
    if (key.empty() || !KeyExists(key)) return false;
    std::erase_if(createdKeys_, [&](const std::string& created) { return IsKeyPathWithin(created, key); });
    // Removing inside the group spares a value of the same name in the parent key.
    settings_->beginGroup(GroupOf(key));
    settings_->remove(QString());
    settings_->endGroup();
    return Commit();
}

std::optional<uint32_t> TQSettingsStore::ValueSize(const std::string& path, const std::string& name) {
    const QString key = ValueKeyOf(path, name);
    if (!settings_->contains(key)) return std::nullopt;
    const auto bytes = BytesOf(settings_->value(key));
    if (!bytes) return 0;  // present but unreadable: ReadValue reports the failure
    if (bytes->size() > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    return static_cast<uint32_t>(bytes->size());
}

std::optional<std::vector<uint8_t>> TQSettingsStore::ReadValue(const std::string& path, const std::string& name) {
    const QString key = ValueKeyOf(path, name);
    if (!settings_->contains(key)) return std::nullopt;
    return BytesOf(settings_->value(key));
}

bool TQSettingsStore::WriteValue(const std::string& path, const std::string& name, TValueKind kind,
                                 std::span<const uint8_t> bytes) {
    if (!KeyExists(path)) return false;
    const QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    std::optional<QString> text = kind == TValueKind::String ? AsText(bytes) : std::nullopt;
    settings_->setValue(ValueKeyOf(path, name), text ? QVariant(*text) : QVariant(raw));
    return Commit();
}

bool TQSettingsStore::DeleteValue(const std::string& path, const std::string& name) {
    const QString key = ValueKeyOf(path, name);
    if (!settings_->contains(key)) return false;
    settings_->remove(key);
    return Commit();
}

// Writes the file now. QSettings remembers a failed write for good, so after one the store starts
// over from the file on disk: the change that failed is dropped, the rest is as it was.
bool TQSettingsStore::Commit() {
    settings_->sync();
    if (settings_->status() != QSettings::AccessError) return true;
    Reload();
    return false;
}

}  // namespace grottix
