#include <gtest/gtest.h>

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
    bool ShownOwned = false;
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

TEST(MessageBoxFormat, ReplacesPlaceholdersInOrderAndSurvivesTooFewArguments) {
    EXPECT_EQ(FormatMessageText("%s of %d%%", {"3", "4"}), "3 of 4%");
    EXPECT_EQ(FormatMessageText("File %s: %s", {"a"}), "File a: ");
    EXPECT_EQ(FormatMessageText("100%x and %s%", {"%s"}), "100%x and %s%") << "arguments are not formatted again";
}

}  // namespace
}  // namespace grottix
