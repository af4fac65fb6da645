#include "SettingsViews/SegmentedControl.h"

#include "Shared/CapsuleStyle.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QToolButton>

namespace quorvane {

namespace {

QString withoutPadding(const QString &label)
{
    QString text = label;
    text.remove(QChar(0x200A));
    return text.trimmed();
}

} // namespace

SegmentedControl::SegmentedControl(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
    , m_group(new QButtonGroup(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &SegmentedControl::chosen);
}

QToolButton *SegmentedControl::addSegment(const QString &label, int id)
{
    auto *button = new QToolButton(this);
    button->setText(label);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAccessibleName(withoutPadding(label));
    button->setFocusPolicy(Qt::StrongFocus);
    accentSegment(button);
    m_group->addButton(button, id);
    m_layout->addWidget(button);
    return button;
}

void SegmentedControl::setCurrent(int id)
{
    const QSignalBlocker blocker(m_group);
    if (QAbstractButton *button = m_group->button(id)) {
        button->setChecked(true);
        return;
    }
    // No segment for the value: none is shown chosen.
    m_group->setExclusive(false);
    for (QAbstractButton *button : m_group->buttons())
        button->setChecked(false);
    m_group->setExclusive(true);
}

int SegmentedControl::current() const { return m_group->checkedId(); }

QToolButton *SegmentedControl::segment(int id) const { return qobject_cast<QToolButton *>(m_group->button(id)); }

int SegmentedControl::count() const { return int(m_group->buttons().size()); }

} // namespace quorvane
