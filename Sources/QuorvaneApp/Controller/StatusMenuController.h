#pragma once

#include "Controller/StatusMenuModel.h"
#include "Shared/DocumentService.h"
#include "Tray/StatusItem.h"

#include <QMenu>
#include <QObject>

#include <optional>

namespace quorvane {

class AppController;

// The status item's menu: rebuilt from the document whenever the document service announces a
// change, opened by a click on the status item, and the actions of its items.
class StatusMenuController : public QObject {
    Q_OBJECT

public:
    StatusMenuController(AppController &app, DocumentService &store);

    // Hands the menu, the clicks and the scrolling of the status item to this menu and shows it.
    void install();
    void rebuild();
    // Rebuilds the menu when the document on disk, changed by whatever means, asks for other
    // items than the menu shows; run whenever the menu is about to open.
    void refresh();
    // The middle button (or Alt with the left one) runs the carousel; any other click opens the
    // menu and runs the chosen item once it has closed.
    void statusItemClicked(const StatusItem::Click &click);
    void choose(const StatusMenuItem &item);
    // A switch's files are moving (none: no longer). The menu marks it with a disabled line
    // naming the target and the count, in place, an open menu included; once the switch has run
    // past its notice the tool tip says it too, instead of naming the active desktop.
    void setSwitchUnderWay(std::optional<SwitchUnderWay> underWay);
    const std::optional<SwitchUnderWay> &switchUnderWay() const { return m_underWay; }

    const StatusMenuModel &model() const { return m_model; }
    QMenu &menu() { return m_menu; }

private:
    StatusMenuModel modelOf(const Config &config) const;
    void showToolTip(const Config &config);

    AppController &m_app;
    DocumentService &m_store;
    QMenu m_menu;
    StatusMenuModel m_model;
    bool m_menuOpen = false;
    std::optional<StatusMenuItem> m_pendingChoice;
    std::optional<SwitchUnderWay> m_underWay;
};

} // namespace quorvane
