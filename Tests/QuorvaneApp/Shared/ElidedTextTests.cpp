#include "Shared/ElidedLabel.h"
#include "Shared/ElidingLineEdit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

const QString longName = QStringLiteral("Photo Projects for the Autumn Exhibition");

// A row as narrow as asked, holding the widget and a stretch after it.
struct Row {
    QWidget row;
    explicit Row(QWidget *held, int width)
    {
        auto *layout = new QHBoxLayout(&row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(held);
        layout->addStretch(1);
        row.resize(width, 40);
        row.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&row));
        settle();
    }
    // A window's new size reaches its widgets through the platform's events.
    static void settle()
    {
        QTest::qWait(30);
        QCoreApplication::sendPostedEvents();
    }
};

} // namespace

// At a larger font a name still starts with its first letters and ends with an ellipsis, whole
// in the tool tip; with room, it is whole and as wide as it asks.
TEST(ElidedLabel, ANameCutAtItsEndWithAnEllipsisWholeWhereItFits)
{
    for (const int points : {10, 11, 13}) {
        auto *label = new ElidedLabel(longName);
        QFont font = label->font();
        font.setPointSize(points);
        label->setFont(font);
        Row narrow(label, 120);
        EXPECT_TRUE(label->elided()) << points;
        EXPECT_TRUE(label->text().startsWith("Photo")) << label->text().toStdString();
        EXPECT_TRUE(label->text().endsWith(QChar(0x2026))) << label->text().toStdString();
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
        EXPECT_EQ(label->toolTip(), longName);
        narrow.row.resize(900, 40);
        Row::settle();
        EXPECT_FALSE(label->elided());
        EXPECT_EQ(label->text(), longName);
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(longName));
        EXPECT_TRUE(label->toolTip().isEmpty());
    }
}

TEST(ElidingLineEdit, ReadsFromTheStartWithAnEllipsisUntilEditedThenEditsTheWholeName)
{
    auto *field = new ElidingLineEdit;
    field->setFrame(false);
    QFont font = field->font();
    font.setPointSize(13);
    field->setFont(font);
    field->setText(longName);
    Row narrow(field, 140);
    field->clearFocus(); // the window's one field takes the focus as it opens
    ASSERT_TRUE(field->elided());
    EXPECT_EQ(field->toolTip(), longName);
    // Not being edited, it reads from the start: the plain field would show the end of the name.
    EXPECT_EQ(field->cursorPosition(), longName.size());
    const QImage drawn = field->grab().toImage();
    QImage blank(drawn.size(), drawn.format());
    blank.fill(drawn.pixel(drawn.width() - 1, 0));
    EXPECT_NE(drawn, blank) << "it draws the name";
    // Asked (clicked), it edits the whole name.
    QTest::mouseClick(field, Qt::LeftButton);
    EXPECT_TRUE(field->hasFocus());
    EXPECT_FALSE(field->elided());
    EXPECT_EQ(field->text(), longName);
    // With room it is as wide as the name.
    field->clearFocus();
    narrow.row.resize(900, 40);
    Row::settle();
    EXPECT_FALSE(field->elided());
    EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(longName));
}
