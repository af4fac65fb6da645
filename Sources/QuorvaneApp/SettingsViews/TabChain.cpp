#include "SettingsViews/TabChain.h"

#include <QLayout>
#include <QSet>
#include <QWidget>

#include <algorithm>

namespace quorvane {

namespace {

void collect(QWidget *widget, QList<QWidget *> &out, QSet<QWidget *> &seen);

void collectLayout(QLayout *layout, QList<QWidget *> &out, QSet<QWidget *> &seen)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (QWidget *widget = item->widget())
            collect(widget, out, seen);
        else if (QLayout *inner = item->layout())
            collectLayout(inner, out, seen);
    }
}

void collectChildren(QWidget *widget, QList<QWidget *> &out, QSet<QWidget *> &seen)
{
    if (widget->layout())
        collectLayout(widget->layout(), out, seen);
    // Children outside the layout, as the hand placed them.
    QList<QWidget *> placed;
    for (QWidget *child : widget->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!seen.contains(child) && !child->isWindow())
            placed << child;
    }
    std::stable_sort(placed.begin(), placed.end(), [](const QWidget *a, const QWidget *b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    for (QWidget *child : placed)
        collect(child, out, seen);
}

void collect(QWidget *widget, QList<QWidget *> &out, QSet<QWidget *> &seen)
{
    if (seen.contains(widget) || widget->isWindow())
        return;
    seen.insert(widget);
    if (widget->focusPolicy() & Qt::TabFocus)
        out << widget;
    else
        collectChildren(widget, out, seen);
}

// The nearest control before root in its window's chain that is not inside root.
QWidget *anchorBefore(QWidget *root)
{
    for (QWidget *w = root->previousInFocusChain(); w && w != root; w = w->previousInFocusChain()) {
        if (!root->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}

} // namespace

void chainTabsInVisualOrder(QWidget *root)
{
    if (!root)
        return;
    QList<QWidget *> order;
    QSet<QWidget *> seen{root};
    collectChildren(root, order, seen);
    QWidget *previous = anchorBefore(root);
    for (QWidget *widget : order) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace quorvane
