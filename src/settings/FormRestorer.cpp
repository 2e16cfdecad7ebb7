#include "settings/FormRestorer.h"

#include <QCloseEvent>
#include <QWidget>
#include <array>


namespace grottix {

namespace {

constexpr size_t BoundsSize = 16;

void PutInt32(std::array<uint8_t, BoundsSize>& out, size_t index, int value) {
    const auto bits = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i) out[index * 4 + i] = static_cast<uint8_t>(bits >> (8 * i));
}

int GetInt32(const std::vector<uint8_t>& in, size_t index) {
    uint32_t bits = 0;
    for (size_t i = 0; i < 4; ++i) bits |= uint32_t{in[index * 4 + i]} << (8 * i);
    return static_cast<int32_t>(bits);
}

}  // namespace

TFormRestorer::TFormRestorer(QWidget& form, TSettingsStore& hive, std::string name, TKeyTimerFactory timers)
    : QObject(&form), TCustomKey(hive, std::move(name), std::move(timers)), form_(&form) {}

TFormRestorer::~TFormRestorer() {
    if (form_ && closeHandlerInstalled_) form_->removeEventFilter(this);
}

std::string TFormRestorer::GetKeyName() const {
    if (!ParentKey()) return TCustomKey::GetKeyName();
    if (!form_) return {};
    // A form without a name would otherwise store its values in the parent key itself.
    const QString name = form_->objectName();
    return (name.isEmpty() ? QString::fromLatin1(form_->metaObject()->className()) : name).toStdString();
}

void TFormRestorer::Loaded() {
    if (!form_) return;
    if (!closeHandlerInstalled_) {
        form_->installEventFilter(this);
        closeHandlerInstalled_ = true;
    }
    if (Exists()) RestoreBounds();
}

void TFormRestorer::RestoreBounds() {
    const std::optional<QRect> bounds = StoredBounds();
    if (!bounds || !form_) return;
    if (Restoring != TFormRestorerOption::frSizeOnly) form_->move(bounds->topLeft());
    if (Restoring != TFormRestorerOption::frPositionOnly) form_->resize(bounds->size());
}

void TFormRestorer::WriteBounds() {
    if (!form_) return;
    std::array<uint8_t, BoundsSize> bytes{};
    PutInt32(bytes, 0, form_->x());
    PutInt32(bytes, 1, form_->y());
    PutInt32(bytes, 2, form_->width());
    PutInt32(bytes, 3, form_->height());
    if (!Store().WriteValue(Handle(), ValueName, TValueKind::Binary, bytes)) throw ERegistryError("Error writing value");
}

std::optional<QRect> TFormRestorer::StoredBounds() {
    try {
        const std::string& handle = Handle();
        if (Store().ValueSize(handle, ValueName) != BoundsSize) return std::nullopt;
        const auto bytes = Store().ReadValue(handle, ValueName);
        if (!bytes || bytes->size() != BoundsSize) return std::nullopt;
        return QRect(GetInt32(*bytes, 0), GetInt32(*bytes, 1), GetInt32(*bytes, 2), GetInt32(*bytes, 3));
    } catch (const EGrottixError&) {
        return std::nullopt;  // the form keeps the bounds it was built with
    }
}

// Writes the bounds before the form's own close handling runs; that handling then decides what
// closing does, as it would without the restorer.
bool TFormRestorer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != form_ || event->type() != QEvent::Close) return false;
    try {
        WriteBounds();
        return false;
    } catch (const EGrottixError& error) {
        if (OnWriteError) OnWriteError(error);
        return true;
    }
}

}  // namespace grottix
