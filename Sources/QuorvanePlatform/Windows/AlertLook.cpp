#include "Windows/AlertLook.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>

#include <algorithm>

namespace quorvane {

namespace {

// What a window manager's title bar takes beside the title: its icon, its buttons, margins.
constexpr int titleBarChrome = 170;
// A line of running text wraps past this many average characters.
constexpr int readableCharacters = 62;
// The widest an alert grows for its texts alone.
constexpr int widestAlert = 600;

int longestLine(const QFontMetrics &metrics, const QString &text)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

} // namespace

int alertContentWidth(const QMessageBox &box)
{
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int title = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + titleBarChrome;
    int text = 0;
    for (const QLabel *label : box.findChildren<QLabel *>()) {
        if (label->objectName() != QLatin1String("qt_msgbox_label")
            && label->objectName() != QLatin1String("qt_msgbox_informativelabel"))
            continue;
        const QFontMetrics metrics(label->font());
        text = std::max(text, std::min(longestLine(metrics, label->text()), metrics.averageCharWidth() * readableCharacters));
    }
    const int icon = box.iconPixmap().isNull() ? 0 : box.iconPixmap().deviceIndependentSize().toSize().width() + 16;
    return std::min(std::max(title, text + icon), widestAlert);
}

void lookLikeAlert(QMessageBox &box, AlertStyle style)
{
    if (style == AlertStyle::critical) {
        box.setIcon(QMessageBox::Critical);
    } else {
        const QIcon icon = QApplication::windowIcon();
        const int side = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
        if (icon.isNull())
            box.setIcon(QMessageBox::NoIcon);
        else
            box.setIconPixmap(icon.pixmap(QSize(side, side), box.devicePixelRatioF()));
    }
    if (box.windowTitle().isEmpty())
        box.setWindowTitle(QApplication::applicationDisplayName());
    // The box sizes itself to its layout's least width: a row as wide as the content asks.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        const QMargins margins = grid->contentsMargins();
        const int width = alertContentWidth(box) - margins.left() - margins.right();
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
}

} // namespace quorvane
