#include "widgets/MessageBox.h"

#include <QApplication>
#include <QLabel>

namespace grottix {

namespace {

using B = QMessageBox::StandardButton;

// Restores a property when the scope ends, also through an exception.
class TRestoreText {
public:
    TRestoreText(QString& text, const QString& replacement) : text_(text), saved_(std::exchange(text, replacement)) {}
    ~TRestoreText() { text_ = std::move(saved_); }
    TRestoreText(const TRestoreText&) = delete;
    TRestoreText& operator=(const TRestoreText&) = delete;

private:
    QString& text_;
    QString saved_;
};

}  // namespace

TMessageBox::TMessageBox() : Caption(QGuiApplication::applicationDisplayName()) {}

TMessageBoxResult TMessageBox::Execute() {
    bool allow = true;
    if (OnBeforeExecute) OnBeforeExecute(*this, allow);
    if (!allow) return TMessageBoxResult::Vetoed;

    const TMessageBoxPlacement placement = PlacementOf(Modality, OnTop);
    QMessageBox box(placement.OwnedByActiveWindow ? QApplication::activeWindow() : nullptr);
    ConfigureMessageBox(box, *this);
    lastResult_ = ResultOf(ShowBox(box));
    if (OnAfterExecute) OnAfterExecute(*this);
    return lastResult_;
}

TMessageBoxResult TMessageBox::Execute(const QString& text) {
    const TRestoreText restore(Text, text);
    return Execute();
}

TMessageBoxResult TMessageBox::ExecuteFormatted(const QStringList& arguments) {
    return Execute(FormatMessageText(Text, arguments));
}

QMessageBox::StandardButton TMessageBox::ShowBox(QMessageBox& box) {
    box.exec();
    return box.standardButton(box.clickedButton());
}

QList<QMessageBox::StandardButton> ButtonsOf(TMessageBoxButtons buttons) {
    switch (buttons) {
        case TMessageBoxButtons::mbxAbortRetryIgnore: return {B::Abort, B::Retry, B::Ignore};
        case TMessageBoxButtons::mbxOK: return {B::Ok};
        case TMessageBoxButtons::mbxOKCancel: return {B::Ok, B::Cancel};
        case TMessageBoxButtons::mbxRetryCancel: return {B::Retry, B::Cancel};
        case TMessageBoxButtons::mbxYesNo: return {B::Yes, B::No};
        case TMessageBoxButtons::mbxYesNoCancel: return {B::Yes, B::No, B::Cancel};
    }
    return {B::Ok};
}

QMessageBox::Icon IconOf(TMessageBoxIcon icon) {
    switch (icon) {
        case TMessageBoxIcon::mbxIconExclamation:
        case TMessageBoxIcon::mbxIconWarning: return QMessageBox::Warning;
        case TMessageBoxIcon::mbxIconInformation:
        case TMessageBoxIcon::mbxIconAsterisk: return QMessageBox::Information;
        case TMessageBoxIcon::mbxIconQuestion: return QMessageBox::Question;
        case TMessageBoxIcon::mbxIconStop:
        case TMessageBoxIcon::mbxIconError:
        case TMessageBoxIcon::mbxIconHand: return QMessageBox::Critical;
        case TMessageBoxIcon::mbxNoIcon: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton DefaultButtonOf(TMessageBoxButtons buttons, TMessageBoxDefaultButton which) {
    const QList<B> set = ButtonsOf(buttons);
    qsizetype index = 0;
    if (which == TMessageBoxDefaultButton::mbxDefButton2) index = 1;
    if (which == TMessageBoxDefaultButton::mbxDefButton3) index = 2;
    // A default beyond the set leaves the first button, as the platform box does.
    return index < set.size() ? set[index] : set.front();
}

TMessageBoxPlacement PlacementOf(TMessageBoxModality modality, bool onTop) {
    switch (modality) {
        case TMessageBoxModality::mbxApplModal:
        case TMessageBoxModality::mbxDefModality: return {true, Qt::WindowModal, onTop};
        case TMessageBoxModality::mbxSystemModal: return {true, Qt::ApplicationModal, true};
        case TMessageBoxModality::mbxTaskModal: return {false, Qt::ApplicationModal, onTop};
        case TMessageBoxModality::mbxNoModality: break;
    }
    return {false, Qt::ApplicationModal, onTop};
}

TMessageBoxResult ResultOf(QMessageBox::StandardButton button) {
    switch (button) {
        case B::Ok: return TMessageBoxResult::OK;
        case B::Cancel: return TMessageBoxResult::Cancel;
        case B::Abort: return TMessageBoxResult::Abort;
        case B::Retry: return TMessageBoxResult::Retry;
        case B::Ignore: return TMessageBoxResult::Ignore;
        case B::Yes: return TMessageBoxResult::Yes;
        case B::No: return TMessageBoxResult::No;
        default: return TMessageBoxResult::None;
    }
}

QString FormatMessageText(const QString& format, const QStringList& arguments) {
    QString text;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        const QChar kind = i + 1 < format.size() ? format[i + 1] : QChar();
        if (c != u'%' || (kind != u's' && kind != u'd' && kind != u'%')) {
            text += c;
            continue;
        }
        ++i;
        if (kind == u'%') text += u'%';
        else if (next < arguments.size()) text += arguments[next++];
    }
    return text;
}

void ConfigureMessageBox(QMessageBox& box, const TMessageBox& settings) {
    const TMessageBoxPlacement placement = PlacementOf(settings.Modality, settings.OnTop);
    box.setWindowTitle(settings.Caption);
    box.setText(settings.Text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconOf(settings.Icon));
    QMessageBox::StandardButtons set;
    for (B button : ButtonsOf(settings.Buttons)) set |= button;
    box.setStandardButtons(set);
    box.setDefaultButton(DefaultButtonOf(settings.Buttons, settings.DefaultButton));
    box.setWindowModality(placement.Modality);
    if (placement.StaysOnTop) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (settings.TextAlignment == TMessageBoxTextAlignment::mbxRight) {
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) label->setAlignment(Qt::AlignRight);
    }
}

}  // namespace grottix
