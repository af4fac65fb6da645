#include "ShownText.h"
#include "Windows/MessageBoxAlertPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct SeenBox {
    QString text;
    QString informativeText;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool ownIcon = false; // a picture of its own in the icon's place
    QString title;
    QString defaultButton;
    // The texts and titles as the user reads them.
    QStringList shown;
};

// Answers the next message box by clicking the button of that title (or pressing Escape when
// the title is empty) and reports what the box showed.
void answerNextBox(const QString &title, SeenBox &seen)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, title, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        seen.text = box->text();
        seen.informativeText = box->informativeText();
        seen.icon = box->icon();
        seen.ownIcon = !box->iconPixmap().isNull();
        seen.title = box->windowTitle();
        seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        for (QAbstractButton *b : box->buttons())
            seen.buttons.push_back(b->text());
        seen.shown = test::shownTexts<QLabel, QPushButton>(box);
        if (title.isEmpty()) {
            box->reject();
            return;
        }
        for (QAbstractButton *b : box->buttons()) {
            if (test::shownText(b) == title) {
                b->click();
                return;
            }
        }
        box->reject(); // no button reads so: never leave the box waiting
    });
    poll->start(5);
}

// A catalogue of another language for the alerts' own button titles.
class AlertCatalogue final : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "Alert") != 0)
            return {};
        if (qstrcmp(source, "Cancel") == 0)
            return QStringLiteral("Abbrechen");
        return qstrcmp(source, "OK") == 0 ? QStringLiteral("Gut") : QString();
    }
};

} // namespace

TEST(MessageBoxAlertPresenter, ShowsTheTextsAndReturnsTheChosenButtonsIndex)
{
    MessageBoxAlertPresenter presenter;
    SeenBox seen;
    answerNextBox(QStringLiteral("Move"), seen);
    const int answer = presenter.present(Alert{QStringLiteral("Move Quorvane?"), QStringLiteral("It runs from a poor place."), {QStringLiteral("Move"), QStringLiteral("Don't Move")}, AlertStyle::critical});
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(seen.text, "Move Quorvane?");
    EXPECT_EQ(seen.informativeText, "It runs from a poor place.");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.defaultButton, "Move");
    EXPECT_EQ(seen.buttons.size(), 2);
    EXPECT_TRUE(seen.buttons.contains("Don't Move"));

    SeenBox second;
    answerNextBox(QStringLiteral("Don't Move"), second);
    EXPECT_EQ(presenter.present(Alert{QStringLiteral("Again?"), {}, {QStringLiteral("Move"), QStringLiteral("Don't Move")}, AlertStyle::informational}),
              1);
    // An ordinary alert shows the application's icon, as Linux draws a default alert.
    EXPECT_EQ(second.icon, QMessageBox::NoIcon);
}

TEST(MessageBoxAlertPresenter, EscapeAnswersCancelAndAnAlertWithoutButtonsHasOk)
{
    MessageBoxAlertPresenter presenter;
    SeenBox seen;
    answerNextBox(QString(), seen);
    EXPECT_EQ(presenter.present(Alert{QStringLiteral("Delete?"), {}, {QStringLiteral("Delete"), QStringLiteral("Cancel")}}), 1);

    SeenBox plain;
    answerNextBox(QStringLiteral("OK"), plain);
    EXPECT_EQ(presenter.present(Alert{QStringLiteral("Done"), {}, {}, AlertStyle::warning}), 0);
    EXPECT_EQ(plain.buttons, QStringList{"OK"});
    EXPECT_EQ(plain.icon, QMessageBox::NoIcon) << "no warning sign over an ordinary alert";
}

TEST(MessageBoxAlertPresenter, InAnotherLanguageEscapeStillAnswersCancelAndTheImplicitButtonIsTranslated)
{
    AlertCatalogue catalogue;
    QCoreApplication::installTranslator(&catalogue);
    MessageBoxAlertPresenter presenter;
    SeenBox seen;
    answerNextBox(QString(), seen);
    const int answer = presenter.present(Alert{QStringLiteral("Deinstallieren?"), {}, {QStringLiteral("Deinstallieren"), alertCancelTitle()}});
    SeenBox plain;
    answerNextBox(QStringLiteral("Gut"), plain);
    const int acknowledged = presenter.present(Alert{QStringLiteral("Fertig"), {}, {}, AlertStyle::warning});
    QCoreApplication::removeTranslator(&catalogue);
    EXPECT_EQ(answer, 1) << "Escape must never answer the first, destructive button";
    EXPECT_EQ(seen.buttons, (QStringList{"Deinstallieren", "Abbrechen"}));
    EXPECT_EQ(acknowledged, 0);
    EXPECT_EQ(plain.buttons, QStringList{"Gut"});
}

TEST(MessageBoxAlertPresenter, AnOrdinaryAlertCarriesTheApplicationsIconAndNameAndReadsOnWholeLines)
{
    QApplication::setApplicationDisplayName(QStringLiteral("Quorvane"));
    QPixmap picture(32, 32);
    picture.fill(Qt::darkCyan);
    QApplication::setWindowIcon(QIcon(picture));
    MessageBoxAlertPresenter presenter;
    SeenBox seen;
    QSize size;
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &size] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            size = box->size();
        }
    });
    poll->start(5);
    answerNextBox(QStringLiteral("OK"), seen);
    const QString informative = QStringLiteral("We moved “Client Pitch” into your desktops folder.");
    presenter.present(Alert{QStringLiteral("Your files aren't gone!"), informative, {QStringLiteral("OK")}});
    QApplication::setWindowIcon(QIcon());
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_TRUE(seen.ownIcon) << "the application's icon in the icon's place";
    EXPECT_EQ(seen.title, "Quorvane");
    // The informative sentence stands on one line, not squeezed under the shorter heading.
    EXPECT_GT(size.width(), QFontMetrics(QApplication::font()).horizontalAdvance(informative)) << size.width();
}

TEST(MessageBoxAlertPresenter, NamesAndButtonTitlesAreShownAsWritten)
{
    MessageBoxAlertPresenter presenter;
    SeenBox seen;
    answerNextBox(QStringLiteral("Bring My Desktops Back & Uninstall"), seen);
    Alert alert;
    alert.message = QStringLiteral("Delete “<i>Odd”?");
    alert.informativeText = QStringLiteral("Its folder <b>Bold</b> & the rest.");
    alert.buttons = {QStringLiteral("Bring My Desktops Back & Uninstall"), QStringLiteral("Cancel")};
    EXPECT_EQ(presenter.present(alert), 0);
    EXPECT_TRUE(seen.shown.contains(alert.message)) << seen.shown.join(" | ").toStdString();
    EXPECT_TRUE(seen.shown.contains(alert.informativeText)) << seen.shown.join(" | ").toStdString();
    EXPECT_TRUE(seen.shown.contains("Bring My Desktops Back & Uninstall")) << seen.shown.join(" | ").toStdString();
}

// A logout's SIGTERM leaves every event loop while an alert waits: no button counts as chosen.
TEST(MessageBoxAlertPresenter, AnAlertLeftByTheApplicationsExitHasNoAnswer)
{
    MessageBoxAlertPresenter presenter;
    QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
    EXPECT_EQ(presenter.present(Alert{QStringLiteral("Removing Quorvane?"), {}, {QStringLiteral("Bring My Desktops Back"), QStringLiteral("Leave Everything As Is")}}),
              AlertPresenter::noAnswer);
    // An event loop started after the exit ends at once as well, until the application's own
    // loop has run out; this one's end lets the tests that follow run theirs.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}
