#include "Calendar/SheetHarness.h"
#include "Calendar/WorkspaceCreateSheet.h"
#include "Shared/Style.h"
#include "Triggers/KeyRecorder.h"

#include <QCheckBox>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct CreateSheet : SheetHarness {
    int closed = 0;
    std::vector<QString> refused;
    std::unique_ptr<WorkspaceCreateSheet> sheet;

    void open(const Config &config = document())
    {
        start(config);
        openAgain();
    }
    void openAgain()
    {
        sheet = std::make_unique<WorkspaceCreateSheet>(*model, [this] { ++closed; });
        sheet->onRefused = [this](const QString &message) { refused.push_back(message); };
        sheet->show();
        sheet->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    }
    template <class T>
    T *get(const char *name)
    {
        return child<T>(sheet.get(), name);
    }
    void click(const char *name) { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    void setDays(const char *name, int days)
    {
        auto *spin = get<QSpinBox>(name);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, QString::number(days));
    }
    qreal opacity(const char *name)
    {
        auto *effect = qobject_cast<QGraphicsOpacityEffect *>(get<QWidget>(name)->graphicsEffect());
        return effect ? effect->opacity() : 1.0;
    }
    void returnInName() { QTest::keyClick(get<NameField>("name"), Qt::Key_Return); }
};

Config withHomes()
{
    Config config = SheetHarness::document();
    Workspace shots = Workspace::make(QStringLiteral("Shots"));
    Workspace scratch = Workspace::make(QStringLiteral("Scratch"));
    scratch.type = WorkspaceType::temporary;
    Workspace archived = Workspace::make(QStringLiteral("Old"));
    archived.state = WorkspaceState::archivedUnsorted;
    config.workspaces.insert(config.workspaces.end() - 1,
                             {shots, scratch, archived, Workspace::make(QStringLiteral("Studio"))});
    config.settings.screenshotsWorkspace = QStringLiteral("Shots");
    return config;
}

} // namespace

TEST_F(CreateSheet, BlankNamesCreateNothingAndSurroundingBlanksAreTrimmed)
{
    open();
    auto *create = get<QPushButton>("create");
    EXPECT_FALSE(create->isEnabled());
    type(sheet.get(), QStringLiteral(" \t  "));
    EXPECT_FALSE(create->isEnabled());
    returnInName();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(closed, 0);

    type(sheet.get(), QStringLiteral("Work  "));
    EXPECT_TRUE(create->isEnabled());
    click("create");
    EXPECT_EQ(closed, 1);
    const auto work = storedWorkspace(QStringLiteral("Work"));
    ASSERT_TRUE(work);
    EXPECT_EQ(work->type, WorkspaceType::permanent);
    EXPECT_FALSE(work->timer);
    EXPECT_FALSE(work->hotkey);
    QStringList names;
    for (const Workspace &w : stored().workspaces)
        names << w.name;
    EXPECT_EQ(names, (QStringList{"Default", "Work", Config::blankWorkspaceName}));
}

TEST_F(CreateSheet, IdleAfterZeroDaysMovesIntoTheFirstHome)
{
    open(withHomes());
    EXPECT_EQ(WorkspaceCreateSheet::homes(model->config()), (QStringList{"Default", "Studio"}));
    click("type.temporary");
    pick(sheet.get(), "autoMove", QStringLiteral("After idle"));
    EXPECT_EQ(get<QComboBox>("moveTarget")->currentText(), "Default");
    EXPECT_TRUE(get<QWidget>("moveTarget")->isVisible());
    setDays("moveDays", 0);
    bool sameDay = false;
    for (QLabel *label : sheet->findChildren<QLabel *>())
        sameDay |= label->isVisible() && label->text() == QLatin1String("same day");
    EXPECT_TRUE(sameDay);
    type(sheet.get(), QStringLiteral("Errand"));
    returnInName();
    ASSERT_EQ(closed, 1);
    const auto errand = storedWorkspace(QStringLiteral("Errand"));
    ASSERT_TRUE(errand);
    EXPECT_EQ(errand->type, WorkspaceType::temporary);
    EXPECT_EQ(errand->timer, (ArchiveTimer{ArchiveTimerMode::idle, 0}));
    EXPECT_EQ(errand->drainTarget, QStringLiteral("Default"));
    EXPECT_EQ(errand->clearMode, ClearMode::move);
}

TEST_F(CreateSheet, OneTimerModeAtATimeAndTheTypeKeepsThem)
{
    open(withHomes());
    click("type.temporary");
    pick(sheet.get(), "autoMove", QStringLiteral("After fixed time"));
    EXPECT_DOUBLE_EQ(opacity("autoArchiveRow"), 0.4);
    pick(sheet.get(), "autoArchive", QStringLiteral("After idle"));
    EXPECT_EQ(get<QComboBox>("autoMove")->currentText(), "Never");
    EXPECT_DOUBLE_EQ(opacity("autoMoveRow"), 0.4);
    EXPECT_DOUBLE_EQ(opacity("autoArchiveRow"), 1.0);
    EXPECT_TRUE(get<QWidget>("autoMoveRow")->isVisible());
    EXPECT_FALSE(get<QWidget>("moveDays")->isVisible());
    EXPECT_TRUE(get<QWidget>("archiveDays")->isVisible());
    setDays("archiveDays", 1);
    EXPECT_EQ(get<QSpinBox>("moveDays")->value(), 1) << "both steppers edit one number";
    setDays("archiveDays", 400);
    EXPECT_LE(get<QSpinBox>("archiveDays")->value(), 365);
    setDays("archiveDays", 12);
    QTest::mouseClick(get<QCheckBox>("cleanupReminder"), Qt::LeftButton, {}, QPoint(5, 5));

    click("type.permanent");
    EXPECT_FALSE(get<QWidget>("autoArchive")->isVisible());
    click("type.temporary");
    EXPECT_EQ(get<QComboBox>("autoArchive")->currentText(), "After idle");
    EXPECT_EQ(get<QSpinBox>("archiveDays")->value(), 12);
    EXPECT_FALSE(get<QCheckBox>("cleanupReminder")->isChecked());

    type(sheet.get(), QStringLiteral("Reading"));
    click("create");
    const auto reading = storedWorkspace(QStringLiteral("Reading"));
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->timer, (ArchiveTimer{ArchiveTimerMode::idle, 12}));
    EXPECT_EQ(reading->clearMode, ClearMode::archive);
    EXPECT_FALSE(reading->drainTarget);
    EXPECT_FALSE(reading->createsCleanupTask);
}

TEST_F(CreateSheet, WithoutAHomeAutoMoveIsOffAndAutoArchiveStillWorks)
{
    Config config = document();
    config.workspaces.front().type = WorkspaceType::temporary;
    open(config);
    click("type.temporary");
    EXPECT_FALSE(get<QWidget>("autoMoveRow")->isEnabled());
    EXPECT_TRUE(get<QWidget>("noHomeNote")->isVisible());
    pick(sheet.get(), "autoArchive", QStringLiteral("After fixed time"));
    type(sheet.get(), QStringLiteral("Trip"));
    returnInName();
    const auto trip = storedWorkspace(QStringLiteral("Trip"));
    ASSERT_TRUE(trip);
    EXPECT_EQ(trip->timer, (ArchiveTimer{ArchiveTimerMode::fixed, 7}));
    EXPECT_EQ(trip->clearMode, ClearMode::archive);
}

TEST_F(CreateSheet, TheCarouselIsCappedAtFour)
{
    Config config = document();
    config.settings.optionClickCarousel = {"A", "B", "C", "D"};
    open(config);
    EXPECT_FALSE(get<QCheckBox>("carousel")->isEnabled());
    EXPECT_TRUE(get<QWidget>("carouselCapNote")->isVisible());

    config.settings.optionClickCarousel = {"A", "B", "C"};
    open(config);
    auto *toggle = get<QCheckBox>("carousel");
    EXPECT_TRUE(toggle->isEnabled());
    EXPECT_FALSE(get<QWidget>("carouselCapNote")->isVisible());
    QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(5, 5));
    type(sheet.get(), QStringLiteral("Fourth"));
    returnInName();
    EXPECT_EQ(stored().settings.optionClickCarousel, (QStringList{"A", "B", "C", "Fourth"}));
}

TEST_F(CreateSheet, TheHintShowsOnTheFirstOpeningOnly)
{
    Config config = document();
    config.settings.showShortcutHint = true;
    open(config);
    EXPECT_TRUE(get<QWidget>("shortcutHint")->isVisible());
    // No macOS-only reason: Alt+Shift with a number types no extra characters here.
    EXPECT_EQ(get<QLabel>("shortcutHint")->text(), "Alt+Shift with a number is a good choice, usually free.");
    EXPECT_FALSE(stored().settings.showShortcutHint);
    EXPECT_TRUE(get<QWidget>("shortcutHint")->isVisible()) << "stays for the whole opening";
    model->reload();
    openAgain();
    EXPECT_FALSE(get<QWidget>("shortcutHint")->isVisible());
}

TEST_F(CreateSheet, ANameThatCantBeUsedSaysWhyAsTypedAndOtherLetterCaseCreates)
{
    open();
    click("type.temporary");
    auto *error = get<QLabel>("nameError");
    EXPECT_FALSE(error->isVisible());
    type(sheet.get(), QStringLiteral("Default"));
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(error->text(), "“Default” already exists.");
    EXPECT_EQ(error->palette().color(error->foregroundRole()), Style::errorColor(QApplication::palette()));
    EXPECT_FALSE(get<QPushButton>("create")->isEnabled());
    returnInName();
    EXPECT_EQ(closed, 0);
    EXPECT_TRUE(refused.empty()) << "said beside the field, not again in an alert";
    EXPECT_EQ(get<NameField>("name")->name(), "Default");
    EXPECT_TRUE(get<QPushButton>("type.temporary")->isChecked());

    auto *field = get<NameField>("name");
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("_x"));
    EXPECT_EQ(error->text(), "Names can't start with “_” (reserved).");
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("default"));
    EXPECT_FALSE(error->isVisible());
    EXPECT_TRUE(get<QPushButton>("create")->isEnabled());
    returnInName();
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(storedWorkspace(QStringLiteral("default")));
}

TEST_F(CreateSheet, ReturnInTheNameCreatesExactlyOnceAndAStaleMessageDecidesNothing)
{
    open();
    model->setErrorMessage(QStringLiteral("left over from before"));
    type(sheet.get(), QStringLiteral("Once"));
    returnInName();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(model->errorMessage()) << "a second run would have found “Once” taken";
    EXPECT_TRUE(refused.empty());
}

TEST_F(CreateSheet, TheShortcutIsOnlyRememberedUntilCreate)
{
    open();
    auto *recorder = get<KeyRecorderView>("shortcut");
    QTest::mouseClick(recorder, Qt::LeftButton);
    ASSERT_TRUE(recorder->isRecording());
    QTest::keyClick(recorder, Qt::Key_5, Qt::AltModifier | Qt::ShiftModifier);
    ASSERT_TRUE(recorder->spec());
    EXPECT_EQ(changes, 0);
    QTest::mouseClick(recorder, Qt::LeftButton);
    QTest::keyClick(recorder, Qt::Key_Escape); // the recorder's, not the form's Cancel
    EXPECT_EQ(closed, 0);
    type(sheet.get(), QStringLiteral("Keyed"));
    returnInName();
    const auto keyed = storedWorkspace(QStringLiteral("Keyed"));
    ASSERT_TRUE(keyed);
    EXPECT_EQ(keyed->hotkey, recorder->spec());
}

TEST_F(CreateSheet, APublishedDocumentUpdatesTheChoicesAndKeepsTheEntries)
{
    open(withHomes());
    type(sheet.get(), QStringLiteral("Draft"));
    click("type.temporary");
    pick(sheet.get(), "autoMove", QStringLiteral("After idle"));
    pick(sheet.get(), "moveTarget", QStringLiteral("Studio"));

    Config changed = stored();
    changed.workspaces.insert(changed.workspaces.end() - 1, Workspace::make(QStringLiteral("Garden")));
    changed.settings.optionClickCarousel = {"A", "B", "C", "D"};
    changed.settings.appearance.accentHex = QStringLiteral("#7E9B78");
    store.saveConfig(changed);
    const QByteArray before = readFile(paths.config());
    model->reload();

    auto *targets = get<QComboBox>("moveTarget");
    QStringList listed;
    for (int i = 0; i < targets->count(); ++i)
        listed << targets->itemText(i);
    EXPECT_EQ(listed, (QStringList{"Default", "Studio", "Garden"}));
    EXPECT_EQ(targets->currentText(), "Studio");
    EXPECT_EQ(get<NameField>("name")->name(), "Draft");
    EXPECT_EQ(get<QComboBox>("autoMove")->currentText(), "After idle");
    EXPECT_FALSE(get<QCheckBox>("carousel")->isEnabled());
    EXPECT_EQ(sheet->palette().color(QPalette::Highlight), QColor(0x7E, 0x9B, 0x78));
    EXPECT_EQ(readFile(paths.config()), before) << "the form wrote to the document";
    EXPECT_EQ(changes, 0);
}
