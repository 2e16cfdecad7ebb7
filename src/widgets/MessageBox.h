#pragma once
// TMessageBox: a message box kept as a component. Its properties say what the box looks like;
// Execute shows it with the platform's standard box (QMessageBox) and keeps the answer.

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

namespace grottix {

enum class TMessageBoxButtons { mbxAbortRetryIgnore, mbxOK, mbxOKCancel, mbxRetryCancel, mbxYesNo, mbxYesNoCancel };
enum class TMessageBoxIcon {
    mbxNoIcon,
    mbxIconExclamation,
    mbxIconWarning,
    mbxIconInformation,
    mbxIconAsterisk,
    mbxIconQuestion,
    mbxIconStop,
    mbxIconError,
    mbxIconHand,
};
enum class TMessageBoxDefaultButton { mbxDefButton1, mbxDefButton2, mbxDefButton3, mbxNoDefButton };
enum class TMessageBoxModality { mbxApplModal, mbxSystemModal, mbxTaskModal, mbxNoModality, mbxDefModality };
enum class TMessageBoxTextAlignment { mbxLeft, mbxRight };

// The answer of a shown box, numbered like the platform's message-box results; Vetoed when
// OnBeforeExecute refused to show it.
enum class TMessageBoxResult { Vetoed = -1, None = 0, OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

class TMessageBox {
public:
    TMessageBox();
    virtual ~TMessageBox() = default;

    QString Caption;  // the application title unless set
    QString Text = QStringLiteral("Write your message here.");
    TMessageBoxButtons Buttons = TMessageBoxButtons::mbxOKCancel;
    TMessageBoxIcon Icon = TMessageBoxIcon::mbxNoIcon;
    TMessageBoxDefaultButton DefaultButton = TMessageBoxDefaultButton::mbxNoDefButton;
    TMessageBoxModality Modality = TMessageBoxModality::mbxDefModality;
    TMessageBoxTextAlignment TextAlignment = TMessageBoxTextAlignment::mbxLeft;
    bool OnTop = false;

    // Runs before the box shows; setting Allow to false cancels the showing.
    std::function<void(TMessageBox& Sender, bool& Allow)> OnBeforeExecute;
    // Runs after the box was answered; LastResult holds the answer.
    std::function<void(TMessageBox& Sender)> OnAfterExecute;

    TMessageBoxResult Execute();
    // Shows `text` instead of Text this one time.
    TMessageBoxResult Execute(const QString& text);
    // Shows Text with its %s and %d replaced by `arguments` in order.
    TMessageBoxResult ExecuteFormatted(const QStringList& arguments);

    TMessageBoxResult LastResult() const { return lastResult_; }

protected:
    // Shows the prepared box and returns the button pressed.
    virtual QMessageBox::StandardButton ShowBox(QMessageBox& box);

private:
    TMessageBoxResult lastResult_ = TMessageBoxResult::None;
};

// How a box is owned and blocks the rest of the program.
struct TMessageBoxPlacement {
    bool OwnedByActiveWindow = false;
    Qt::WindowModality Modality = Qt::ApplicationModal;
    bool StaysOnTop = false;
};

QList<QMessageBox::StandardButton> ButtonsOf(TMessageBoxButtons buttons);
QMessageBox::Icon IconOf(TMessageBoxIcon icon);
// The button that starts as the default one: the second or third of the set when asked for, else the first.
QMessageBox::StandardButton DefaultButtonOf(TMessageBoxButtons buttons, TMessageBoxDefaultButton which);
TMessageBoxPlacement PlacementOf(TMessageBoxModality modality, bool onTop);
TMessageBoxResult ResultOf(QMessageBox::StandardButton button);
// Replaces each %s or %d with the next argument (nothing when they run out); %% gives '%'.
QString FormatMessageText(const QString& format, const QStringList& arguments);

// Builds the box the component describes; the caller owns it.
void ConfigureMessageBox(QMessageBox& box, const TMessageBox& settings);

}  // namespace grottix
