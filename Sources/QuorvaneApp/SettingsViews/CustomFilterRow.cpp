#include "SettingsViews/CustomFilterRow.h"

#include "Settings/SettingsModel.h"
#include "Shared/CapsuleStyle.h"
#include "Shared/ElidedLabel.h"
#include "Shared/FocusRing.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Windows/Dialogs.h"
#include "Windows/LiteralText.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

namespace quorvane {

namespace {

// The destination's pill: a faint capsule with a hairline border behind the labels laid
// over it; the whole capsule opens the menu.
class CapsuleMenuButton final : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal radius = bounds.height() / 2;
        QColor fill = palette().color(QPalette::WindowText);
        fill.setAlphaF(isDown() ? 0.16f : 0.07f);
        painter.setBrush(fill);
        painter.setPen(QPen(Style::separatorColor(palette()), 1));
        painter.drawRoundedRect(bounds, radius, radius);
        if (hasFocus()) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(Style::focusColor(palette()), 2));
            painter.drawRoundedRect(bounds.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
        }
    }
};

QLabel *overlaid(QLabel *label)
{
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

CustomFilterRow::CustomFilterRow(const SettingsContext &context, const CustomFilter &filter, const QStringList &liveNames,
                                 QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_filter(filter)
    , m_enabled(new QCheckBox(this))
    , m_word(new QLineEdit(this))
    , m_destination(new CapsuleMenuButton(this))
    , m_destinationText(new ElidedLabel({}, m_destination))
    , m_menu(new QMenu(this))
    , m_trash(new QToolButton(this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    FocusRing::setOwnRing(m_destination);

    m_enabled->setAccessibleName(tr("Rule on"));
    row->addWidget(m_enabled, 0, Qt::AlignVCenter);
    connect(m_enabled, &QCheckBox::clicked, this,
            [this](bool on) { m_context.model.setCustomFilterEnabled(m_filter.id, on); });

    m_word->setPlaceholderText(tr("name contains…"));
    m_word->setAccessibleName(tr("Name contains"));
    capsuleField(m_word, 28);
    row->addWidget(m_word, 1);
    connect(m_word, &QLineEdit::returnPressed, this, &CustomFilterRow::submitWord);

    QLabel *arrow = SymbolIcon::label(QStringLiteral("arrow.right"), 12, this);
    arrow->setFixedSize(14, 28);
    arrow->setAlignment(Qt::AlignCenter);
    arrow->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(arrow);

    m_destination->setAccessibleName(tr("Destination desktop"));
    // Room for the prompt at any font; a longer name is cut with an ellipsis.
    const int promptWidth = m_destination->fontMetrics().horizontalAdvance(tr("Choose desktop")) + 70;
    m_destination->setFixedSize(std::max(170, promptWidth), 28);
    m_destination->setFocusPolicy(Qt::StrongFocus);
    m_destination->setPopupMode(QToolButton::InstantPopup);
    m_destination->setMenu(m_menu);
    auto *label = new QHBoxLayout(m_destination);
    label->setContentsMargins(12, 0, 12, 0);
    label->setSpacing(6);
    QLabel *folder = overlaid(SymbolIcon::label(QStringLiteral("folder"), 14, m_destination));
    folder->setForegroundRole(QPalette::PlaceholderText);
    label->addWidget(folder);
    overlaid(m_destinationText)->setTextFormat(Qt::PlainText);
    label->addWidget(m_destinationText, 1);
    QLabel *chevron = overlaid(SymbolIcon::label(QStringLiteral("chevron.down"), 9, m_destination));
    chevron->setForegroundRole(QPalette::PlaceholderText);
    label->addWidget(chevron);
    row->addWidget(m_destination);

    m_trash->setAccessibleName(tr("Remove rule"));
    m_trash->setAutoRaise(true);
    m_trash->setFixedSize(22, 28);
    SymbolIcon::apply(m_trash, QStringLiteral("trash"));
    row->addWidget(m_trash);
    connect(m_trash, &QToolButton::clicked, this, [this] { m_context.model.removeCustomFilter(m_filter.id); });

    m_word->setText(m_filter.pattern);
    update(m_filter, liveNames);
}

void CustomFilterRow::update(const CustomFilter &filter, const QStringList &liveNames)
{
    // Unsubmitted typing survives a refresh; a new stored word replaces it.
    if (filter.pattern != m_filter.pattern) {
        const QSignalBlocker blocker(m_word);
        m_word->setText(filter.pattern);
    }
    const bool menuStale = liveNames != m_liveNames || m_menu->isEmpty();
    m_filter = filter;
    m_liveNames = liveNames;
    {
        const QSignalBlocker blocker(m_enabled);
        m_enabled->setChecked(filter.enabled);
    }
    m_enabled->setToolTip(filter.enabled ? tr("Rule is on") : tr("Rule is off"));
    const bool chosen = !filter.collection.isEmpty();
    m_destinationText->setFullText(chosen ? filter.collection : tr("Choose desktop"));
    m_destination->setToolTip(chosen ? filter.collection : QString());
    m_destinationText->setForegroundRole(chosen ? QPalette::WindowText : QPalette::PlaceholderText);
    // The items stay while the desktops do: an item is never deleted in the middle of its
    // own choice.
    if (menuStale)
        rebuildMenu();
    for (QAction *item : m_menu->actions()) {
        if (item->isCheckable())
            item->setChecked(item->data().toString() == filter.collection);
    }
}

void CustomFilterRow::submitWord()
{
    m_context.model.setCustomFilterPattern(m_filter.id, SettingsModel::trimmedName(m_word->text()));
}

void CustomFilterRow::rebuildMenu()
{
    m_menu->clear();
    for (const QString &name : m_liveNames) {
        // "&" would mark a mnemonic; the name itself is the item's data.
        QAction *item = m_menu->addAction(literalTitle(name));
        item->setData(name);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, name] {
            m_context.model.setCustomFilterCollection(m_filter.id, name);
        });
    }
    m_menu->addSeparator();
    QAction *create = m_menu->addAction(SymbolIcon::icon(QStringLiteral("plus")), tr("New desktop…"));
    create->setProperty(SymbolIcon::property, QStringLiteral("plus"));
    connect(create, &QAction::triggered, this, &CustomFilterRow::askForNewDesktop);
}

void CustomFilterRow::askForNewDesktop()
{
    Dialogs *dialogs = m_context.services.dialogs;
    if (!dialogs)
        return;
    Question question;
    question.message = tr("New desktop");
    question.informativeText = tr("Create a new permanent desktop to sort matching files into.");
    question.buttons = {{tr("Create")}, {tr("Cancel"), ButtonRole::cancel}};
    question.style = AlertStyle::informational;
    question.field = QuestionField{tr("Name")};
    SettingsModel *model = &m_context.model;
    const QUuid id = m_filter.id;
    // The name is the alert's own: each alert opens with an empty field.
    dialogs->askText(window(), question, [model, id](int index, const QString &name) {
        // A blank name would clear the rule's desktop; "Create" with nothing to create
        // changes nothing.
        if (index != 0 || SettingsModel::trimmedName(name).isEmpty())
            return;
        model->setCustomFilterCollection(id, name);
    });
}

} // namespace quorvane
