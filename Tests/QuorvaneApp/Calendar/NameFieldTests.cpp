#include "Calendar/NameField.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

const QString zwnj(QChar(NameField::marker));

struct ShownField : ::testing::Test {
    QWidget window;
    NameField *field = new NameField(&window);

    void SetUp() override
    {
        window.resize(300, 40);
        field->resize(300, 30);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
    }
};

} // namespace

TEST(NameFieldText, MarkerCleanTextAndCaretArePure)
{
    EXPECT_EQ(NameField::displayText(QStringLiteral("Work")), "Work");
    EXPECT_EQ(NameField::displayText(QStringLiteral("Work ")), "Work " + zwnj);
    EXPECT_EQ(NameField::displayText(QStringLiteral("Work\t")), "Work\t");
    EXPECT_EQ(NameField::cleanText("a" + zwnj + "b " + zwnj), "ab ");
    EXPECT_EQ(NameField::cleanCaret("a" + zwnj + "b", 3), 2);
    EXPECT_EQ(NameField::cleanCaret("ab", 9), 2);
    EXPECT_EQ(NameField::cleanCaret("ab", -1), 0);
}

TEST_F(ShownField, ATrailingBlankShowsTheMarkerAndKeepsTheCaretAfterIt)
{
    QSignalSpy edited(field, &NameField::nameEdited);
    QTest::keyClicks(field, QStringLiteral("Big "));
    EXPECT_EQ(field->name(), "Big ");
    EXPECT_EQ(field->text(), "Big " + zwnj);
    EXPECT_EQ(field->cursorPosition(), 4) << "between the blank and the marker";
    ASSERT_FALSE(edited.isEmpty());
    EXPECT_EQ(edited.last().at(0).toString(), "Big ");
    QTest::keyClicks(field, QStringLiteral("Top"));
    EXPECT_EQ(field->text(), "Big Top");
    EXPECT_EQ(field->cursorPosition(), 7);
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClick(field, Qt::Key_Backspace); // the blank goes: no marker is left behind
    EXPECT_EQ(field->text(), "BigTop");
    EXPECT_EQ(field->name(), "BigTop");
    EXPECT_EQ(field->cursorPosition(), 3);

    // Pasted text loses any marker it carries.
    field->selectAll();
    field->insert("Pa" + zwnj + "ste" + zwnj);
    EXPECT_EQ(field->name(), "Paste");
    EXPECT_EQ(field->text(), "Paste");
}

TEST_F(ShownField, NoRewriteWhileAnInputMethodComposes)
{
    QTest::keyClicks(field, QStringLiteral("ka"));
    {
        QInputMethodEvent composing(QStringLiteral("n"), {});
        composing.setCommitString(QStringLiteral(" "));
        QApplication::sendEvent(field, &composing);
    }
    EXPECT_EQ(field->name(), "ka ");
    EXPECT_FALSE(field->text().contains(zwnj)) << "rewritten during a composition";
    {
        QInputMethodEvent done(QString(), {});
        done.setCommitString(QStringLiteral("x "));
        QApplication::sendEvent(field, &done);
    }
    EXPECT_EQ(field->name(), "ka x ");
    EXPECT_EQ(field->text(), "ka x " + zwnj);
}

TEST_F(ShownField, ReturnIsTheFieldsOwnAndSetNameLeavesAnEqualTextAlone)
{
    int shortcuts = 0;
    auto *defaultAction = new QShortcut(QKeySequence(Qt::Key_Return), &window);
    QObject::connect(defaultAction, &QShortcut::activated, [&] { ++shortcuts; });
    QSignalSpy submitted(field, &NameField::submitted);
    QTest::keyClicks(field, QStringLiteral("Work"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(submitted.count(), 1);
    EXPECT_EQ(shortcuts, 0) << "the window's default action fired as well";
    QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(submitted.count(), 2);
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClick(field, Qt::Key_Home);
    EXPECT_EQ(field->text(), "Work") << "other editing keys keep their meaning";

    field->setCursorPosition(2);
    field->setName(QStringLiteral("Work"));
    EXPECT_EQ(field->cursorPosition(), 2);
    field->setName(QStringLiteral("Home "));
    EXPECT_EQ(field->text(), "Home " + zwnj);
    EXPECT_EQ(field->name(), "Home ");
}
