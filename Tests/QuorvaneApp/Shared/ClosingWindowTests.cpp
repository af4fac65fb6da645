#include "Shared/ClosingWindow.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quorvane;

// Return and Escape reach the window from the control that has the focus and did not take them.
TEST(ClosingWindow, ReturnAndEscapePressItsOwnDefaultAndCancelButtonsOnly)
{
    ClosingWindow window;
    auto *layout = new QVBoxLayout(&window);
    auto *field = new QLineEdit(&window);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), &window);
    auto *accept = new QPushButton(QStringLiteral("Accept"), &window);
    for (QWidget *w : std::initializer_list<QWidget *>{field, cancel, accept})
        layout->addWidget(w);
    accept->setDefault(true);
    ClosingWindow::markAsCancelButton(cancel);
    int accepted = 0, cancelled = 0;
    QObject::connect(accept, &QPushButton::clicked, [&] { ++accepted; });
    QObject::connect(cancel, &QPushButton::clicked, [&] { ++cancelled; });
    window.show();

    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(cancelled, 1);
    accept->setEnabled(false);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(accepted, 1) << "a disabled default button is not pressed";

    // A window without a default button, whose field's Return opens an alert over it (a refused
    // name): the same Return then reaches the window, which leaves the alert's buttons alone.
    accept->setDefault(false);
    QMessageBox *alert = nullptr;
    QObject::connect(field, &QLineEdit::returnPressed, &window, [&] {
        alert = new QMessageBox(QMessageBox::Warning, QStringLiteral("Can't do that"), QStringLiteral("No."),
                                QMessageBox::Ok, &window);
        alert->setDefaultButton(QMessageBox::Ok);
        alert->open();
    });
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_NE(alert, nullptr);
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->clickedButton(), nullptr);
}
