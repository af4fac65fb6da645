#pragma once

#include "Triggers/SpaceIdentifier.h"
#include "Workspace.h"

#include <QWidget>

#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace quorvane {

class ColorSwatch;

// One desktop's line in the Space bindings: its colour and name, the Space it is bound to,
// "Bind" to bind it to the Space shown now and the unbind button while it is bound.
class SpaceBindingRow : public QWidget {
    Q_OBJECT

public:
    // bind: the desktop is to be bound to the Space shown now; unbind: to none.
    SpaceBindingRow(const QString &name, std::function<void()> bind, std::function<void()> unbind,
                    QWidget *parent = nullptr);

    // "Not bound", "Space " and its number, or "Space missing" when no user Space has the identity.
    static QString bindingLabel(const std::optional<QString> &space, const SpaceIdentifier &spaces);

    // Shows the desktop as stored against the Space shown now (none: it cannot be read).
    void update(const Workspace &desktop, const std::optional<SpaceInfo> &current, const SpaceIdentifier &spaces);
    // The line drawn above every row but the first.
    void setDividerShown(bool shown);

    QString name() const { return m_name; }
    QLabel *nameLabel() const { return m_nameLabel; }
    QLabel *binding() const { return m_binding; }
    QPushButton *bindButton() const { return m_bind; }
    QToolButton *unbindButton() const { return m_unbind; }
    ColorSwatch *dot() const { return m_dot; }

private:
    QString m_name;
    QFrame *m_divider;
    ColorSwatch *m_dot;
    QLabel *m_nameLabel;
    QLabel *m_binding;
    QPushButton *m_bind;
    QToolButton *m_unbind;
};

} // namespace quorvane
