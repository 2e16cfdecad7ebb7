#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "widgets/MessageBox.h"

namespace grottix {
namespace {

// Records the box instead of showing it and answers with a chosen button.
class TAnsweringBox : public TMessageBox {
public:
    QMessageBox::StandardButton Answer = QMessageBox::Ok;
    int Shown = 0;
    QString ShownTitle, ShownText;
    QMessageBox::Icon ShownIcon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons ShownButtons;
    QMessageBox::StandardButton ShownDefault = QMessageBox::NoButton;
    bool ShownOwned = false, ShownOnTop = false;
    Qt::Alignment ShownAlignment;
    std::function<void()> WhileShown;

protected:
    QMessageBox::StandardButton ShowBox(QMessageBox& box) override {
        ++Shown;
        ShownTitle = box.windowTitle();
        ShownText = box.text();
        ShownIcon = box.icon();
        ShownButtons = box.standardButtons();
        ShownDefault = box.standardButton(box.defaultButton());
        ShownOwned = box.parentWidget() != nullptr;
        ShownOnTop = box.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        ShownAlignment = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->alignment();
        if (WhileShown) WhileShown();
        return Answer;
    }
};

TEST(MessageBox, ANewBoxAsksOkOrCancelUnderTheApplicationTitle) {
    TAnsweringBox box;
    EXPECT_EQ(box.Execute(), TMessageBoxResult::OK);
    EXPECT_EQ(box.ShownTitle, "Grottix Viewer");
    EXPECT_EQ(box.ShownText, "Write your message here.");
    EXPECT_EQ(box.ShownButtons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.ShownDefault, QMessageBox::Ok);
    EXPECT_EQ(box.ShownIcon, QMessageBox::NoIcon);
    EXPECT_TRUE(box.ShownAlignment.testFlag(Qt::AlignLeft) || !box.ShownAlignment.testFlag(Qt::AlignRight));
}

TEST(MessageBox, TheViewersErrorBoxShowsAStopIconAndAFormattedText) {
    TAnsweringBox box;
    box.Buttons = TMessageBoxButtons::mbxOK;
    box.Icon = TMessageBoxIcon::mbxIconStop;
    box.Modality = TMessageBoxModality::mbxTaskModal;
    box.Text = QStringLiteral("File %s: %s");
    box.ExecuteFormatted({"/levels/x.tr4", "Map not found"});
    EXPECT_EQ(box.ShownText, "File /levels/x.tr4: Map not found");
    EXPECT_EQ(box.ShownIcon, QMessageBox::Critical);
    EXPECT_EQ(box.ShownButtons, QMessageBox::Ok);
    EXPECT_FALSE(box.ShownOwned);
    EXPECT_EQ(box.Text, "File %s: %s") << "the format stays for the next showing";
}

TEST(MessageBox, ATextOfTheMomentIsRestoredAfterwardsEvenWhenShowingFails) {
    TAnsweringBox box;
    box.Text = QStringLiteral("kept");
    box.Execute(QStringLiteral("Only one file at a time!"));
    EXPECT_EQ(box.ShownText, "Only one file at a time!");
    EXPECT_EQ(box.Text, "kept");

    box.WhileShown = [] { throw std::runtime_error("shown and failed"); };
    EXPECT_THROW(box.Execute(QStringLiteral("for now")), std::runtime_error);
    EXPECT_EQ(box.Text, "kept");
}

TEST(MessageBox, AVetoShowsNothingAndReturnsMinusOne) {
    TAnsweringBox box;
    box.Answer = QMessageBox::Cancel;
    box.Execute();
    int afterCalls = 0;
    box.OnBeforeExecute = [](TMessageBox&, bool& allow) { allow = false; };
    box.OnAfterExecute = [&](TMessageBox&) { ++afterCalls; };
    EXPECT_EQ(static_cast<int>(box.Execute()), -1);
    EXPECT_EQ(box.Shown, 1);
    EXPECT_EQ(afterCalls, 0);
    EXPECT_EQ(box.LastResult(), TMessageBoxResult::Cancel);
}

TEST(MessageBox, TheAnswerIsKeptAndNumberedLikeThePlatformsResults) {
    TAnsweringBox box;
    box.Buttons = TMessageBoxButtons::mbxAbortRetryIgnore;
    box.Answer = QMessageBox::Retry;
    TMessageBoxResult seenAfter = TMessageBoxResult::None;
    box.OnAfterExecute = [&](TMessageBox& sender) { seenAfter = sender.LastResult(); };
    EXPECT_EQ(static_cast<int>(box.Execute()), 4);
    EXPECT_EQ(seenAfter, TMessageBoxResult::Retry);
    box.Answer = QMessageBox::NoButton;  // closed without an answer
    EXPECT_EQ(box.Execute(), TMessageBoxResult::None);
}

TEST(MessageBox, DefaultButtonsCountFromTheFirstOfTheSet) {
    using B = QMessageBox::StandardButton;
    using D = TMessageBoxDefaultButton;
    EXPECT_EQ(DefaultButtonOf(TMessageBoxButtons::mbxYesNoCancel, D::mbxDefButton2), B::No);
    EXPECT_EQ(DefaultButtonOf(TMessageBoxButtons::mbxYesNoCancel, D::mbxDefButton3), B::Cancel);
    EXPECT_EQ(DefaultButtonOf(TMessageBoxButtons::mbxRetryCancel, D::mbxNoDefButton), B::Retry);
    EXPECT_EQ(DefaultButtonOf(TMessageBoxButtons::mbxOK, D::mbxDefButton3), B::Ok);
    EXPECT_EQ(ButtonsOf(TMessageBoxButtons::mbxAbortRetryIgnore), (QList<B>{B::Abort, B::Retry, B::Ignore}));
}

TEST(MessageBox, IconsFallIntoTheFourPlatformIcons) {
    using I = TMessageBoxIcon;
    for (I icon : {I::mbxIconExclamation, I::mbxIconWarning}) EXPECT_EQ(IconOf(icon), QMessageBox::Warning);
    for (I icon : {I::mbxIconInformation, I::mbxIconAsterisk}) EXPECT_EQ(IconOf(icon), QMessageBox::Information);
    for (I icon : {I::mbxIconStop, I::mbxIconError, I::mbxIconHand}) EXPECT_EQ(IconOf(icon), QMessageBox::Critical);
    EXPECT_EQ(IconOf(I::mbxIconQuestion), QMessageBox::Question);
}

TEST(MessageBox, RightAlignmentAndStayingOnTopReachTheBox) {
    TAnsweringBox box;
    box.TextAlignment = TMessageBoxTextAlignment::mbxRight;
    box.OnTop = true;
    box.Execute();
    EXPECT_TRUE(box.ShownAlignment.testFlag(Qt::AlignRight));
    EXPECT_TRUE(box.ShownOnTop);
    EXPECT_TRUE(PlacementOf(TMessageBoxModality::mbxSystemModal, false).StaysOnTop);
    EXPECT_FALSE(PlacementOf(TMessageBoxModality::mbxNoModality, false).OwnedByActiveWindow);
}

TEST(MessageBoxFormat, ReplacesPlaceholdersInOrderAndSurvivesTooFewArguments) {
    EXPECT_EQ(FormatMessageText("%s of %d%%", {"3", "4"}), "3 of 4%");
    EXPECT_EQ(FormatMessageText("File %s: %s", {"a"}), "File a: ");
    EXPECT_EQ(FormatMessageText("100%x and %s%", {"%s"}), "100%x and %s%") << "arguments are not formatted again";
}

}  // namespace
}  // namespace grottix
