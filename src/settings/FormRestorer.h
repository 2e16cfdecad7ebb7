#pragma once
// TFormRestorer: a configuration key owned by a form that remembers the form's bounds. When the
// form closes it writes "SizeAndPosition" (left, top, width and height as four little-endian
// int32); Loaded puts the stored bounds back. Below a parent key its key is named after the form
// (its objectName), so the restorer is also the natural key for the form's other settings.

#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <optional>

#include "settings/AnotherReg.h"

class QWidget;

namespace grottix {

enum class TFormRestorerOption { frSizeAndPosition, frSizeOnly, frPositionOnly };

class TFormRestorer : public QObject, public TCustomKey {
public:
    static constexpr const char* ValueName = "SizeAndPosition";

    // Owned by the form (a Qt child of it) unless deleted earlier.
    TFormRestorer(QWidget& form, TSettingsStore& hive, std::string name, TKeyTimerFactory timers = {});
    ~TFormRestorer() override;

    std::string GetKeyName() const override;

    TFormRestorerOption Restoring = TFormRestorerOption::frSizeAndPosition;

    // Call once the form is built: takes over the form's close handling and restores the stored
    // bounds when the key exists.
    void Loaded();
    // Puts the stored bounds back; a missing, short or unreadable value changes nothing.
    void RestoreBounds();
    // Stores the form's current bounds. Fails with ERegistryError "Error writing value".
    void WriteBounds();

    // Called when writing the bounds on close fails. The form's own close handling is then skipped
    // (the window still closes); no handler means the failure goes unreported.
    std::function<void(const EGrottixError&)> OnWriteError;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<QRect> StoredBounds();

    QPointer<QWidget> form_;
    bool closeHandlerInstalled_ = false;
};

}  // namespace grottix
