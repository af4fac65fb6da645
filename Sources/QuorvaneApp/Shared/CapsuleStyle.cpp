#include "Shared/CapsuleStyle.h"

#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QChildEvent>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSizePolicy>
#include <QStyle>
#include <QToolButton>

#include <functional>

namespace quorvane {

namespace {

QString rgba(const QColor &c)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

QColor withAlpha(QColor c, float alpha)
{
    c.setAlphaF(alpha);
    return c;
}

// Writes a style sheet on a control, made from the palette of another widget (the control's
// parent, or the container the look was asked for), now and whenever that palette changes.
// The sheets sit on the controls themselves, never on a container: a widget under a style
// sheet no longer takes its parent's palette, so light and dark would stop reaching it.
class PaletteSheet : public QObject {
public:
    // source: none takes the control's parent at each refresh.
    PaletteSheet(QWidget *control, QWidget *source, std::function<QString(const QPalette &)> make)
        : QObject(control)
        , m_control(control)
        , m_fixedSource(source)
        , m_make(std::move(make))
    {
        control->installEventFilter(this);
        hookSource();
        refresh();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_control && event->type() == QEvent::ParentChange) {
            hookSource();
            refreshLater();
        } else if (watched == m_source && event->type() == QEvent::PaletteChange) {
            // Written once the change has reached every child, never in the middle of it.
            refreshLater();
        }
        return false;
    }

private:
    QWidget *source() const
    {
        if (m_fixedSource)
            return m_fixedSource;
        return m_control->parentWidget() ? m_control->parentWidget() : m_control.data();
    }
    void hookSource()
    {
        QWidget *now = source();
        if (now == m_source)
            return;
        if (m_source && m_source != m_control)
            m_source->removeEventFilter(this);
        m_source = now;
        if (m_source != m_control)
            m_source->installEventFilter(this);
    }
    void refreshLater()
    {
        if (m_pending)
            return;
        m_pending = true;
        QMetaObject::invokeMethod(
            this, [this] {
                m_pending = false;
                refresh();
            },
            Qt::QueuedConnection);
    }
    void refresh()
    {
        if (!m_control || !m_source)
            return;
        const QString sheet = m_make(m_source->palette());
        if (m_control->styleSheet() != sheet)
            m_control->setStyleSheet(sheet);
    }

    QPointer<QWidget> m_control;
    QPointer<QWidget> m_fixedSource;
    QPointer<QWidget> m_source;
    bool m_pending = false;
    std::function<QString(const QPalette &)> m_make;
};

QString buttonSheet(const QPalette &p)
{
    const int inner = capsuleButtonHeight - 2; // the contents, inside a 1-pixel border
    const QColor button = p.color(QPalette::Button);
    const QColor text = p.color(QPalette::ButtonText);
    const QColor dim = p.color(QPalette::Disabled, QPalette::ButtonText);
    // The edge stands 3:1 against the window and the fields, as every control's does.
    const QColor line = Style::edgeColor(p);
    const QColor accent = p.color(QPalette::Highlight);
    // White or black on the accent, whichever reads (dark text on a light accent).
    const QColor onAccent = Style::textOn(accent);
    // The focus shows once, as the accent border: the style draws no dotted ring of its own.
    return QStringLiteral("QPushButton { min-height: %1px; max-height: %1px; padding: 0px 14px; border: 1px solid %2;"
                          " border-radius: %3px; background: %4; color: %5; outline: none; }"
                          "QPushButton:hover { background: %6; }"
                          "QPushButton:checked:hover { background: %9; }"
                          "QPushButton:pressed { background: %7; }"
                          "QPushButton:focus { border-color: %8; }"
                          "QPushButton:checked { background: %8; color: %11; border-color: %8; }"
                          "QPushButton:disabled { color: %10; }"
                          "QPushButton[prominentCTA=\"true\"] { background: %8; color: %11; border-color: %12; }"
                          "QPushButton[prominentCTA=\"true\"]:pressed { background: %12; }"
                          "QPushButton[prominentCTA=\"true\"]:disabled { background: %4; color: %10;"
                          " border-color: %2; }")
        .arg(inner)
        .arg(rgba(line))
        .arg(capsuleButtonHeight / 2)
        .arg(rgba(button), rgba(text), rgba(button.lighter(104)), rgba(button.darker(110)), rgba(accent),
             rgba(accent.darker(106)), rgba(dim), rgba(onAccent), rgba(accent.darker(115)));
}

constexpr const char *styledProperty = "quorvaneCapsule";

// Gives every push button under a container the capsule sheet, the ones added later too (they
// are seen when they are first polished).
class CapsuleButtons : public QObject {
public:
    explicit CapsuleButtons(QWidget *host)
        : QObject(host)
        , m_host(host)
    {
        watch(host);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ChildPolished) {
            if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
                watch(child);
        }
        return false;
    }

private:
    void watch(QWidget *widget)
    {
        if (widget->property(styledProperty).toBool())
            return;
        widget->setProperty(styledProperty, true);
        widget->installEventFilter(this);
        if (auto *button = qobject_cast<QPushButton *>(widget)) {
            new PaletteSheet(button, m_host, buttonSheet);
            // A style sheet's button sets its text all but against the icon, whatever the
            // application's style does: the symbol brings the room after it itself.
            if (!button->text().isEmpty() && !button->property(SymbolIcon::property).toString().isEmpty()) {
                const int side = button->iconSize().height();
                button->setIconSize(QSize(side + Style::iconTextGap, side));
            }
        }
        for (QObject *child : widget->children()) {
            if (auto *w = qobject_cast<QWidget *>(child))
                watch(w);
        }
    }

    QWidget *m_host;
};

} // namespace

void capsuleField(QLineEdit *field, int height)
{
    // The line edit keeps 2 pixels of its own before the text: the caret then sits 12 in.
    const int radius = height / 2;
    new PaletteSheet(field, nullptr, [radius](const QPalette &p) {
        return QStringLiteral("QLineEdit { padding: 0px 10px; border: 1px solid %1; border-radius: %2px;"
                              " background: %3; color: %4; }")
            .arg(rgba(Style::edgeColor(p)))
            .arg(radius)
            .arg(rgba(withAlpha(p.color(QPalette::WindowText), 0.05f)), rgba(p.color(QPalette::Text)));
    });
    field->setFixedHeight(height);
    field->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void accentSegment(QToolButton *segment)
{
    new PaletteSheet(segment, nullptr, [](const QPalette &p) {
        const QColor accent = p.color(QPalette::Highlight);
        return QStringLiteral("QToolButton { padding: 3px 10px; border: 1px solid %1; background: %2; color: %3;"
                              " outline: none; }"
                              "QToolButton:hover { background: %4; }"
                              "QToolButton:focus { border-color: %5; }"
                              "QToolButton:checked { background: %5; color: %6; border-color: %5; }"
                              "QToolButton:disabled { color: %7; }")
            .arg(rgba(Style::edgeColor(p)), rgba(p.color(QPalette::Button)), rgba(p.color(QPalette::ButtonText)),
                 rgba(p.color(QPalette::Button).darker(106)), rgba(accent), rgba(Style::textOn(accent)),
                 rgba(p.color(QPalette::Disabled, QPalette::ButtonText)));
    });
}

void capsuleButtons(QWidget *host)
{
    new CapsuleButtons(host);
}

void prominentCTA(QPushButton *button)
{
    button->setProperty("prominentCTA", true);
    // Its symbol takes the colour of its text on the accent.
    if (const QString symbol = button->property(SymbolIcon::property).toString(); !symbol.isEmpty())
        button->setIcon(SymbolIcon::iconOnAccent(symbol));
    button->style()->unpolish(button);
    button->style()->polish(button);
}

} // namespace quorvane
