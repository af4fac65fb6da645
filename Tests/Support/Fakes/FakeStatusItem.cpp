#include "FakeStatusItem.h"

#include <QMenu>

namespace quorvane::test {

void FakeStatusItem::popUpMenu(QMenu &menu)
{
    poppedUpMenus.push_back(menu.title());
    if (whileMenuOpen)
        whileMenuOpen(menu);
}

void FakeStatusItem::click(Button button, Qt::KeyboardModifiers modifiers)
{
    if (m_onClick)
        m_onClick(Click{button, modifiers});
}

void FakeStatusItem::wheel(const Wheel &event)
{
    if (m_onWheel)
        m_onWheel(event);
}

} // namespace quorvane::test
