#pragma once

#include "CustomFilter.h"
#include "SettingsViews/SettingsContext.h"

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace quorvane {

class ElidedLabel;

// One name rule of the Advanced section: whether it is on, the word a file's name must
// contain, the desktop matching files go to (a live one, or a new permanent one named on the
// spot) and its removal. Every change names the rule by its id, never by its place.
class CustomFilterRow : public QWidget {
    Q_OBJECT

public:
    CustomFilterRow(const SettingsContext &context, const CustomFilter &filter, const QStringList &liveNames,
                    QWidget *parent = nullptr);

    // Shows the stored rule and the live desktops again. The word field keeps what is being
    // typed unless the stored word itself changed.
    void update(const CustomFilter &filter, const QStringList &liveNames);

    const CustomFilter &filter() const { return m_filter; }
    QCheckBox *enabledToggle() const { return m_enabled; }
    QLineEdit *wordField() const { return m_word; }
    QToolButton *destinationButton() const { return m_destination; }
    QMenu *destinationMenu() const { return m_menu; }
    // The destination's label: the stored desktop, or "Choose desktop".
    ElidedLabel *destinationLabel() const { return m_destinationText; }
    QToolButton *trashButton() const { return m_trash; }

private:
    void submitWord();
    void rebuildMenu();
    void askForNewDesktop();

    const SettingsContext &m_context;
    CustomFilter m_filter;
    QStringList m_liveNames;
    QCheckBox *m_enabled;
    QLineEdit *m_word;
    QToolButton *m_destination;
    ElidedLabel *m_destinationText;
    QMenu *m_menu;
    QToolButton *m_trash;
};

} // namespace quorvane
