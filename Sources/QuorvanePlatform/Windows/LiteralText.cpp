#include "Windows/LiteralText.h"

#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>

namespace quorvane {

QString literalTitle(const QString &title)
{
    return QString(title).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString literalToolTip(const QString &tip)
{
    if (!Qt::mightBeRichText(tip))
        return tip;
    return QStringLiteral("<qt>") + tip.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"))
        + QStringLiteral("</qt>");
}

QLabel *plainLabel(QLabel *label)
{
    label->setTextFormat(Qt::PlainText);
    return label;
}

void showPlainTexts(QMessageBox &box)
{
    box.setTextFormat(Qt::PlainText);
    // The informative text has a label of its own, made when that text is first set.
    if (auto *informative = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
        informative->setTextFormat(Qt::PlainText);
}

} // namespace quorvane
