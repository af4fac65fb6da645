#include "ShownText.h"
#include "Windows/LiteralText.h"
#include "Windows/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QTreeView>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

QMessageBox *openBox()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

QPushButton *buttonTitled(QMessageBox *box, const QString &title)
{
    for (QAbstractButton *b : box->buttons()) {
        if (b->text() == title)
            return qobject_cast<QPushButton *>(b);
    }
    return nullptr;
}

} // namespace

TEST(QtDialogs, QuestionsAreWindowModalAndAnswerLater)
{
    QtDialogs dialogs;
    QWidget parent;
    parent.show();
    std::vector<int> answers;
    dialogs.ask(&parent,
                Question{QStringLiteral("Delete “Work”?"), QStringLiteral("Its folder goes to the Trash."), {{QStringLiteral("Delete"), ButtonRole::destructive}, {QStringLiteral("Keep"), ButtonRole::normal}, {QStringLiteral("Cancel"), ButtonRole::cancel}}},
                [&](int index) { answers.push_back(index); });
    EXPECT_TRUE(answers.empty()) << "asking does not wait for the answer";
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->parentWidget(), &parent);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->text(), "Delete “Work”?");
    EXPECT_EQ(box->informativeText(), "Its folder goes to the Trash.");
    EXPECT_EQ(box->defaultButton(), buttonTitled(box, QStringLiteral("Keep")));
    QTest::mouseClick(buttonTitled(box, QStringLiteral("Delete")), Qt::LeftButton);
    EXPECT_EQ(answers, std::vector<int>{0});

    // Escape answers the cancel button.
    dialogs.ask(&parent, Question{QStringLiteral("Again?"), {}, {{QStringLiteral("Yes")}, {QStringLiteral("Cancel"), ButtonRole::cancel}}},
                [&](int index) { answers.push_back(index); });
    box = openBox();
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(answers, (std::vector<int>{0, 1}));

    // No buttons: one "OK", which Return and Escape both answer.
    dialogs.ask(nullptr, Question{QStringLiteral("Done."), {}, {}}, [&](int index) { answers.push_back(index); });
    box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons().front()->text(), "OK");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(answers, (std::vector<int>{0, 1, 0}));
    QApplication::processEvents();
    EXPECT_EQ(openBox(), nullptr);
}

// A name is the user's or a file's own: a question shows it as written, markup and "&" alike.
TEST(QtDialogs, NamesAndButtonTitlesAreShownAsWritten)
{
    QtDialogs dialogs;
    QWidget parent;
    parent.show();
    Question question;
    question.message = QStringLiteral("Move “<i>Odd” to the Trash?");
    question.informativeText = QStringLiteral("<b>Bold</b> & its files.");
    question.buttons = {{QStringLiteral("Bring My Desktops Back & Uninstall")}, {QStringLiteral("Cancel"), ButtonRole::cancel}};
    std::vector<int> answers;
    dialogs.ask(&parent, question, [&](int index) { answers.push_back(index); });
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    const QStringList shown = test::shownTexts<QLabel, QPushButton>(box);
    EXPECT_TRUE(shown.contains(question.message)) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains(question.informativeText)) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains("Bring My Desktops Back & Uninstall")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(QKeySequence::mnemonic(box->defaultButton()->text()).isEmpty()) << "no letter is underlined";
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(answers, std::vector<int>{0});

    // The question with a field the same.
    dialogs.askText(&parent, question, [](int, const QString &) {});
    auto *dialog = parent.findChild<QDialog *>();
    ASSERT_NE(dialog, nullptr);
    const QStringList withField = test::shownTexts<QLabel, QPushButton>(dialog);
    EXPECT_TRUE(withField.contains(question.message) && withField.contains("Bring My Desktops Back & Uninstall"))
        << withField.join(" | ").toStdString();
    dialog->reject();
}

// The window manager shows an alert's whole title, and a short message stands on one line.
TEST(QtDialogs, AnAlertIsWideEnoughForItsTitleAndItsMessage)
{
    QtDialogs dialogs;
    QWidget parent;
    parent.show();
    Question question;
    question.title = QStringLiteral("Can't do that");
    question.message = QStringLiteral("Super+1 is already assigned to “Work”.");
    dialogs.ask(&parent, question, [](int) {});
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), question.title);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon) << "no warning sign over an ordinary alert";
    QFont bold = box->font();
    bold.setBold(true);
    EXPECT_GE(box->width(), QFontMetrics(bold).horizontalAdvance(question.title) + 150);
    const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(label, nullptr);
    EXPECT_GE(label->width(), QFontMetrics(label->font()).horizontalAdvance(question.message));
    EXPECT_LT(label->height(), 2 * QFontMetrics(label->font()).height()) << "one line";
    box->reject();
}

TEST(LiteralText, ToolTipsAndTitlesReadAsWritten)
{
    for (const QString &text : {QStringLiteral("<b>Bold</b> & co\nnext line"), QStringLiteral("Move into “Work” now."),
                                QStringLiteral("a < b && c > d")}) {
        const QString tip = literalToolTip(text);
        // As the tool tip shows it: markup when Qt takes it for markup, else the plain text.
        QTextDocument shown;
        if (Qt::mightBeRichText(tip))
            shown.setHtml(tip);
        else
            shown.setPlainText(tip);
        EXPECT_EQ(shown.toPlainText(), text);
    }
    EXPECT_EQ(literalToolTip(QStringLiteral("Plain")), "Plain");
    QPushButton button(literalTitle(QStringLiteral("Back & Uninstall")));
    EXPECT_EQ(test::shownText(&button), "Back & Uninstall");
    EXPECT_TRUE(QKeySequence::mnemonic(button.text()).isEmpty());
}

TEST(QtDialogs, ModalQuestionsBlockTheApplicationWithTheFirstButtonTheDefault)
{
    QtDialogs dialogs;
    QWidget parent;
    parent.show();
    std::vector<int> answers;
    const Question question{QStringLiteral("Uninstall?"), {}, {{QStringLiteral("Uninstall"), ButtonRole::destructive}, {QStringLiteral("Keep")}}};
    dialogs.askModal(&parent, question, [&](int index) { answers.push_back(index); });
    EXPECT_TRUE(answers.empty());
    QMessageBox *box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(box->defaultButton(), buttonTitled(box, QStringLiteral("Uninstall")));
    // Without a cancel button, Escape answers the last one, never the proposed action.
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(answers, std::vector<int>{1});

    dialogs.askModal(&parent, question, [&](int index) { answers.push_back(index); });
    box = openBox();
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(answers, (std::vector<int>{1, 0}));
}

TEST(QtDialogs, AQuestionWithAFieldAnswersWithTheTypedText)
{
    QtDialogs dialogs;
    QWidget parent;
    parent.show();
    std::vector<std::pair<int, QString>> answers;
    Question question{QStringLiteral("New desktop"), QStringLiteral("Create one."), {{QStringLiteral("Create")}, {QStringLiteral("Cancel"), ButtonRole::cancel}}};
    question.field = QuestionField{QStringLiteral("Name")};
    const auto record = [&](int index, const QString &text) { answers.emplace_back(index, text); };
    dialogs.askText(&parent, question, record);
    auto *dialog = parent.findChild<QDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    auto *field = dialog->findChild<QLineEdit *>();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->placeholderText(), "Name");
    QTest::keyClicks(field, QStringLiteral(" Bills"));
    QTest::keyClick(field, Qt::Key_Return); // the default button
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0], std::make_pair(0, QStringLiteral(" Bills")));
    QApplication::processEvents();

    dialogs.askText(&parent, question, record);
    dialog = parent.findChild<QDialog *>();
    ASSERT_NE(dialog, nullptr);
    field = dialog->findChild<QLineEdit *>();
    EXPECT_TRUE(field->text().isEmpty());
    QTest::keyClicks(field, QStringLiteral("x"));
    QTest::keyClick(field, Qt::Key_Escape);
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(answers[1], std::make_pair(1, QStringLiteral("x")));
}

TEST(QtDialogs, FormsAndChoosersReportOnce)
{
    QtDialogs dialogs;
    QWidget parent;
    parent.show();
    auto *form = new QLabel(QStringLiteral("form"));
    int closed = 0;
    dialogs.presentForm(&parent, form, [&] { ++closed; });
    ASSERT_NE(form->window(), form);
    EXPECT_EQ(form->window()->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(form->isVisible());
    dialogs.dismissForm(form);
    EXPECT_EQ(closed, 1);

    std::vector<std::optional<QString>> chosen;
    dialogs.chooseFolder(&parent, ChooserOptions{QStringLiteral("Pick"), QDir::tempPath(), {}, QStringLiteral("Use Folder")},
                         [&](std::optional<QString> path) { chosen.push_back(path); });
    QFileDialog *chooser = parent.findChild<QFileDialog *>();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->fileMode(), QFileDialog::Directory);
    EXPECT_EQ(chooser->labelText(QFileDialog::Accept), "Use Folder");
    EXPECT_FALSE(chooser->testOption(QFileDialog::ReadOnly)); // new folders may be made
    EXPECT_EQ(QDir(chooser->directory()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
    chooser->reject();
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_FALSE(chosen.front());

    // The chooser on screen now (closed ones stay as children until deleted).
    const auto visibleChooser = [&]() -> QFileDialog * {
        QApplication::processEvents();
        for (QFileDialog *d : parent.findChildren<QFileDialog *>()) {
            if (d->isVisible())
                return d;
        }
        return nullptr;
    };

    // A folder that does not exist yet opens at its nearest existing parent.
    QTemporaryDir temp;
    dialogs.chooseFolder(&parent, ChooserOptions{{}, temp.path() + "/Archive/Later", {}, {}},
                         [&](std::optional<QString> path) { chosen.push_back(path); });
    chooser = visibleChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(QDir(chooser->directory()).canonicalPath(), QDir(temp.path()).canonicalPath());
    chooser->reject();

    // A file chooser shows the accept text asked for ("Use Image").
    dialogs.chooseFile(&parent, ChooserOptions{{}, temp.path(), {QStringLiteral("Images (*.png)")}, QStringLiteral("Use Image")},
                       [&](std::optional<QString> path) { chosen.push_back(path); });
    chooser = visibleChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(chooser->labelText(QFileDialog::Accept), "Use Image");
    EXPECT_FALSE(chooser->testOption(QFileDialog::DontUseNativeDialog)); // the desktop's own where it has one
    chooser->reject();
    EXPECT_EQ(chosen.size(), 3u);

    // The item chooser (Qt's own) leaves out the hidden items.
    QFile(temp.path() + "/Pinned").open(QIODevice::WriteOnly);
    QFile(temp.path() + "/Loose").open(QIODevice::WriteOnly);
    dialogs.chooseItem(&parent, ChooserOptions{{}, temp.path(), {}, {}, {temp.path() + "/Pinned"}},
                       [&](std::optional<QString> path) { chosen.push_back(path); });
    chooser = visibleChooser();
    ASSERT_NE(chooser, nullptr);
    auto *files = qobject_cast<QFileSystemModel *>(chooser->proxyModel()->sourceModel());
    ASSERT_NE(files, nullptr);
    EXPECT_FALSE(chooser->proxyModel()->mapFromSource(files->index(temp.path() + "/Pinned")).isValid());
    EXPECT_TRUE(chooser->proxyModel()->mapFromSource(files->index(temp.path() + "/Loose")).isValid());
    chooser->reject();
}

// The item chooser: a short title, the sentence inside it, the icon theme's icons and columns that
// fit its width.
TEST(QtDialogs, TheItemChooserSaysWhatToChooseAndItsColumnsFit)
{
    QtDialogs dialogs;
    QWidget parent;
    parent.show();
    QTemporaryDir temp;
    QFile(temp.path() + "/A rather long file name that takes room.txt").open(QIODevice::WriteOnly);
    QDir(temp.path()).mkdir("Folder");
    ChooserOptions options{QStringLiteral("Pin a file or folder"), temp.path(), {}, QStringLiteral("Pin")};
    options.message = QStringLiteral("Choose a file or folder on your Desktop to keep on every desktop.");
    dialogs.chooseItem(&parent, options, [](std::optional<QString>) {});
    QFileDialog *chooser = parent.findChild<QFileDialog *>();
    ASSERT_NE(chooser, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chooser));
    EXPECT_EQ(chooser->windowTitle(), "Pin a file or folder");
    const auto *message = chooser->findChild<QLabel *>(QStringLiteral("chooserMessage"));
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->text(), options.message);
    EXPECT_NE(dynamic_cast<QFileIconProvider *>(chooser->iconProvider()), nullptr);
    auto *details = chooser->findChild<QTreeView *>(QStringLiteral("treeView"));
    ASSERT_NE(details, nullptr);
    QApplication::processEvents();
    int columns = 0;
    for (int column = 0; column < details->header()->count(); ++column)
        columns += details->header()->isSectionHidden(column) ? 0 : details->header()->sectionSize(column);
    EXPECT_LE(columns, details->viewport()->width()) << "no column runs past the view";
    EXPECT_FALSE(details->horizontalScrollBar()->isVisible());
    chooser->reject();
}

// Whether the portal is used is asked once, when the first chooser opens; on a bus where no
// portal answers, the folder and the file choosers are Qt's own, opening in the folder asked for.
TEST(PortalChooserOnABus, NoPortalAnsweringLeavesQtsChoosersAskedOnce)
{
    if (qgetenv("QUORVANE_PRIVATE_BUS") != "1")
        GTEST_SKIP() << "needs a private session bus";
    int asked = 0;
    QtDialogs dialogs([&] { return ++asked > 0; });
    QWidget parent;
    parent.show();
    QTemporaryDir temp;
    std::vector<std::optional<QString>> chosen;
    const auto record = [&](std::optional<QString> path) { chosen.push_back(path); };
    const auto cancelShown = [&](QFileDialog::FileMode mode) {
        return QTest::qWaitFor([&] {
            for (QFileDialog *d : parent.findChildren<QFileDialog *>()) {
                if (d->isVisible() && d->fileMode() == mode && QDir(d->directory()) == QDir(temp.path())) {
                    d->reject();
                    return true;
                }
            }
            return false;
        });
    };
    EXPECT_EQ(asked, 0);
    dialogs.chooseFolder(&parent, ChooserOptions{{}, temp.path(), {}, {}}, record);
    EXPECT_TRUE(cancelShown(QFileDialog::Directory));
    dialogs.chooseFile(&parent, ChooserOptions{{}, temp.path(), {}, {}}, record);
    EXPECT_TRUE(cancelShown(QFileDialog::ExistingFile));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(chosen, (std::vector<std::optional<QString>>{std::nullopt, std::nullopt}));
}
