// Every section of the settings window at the desktop's own larger fonts: no text is cut where
// it stands, a name too long for its room ends with an ellipsis.
#include "SettingsViewHarness.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/SettingsSection.h"
#include "Shared/ElidedLabel.h"
#include "Shared/ElidingLineEdit.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QUuid>

using namespace quorvane;
using namespace quorvane::test;

namespace {

const QString longName = QStringLiteral("Photo Projects for the Autumn Exhibition");

struct FittingText : SettingsViewHarness {
    QFont before = QApplication::font();
    void TearDown() override
    {
        SettingsViewHarness::TearDown();
        QApplication::setFont(before);
    }

    // What of the page's visible texts is cut, one line each.
    QStringList cutTexts(QWidget *page) const
    {
        QStringList cut;
        const auto shown = [&](const QWidget *w) { return w->isVisibleTo(view.get()) && w->width() > 0; };
        for (const QLabel *label : page->findChildren<QLabel *>()) {
            if (!shown(label) || label->text().isEmpty() || !label->pixmap().isNull()
                || label->textFormat() == Qt::RichText)
                continue;
            const QFontMetrics metrics(label->font());
            const QRect room = label->contentsRect();
            if (label->wordWrap()) {
                if (room.height() < label->heightForWidth(label->width()) - label->contentsMargins().top()
                        - label->contentsMargins().bottom())
                    cut << "wrapped label " + label->text();
                continue;
            }
            const int widest = [&] {
                int w = 0;
                for (const QString &line : label->text().split('\n'))
                    w = std::max(w, metrics.horizontalAdvance(line));
                return w;
            }();
            if (widest > room.width() + 1)
                cut << QStringLiteral("label %1 (%2 of %3)").arg(label->text()).arg(room.width()).arg(widest);
            if (const auto *elided = dynamic_cast<const ElidedLabel *>(label); elided && elided->elided()
                && !label->text().endsWith(QChar(0x2026)))
                cut << "elided without an ellipsis " + label->text();
        }
        for (const QAbstractButton *button : page->findChildren<QAbstractButton *>()) {
            if (!shown(button) || button->text().isEmpty())
                continue;
            if (qobject_cast<const QPushButton *>(button) || qobject_cast<const QCheckBox *>(button)) {
                if (button->width() < button->sizeHint().width())
                    cut << QStringLiteral("button %1 (%2 of %3)").arg(button->text()).arg(button->width()).arg(button->sizeHint().width());
            }
        }
        for (const QLineEdit *field : page->findChildren<QLineEdit *>()) {
            // A name field reads from its start, cut with an ellipsis; being edited it scrolls.
            const auto *name = dynamic_cast<const ElidingLineEdit *>(field);
            if (!name || !shown(field) || field->hasFocus())
                continue;
            if (!name->elided() && QFontMetrics(field->font()).horizontalAdvance(field->text()) > field->width())
                cut << "name field " + field->text();
        }
        return cut;
    }
};

} // namespace

TEST_F(FittingText, EverySectionFitsItsTextsAtElevenAndThirteenPoints)
{
    openWith({"Default", longName, "Work"}, [](Config &c) {
        CustomFilter rule;
        rule.id = QUuid::createUuid();
        rule.enabled = true;
        rule.pattern = QStringLiteral("invoice");
        rule.collection = longName;
        c.settings.customFilters.push_back(rule);
        c.settings.customFiltersEnabled = true;
        c.settings.pinnedFolders = {longName + " notes"};
    });
    for (const int points : {11, 13}) {
        QFont font = before;
        font.setPointSize(points);
        QApplication::setFont(font);
        SettingsView &shell = show();
        shell.resize(shell.sizeHint().expandedTo(shell.minimumSizeHint()));
        for (const SettingsSection section : allSettingsSections) {
            shell.select(section);
            for (int round = 0; round < 4; ++round)
                QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            if (section == SettingsSection::workspaces) {
                // An opened row as well: its details' texts.
                click<QAbstractButton>("Details of " + longName);
                QTest::qWait(400);
            }
            const QStringList cut = cutTexts(shell.pane());
            EXPECT_TRUE(cut.isEmpty()) << points << " pt, section " << int(section) << ":\n"
                                       << cut.join('\n').toStdString();
        }
    }
}
