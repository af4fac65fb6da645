#pragma once

#include <QAccessible>
#include <QLabel>
#include <QStringList>
#include <QTextDocument>
#include <QWidget>

namespace quorvane::test {

// What a user reads on a widget, as assistive technology reads it out: a label's text once
// its markup (if Qt takes it for markup) is rendered, a button's title without its "&" marks.
inline QString shownText(QWidget *widget)
{
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

// A widget's tool tip as the tip window shows it: rendered when Qt takes it for markup.
inline QString shownToolTip(const QWidget *widget)
{
    const QString tip = widget->toolTip();
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

// The shown texts of the visible labels and buttons under root, in creation order.
template <typename... Types>
QStringList shownTexts(QWidget *root)
{
    QStringList texts;
    for (QWidget *child : root->findChildren<QWidget *>()) {
        if ((qobject_cast<Types *>(child) || ...) && child->isVisibleTo(root) && !shownText(child).isEmpty())
            texts << shownText(child);
    }
    return texts;
}

} // namespace quorvane::test
