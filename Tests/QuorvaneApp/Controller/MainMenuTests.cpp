#include "Controller/MainMenu.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

QStringList titles(const MainMenu::Menu &menu)
{
    QStringList out;
    for (const auto &item : menu.items)
        out << (item.isSeparator() ? QStringLiteral("-") : item.title);
    return out;
}

QString keys(const MainMenu::Menu &menu)
{
    QStringList out;
    for (const auto &item : menu.items) {
        if (!item.isSeparator())
            out << item.keyEquivalent.toString(QKeySequence::PortableText);
    }
    return out.join(QLatin1Char('|'));
}

QAction *actionTitled(QWidget &window, const QString &title)
{
    for (QAction *a : window.actions()) {
        if (a->text() == title)
            return a;
    }
    return nullptr;
}

} // namespace

TEST(MainMenu, WithoutANameTheApplicationMenuSaysQuorvane)
{
    const auto menus = MainMenu::build(AppInfo{});
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0].title, "Quorvane");
    EXPECT_EQ(titles(menus[0]), (QStringList{"About Quorvane", "-", "Hide Quorvane", "Hide Others", "-", "Quit Quorvane"}));
    EXPECT_EQ(keys(menus[0]), "|Ctrl+H|Ctrl+Alt+H|Ctrl+Q"); // About has none

    EXPECT_EQ(menus[1].title, "Edit");
    EXPECT_EQ(titles(menus[1]), (QStringList{"Undo", "Redo", "-", "Cut", "Copy", "Paste", "Paste and Match Style", "Delete", "Select All"}));
    EXPECT_EQ(keys(menus[1]), "Ctrl+Z|Ctrl+Shift+Z|Ctrl+X|Ctrl+C|Ctrl+V|Ctrl+Alt+Shift+V||Ctrl+A");

    EXPECT_EQ(menus[2].title, "Window");
    EXPECT_EQ(titles(menus[2]), (QStringList{"Minimize", "Close"}));
    EXPECT_EQ(keys(menus[2]), "Ctrl+M|Ctrl+W");
}

TEST(MainMenu, TheApplicationsOwnNameTitlesItsCommands)
{
    const auto menus = MainMenu::build(AppInfo{QString(), QStringLiteral("2.0"), QStringLiteral("Quorvane Beta")});
    EXPECT_EQ(menus[0].title, "Quorvane Beta");
    EXPECT_EQ(titles(menus[0]),
              (QStringList{"About Quorvane Beta", "-", "Hide Quorvane Beta", "Hide Others", "-", "Quit Quorvane Beta"}));
}

TEST(MainMenu, InstallsTheActionsOnAWindowOnceAndTheyReachTheFocusedWidget)
{
    QWidget window;
    auto *edit = new QLineEdit(QStringLiteral("some text"), &window);
    MainMenu::install(&window, AppInfo::bareExecutable());
    MainMenu::install(&window, AppInfo::bareExecutable()); // a second install adds nothing
    EXPECT_EQ(window.actions().size(), 14);
    QAction *quit = actionTitled(window, "Quit Quorvane");
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(quit->shortcutContext(), Qt::WindowShortcut);
    EXPECT_EQ(window.findChildren<QMenu *>().size(), 3);

    window.show();
    window.activateWindow();
    edit->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), edit);
    edit->deselect();
    actionTitled(window, "Select All")->trigger();
    EXPECT_EQ(edit->selectedText(), "some text");
    actionTitled(window, "Delete")->trigger();
    EXPECT_EQ(edit->text(), "");
    actionTitled(window, "Undo")->trigger();
    EXPECT_EQ(edit->text(), "some text");

    actionTitled(window, "Close")->trigger();
    EXPECT_FALSE(window.isVisible());
}
