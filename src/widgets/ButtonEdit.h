#pragma once
// An edit box with a small button at its right, for "type it or pick it" fields such as a file name.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace grottix {

class TButtonEdit : public QWidget {
public:
    static constexpr int ButtonWidth = 22;

    explicit TButtonEdit(QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);

    QLineEdit* Edit() const { return edit_; }
    QToolButton* Button() const { return button_; }

private:
    QLineEdit* edit_;
    QToolButton* button_;
};

}  // namespace grottix
