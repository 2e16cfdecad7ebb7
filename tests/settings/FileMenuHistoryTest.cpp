#include <gtest/gtest.h>

#include <QAction>

#include "settings/FileMenuHistory.h"
#include "storage/Exceptions.h"

namespace grottix {
namespace {

struct THistoryMenu {
    THistoryMenu() {
        for (int i = 0; i < 10; ++i) {
            items.push_back(new QAction(&owner));
            history.AssignMenuItem(i, items.back());
        }
        history.OnOpen = [this](QAction* sender, const QString& path) { opened.emplace_back(sender, path); };
    }
    QStringList Captions() const {
        QStringList captions;
        for (QAction* item : items) captions << (item->isVisible() ? item->text() : QStringLiteral("-"));
        return captions;
    }
    QObject owner;
    TFileMenuHistory history{&owner};
    std::vector<QAction*> items;
    std::vector<std::pair<QAction*, QString>> opened;
};

TEST(FileMenuHistory, NumbersOneItemPerPathAndHidesTheRest) {
    THistoryMenu menu;
    menu.history.SetPaths({"/l/a.tr4", "/l/b.tr2", "/l/c&d.phd"});
    EXPECT_EQ(menu.Captions(), (QStringList{"&1. /l/a.tr4", "&2. /l/b.tr2", "&3. /l/c&&d.phd", "-", "-", "-", "-",
                                            "-", "-", "-"}));
}

TEST(FileMenuHistory, AnEmptySlotTakesNoNumberAndItsPathIsNotShown) {
    THistoryMenu menu;
    menu.history.AssignMenuItem(1, nullptr);
    menu.history.SetPaths({"a", "b", "c"});
    EXPECT_EQ(menu.items[0]->text(), "&1. a");
    EXPECT_EQ(menu.items[1]->text(), "") << "an item no longer in a slot is left alone";
    EXPECT_EQ(menu.items[2]->text(), "&2. c");
}

TEST(FileMenuHistory, AddingKeepsTheNineMostRecentWhileASetListMayFillAllTen) {
    THistoryMenu menu;
    for (int i = 1; i <= 10; ++i) menu.history.AddPath(QStringLiteral("/l/%1.tr4").arg(i));
    EXPECT_EQ(menu.history.Paths().size(), 9);
    EXPECT_EQ(menu.history.Paths().front(), "/l/10.tr4");
    EXPECT_EQ(menu.history.Paths().back(), "/l/2.tr4");

    QStringList ten;
    for (int i = 0; i < 10; ++i) ten << QStringLiteral("p%1").arg(i);
    menu.history.SetPaths(ten);
    EXPECT_EQ(menu.Captions().back(), "&10. p9");
}

TEST(FileMenuHistory, AddingAListedPathInAnyCaseLeavesTheOrder) {
    THistoryMenu menu;
    menu.history.SetPaths({"/l/A.tr4", "/l/b.tr4"});
    menu.history.AddPath("/L/b.TR4");
    EXPECT_EQ(menu.history.Paths(), (QStringList{"/l/A.tr4", "/l/b.tr4"}));
}

TEST(FileMenuHistory, SettingPathsDropsBlankLinesButKeepsOthersUntrimmed) {
    THistoryMenu menu;
    menu.history.SetPaths({"", " a ", "   ", "b"});
    EXPECT_EQ(menu.history.Paths(), (QStringList{" a ", "b"}));
}

TEST(FileMenuHistory, ClicksReportTheirSlotsPathAndClicksBeyondTheListDoNothing) {
    THistoryMenu menu;
    menu.history.SetPaths({"a", "b"});
    menu.items[1]->trigger();
    menu.items[5]->trigger();
    ASSERT_EQ(menu.opened.size(), 1u);
    EXPECT_EQ(menu.opened[0], std::make_pair(menu.items[1], QStringLiteral("b")));
}

TEST(FileMenuHistory, AssigningAnItemReplacesItsClickHandlerAndReleasesTheOldItem) {
    THistoryMenu menu;
    QAction replacement(&menu.owner);
    bool otherHandlerRan = false;
    QObject::connect(&replacement, &QAction::triggered, [&] { otherHandlerRan = true; });
    menu.history.AssignMenuItem(0, &replacement);
    menu.history.SetPaths({"a"});
    replacement.trigger();
    menu.items[0]->trigger();
    EXPECT_FALSE(otherHandlerRan);
    ASSERT_EQ(menu.opened.size(), 1u);
    EXPECT_EQ(menu.opened[0].first, &replacement);

    delete menu.items[2];
    menu.history.SetPaths({"a", "b", "c"});  // a deleted item is an empty slot
    EXPECT_EQ(menu.history.MenuItem(2), nullptr);
}

}  // namespace
}  // namespace grottix
