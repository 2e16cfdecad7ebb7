#include "widgets/ButtonEdit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace grottix {

TButtonEdit::TButtonEdit(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), button_(new QToolButton(this)) {
    button_->setText(QStringLiteral("..."));
    button_->setFixedWidth(ButtonWidth);
    button_->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(button_);
    setFocusProxy(edit_);
}

QString TButtonEdit::Text() const { return edit_->text(); }

void TButtonEdit::SetText(const QString& text) { edit_->setText(text); }

}  // namespace grottix
