#pragma once

#include "SettingsViews/SettingsContext.h"

#include <QStringList>
#include <QWidget>

#include <map>

class QVBoxLayout;

namespace quorvane {

class GradualRows;

// The Pinned items section: the names kept on every desktop, pinning one more from the
// Desktop and unpinning, with a tag on each pin whose item is not on the Desktop now.
class PinnedFoldersTab : public QWidget {
    Q_OBJECT

public:
    explicit PinnedFoldersTab(const SettingsContext &context, QWidget *parent = nullptr);

    // The pin's line, none when it is not pinned.
    QWidget *pinRow(const QString &name) const;
    // Pins the chosen item when it lies directly on the Desktop (links resolved on both sides);
    // otherwise explains that only Desktop items can be pinned.
    void pinChosen(const QString &path);

private:
    void refresh();
    void pickAndPin();
    QWidget *makePinRow(const QString &name);

    const SettingsContext &m_context;
    QVBoxLayout *m_pins;
    std::map<QString, QWidget *> m_rows;
    GradualRows *m_gradual;
};

} // namespace quorvane
