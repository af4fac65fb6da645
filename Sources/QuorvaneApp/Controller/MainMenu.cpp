#include "Controller/MainMenu.h"

#include "Windows/LiteralText.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

namespace quorvane {

namespace {

constexpr const char *installedProperty = "quorvaneMainMenuInstalled";

// The focused widget's slot of that name, if it has one (line and text edits do).
bool invokeOnFocus(const char *slot)
{
    QWidget *focus = QApplication::focusWidget();
    return focus && QMetaObject::invokeMethod(focus, slot);
}

void sendKey(int key)
{
    if (QWidget *focus = QApplication::focusWidget()) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(focus, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(focus, &release);
    }
}

void perform(MainMenu::Command command, QWidget *window, const AppInfo &info)
{
    using C = MainMenu::Command;
    switch (command) {
    case C::about:
        QMessageBox::about(window, QCoreApplication::translate("MainMenu", "About %1").arg(MainMenu::appName(info)),
                           MainMenu::appName(info) + QLatin1Char(' ') + info.shortVersion);
        break;
    case C::hide: {
        // The application's own windows, those that carry this menu; panels and overlays
        // that belong to the desktop stay.
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget *w : windows) {
            if (w->isVisible() && w->property(installedProperty).toBool())
                w->close();
        }
        break;
    }
    case C::hideOthers:
        break; // other applications' windows are not this application's to hide
    case C::quit:
        QCoreApplication::quit();
        break;
    case C::undo:
        invokeOnFocus("undo");
        break;
    case C::redo:
        invokeOnFocus("redo");
        break;
    case C::cut:
        invokeOnFocus("cut");
        break;
    case C::copy:
        invokeOnFocus("copy");
        break;
    case C::paste:
        invokeOnFocus("paste");
        break;
    case C::pasteAndMatchStyle:
        invokeOnFocus("paste");
        break;
    case C::deleteSelection:
        sendKey(Qt::Key_Delete);
        break;
    case C::selectAll:
        invokeOnFocus("selectAll");
        break;
    case C::minimize:
        window->showMinimized();
        break;
    case C::close:
        window->close();
        break;
    }
}

} // namespace

QString MainMenu::appName(const AppInfo &info)
{
    return info.name.isEmpty() ? QStringLiteral("Quorvane") : info.name;
}

std::vector<MainMenu::Menu> MainMenu::build(const AppInfo &info)
{
    const QString name = appName(info);
    const Item separator{};
    const auto ctrl = [](Qt::Key key, Qt::KeyboardModifiers more = {}) {
        return QKeySequence(QKeyCombination(Qt::ControlModifier | more, key));
    };
    return {
        Menu{name,
             {
                 Item{QCoreApplication::translate("MainMenu", "About %1").arg(name), Command::about, {}},
                 separator,
                 Item{QCoreApplication::translate("MainMenu", "Hide %1").arg(name), Command::hide, ctrl(Qt::Key_H)},
                 Item{QCoreApplication::translate("MainMenu", "Hide Others"), Command::hideOthers, ctrl(Qt::Key_H, Qt::AltModifier)},
                 separator,
                 Item{QCoreApplication::translate("MainMenu", "Quit %1").arg(name), Command::quit, ctrl(Qt::Key_Q)},
             }},
        Menu{QCoreApplication::translate("MainMenu", "Edit"),
             {
                 Item{QCoreApplication::translate("MainMenu", "Undo"), Command::undo, ctrl(Qt::Key_Z)},
                 Item{QCoreApplication::translate("MainMenu", "Redo"), Command::redo, ctrl(Qt::Key_Z, Qt::ShiftModifier)},
                 separator,
                 Item{QCoreApplication::translate("MainMenu", "Cut"), Command::cut, ctrl(Qt::Key_X)},
                 Item{QCoreApplication::translate("MainMenu", "Copy"), Command::copy, ctrl(Qt::Key_C)},
                 Item{QCoreApplication::translate("MainMenu", "Paste"), Command::paste, ctrl(Qt::Key_V)},
                 Item{QCoreApplication::translate("MainMenu", "Paste and Match Style"), Command::pasteAndMatchStyle,
                      ctrl(Qt::Key_V, Qt::ShiftModifier | Qt::AltModifier)},
                 Item{QCoreApplication::translate("MainMenu", "Delete"), Command::deleteSelection, {}},
                 Item{QCoreApplication::translate("MainMenu", "Select All"), Command::selectAll, ctrl(Qt::Key_A)},
             }},
        Menu{QCoreApplication::translate("MainMenu", "Window"),
             {
                 Item{QCoreApplication::translate("MainMenu", "Minimize"), Command::minimize, ctrl(Qt::Key_M)},
                 Item{QCoreApplication::translate("MainMenu", "Close"), Command::close, ctrl(Qt::Key_W)},
             }},
    };
}

void MainMenu::install(QWidget *window, const AppInfo &info)
{
    if (!window || window->property(installedProperty).toBool())
        return;
    window->setProperty(installedProperty, true);
    for (const Menu &model : build(info)) {
        auto *menu = new QMenu(literalTitle(model.title), window);
        for (const Item &item : model.items) {
            if (item.isSeparator()) {
                menu->addSeparator();
                continue;
            }
            QAction *action = menu->addAction(literalTitle(item.title));
            action->setShortcut(item.keyEquivalent);
            action->setShortcutContext(Qt::WindowShortcut);
            const Command command = *item.command;
            QObject::connect(action, &QAction::triggered, window, [command, window, info] { perform(command, window, info); });
            window->addAction(action);
        }
    }
}

} // namespace quorvane
