#include "Settings/CapsuleStyle.h"

#include "Settings/Style.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSizePolicy>
#include <QStyle>

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

// Writes a style sheet made from the widget's palette now and whenever that palette changes.
class PaletteSheet : public QObject {
public:
    PaletteSheet(QWidget *widget, std::function<QString(const QPalette &)> make)
        : QObject(widget)
        , m_widget(widget)
        , m_make(std::move(make))
    {
        widget->installEventFilter(this);
        refresh();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Written once the change has reached every child, never in the middle of it.
        if (watched == m_widget && event->type() == QEvent::PaletteChange && !m_pending) {
            m_pending = true;
            QMetaObject::invokeMethod(this, [this] {
                m_pending = false;
                refresh();
            }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void refresh()
    {
        const QString sheet = m_make(m_widget->palette());
        if (m_widget->styleSheet() != sheet)
            m_widget->setStyleSheet(sheet);
    }

    QWidget *m_widget;
    bool m_pending = false;
    std::function<QString(const QPalette &)> m_make;
};

} // namespace

void capsuleField(QLineEdit *field, int height)
{
    // The line edit keeps 2 pixels of its own before the text: the caret then sits 12 in.
    const int radius = height / 2;
    new PaletteSheet(field, [radius](const QPalette &p) {
        return QStringLiteral("QLineEdit { padding: 0px 10px; border: 1px solid %1; border-radius: %2px;"
                              " background: %3; }")
            .arg(rgba(Style::separatorColor(p)))
            .arg(radius)
            .arg(rgba(withAlpha(p.color(QPalette::WindowText), 0.05f)));
    });
    field->setFixedHeight(height);
    field->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void capsuleButtons(QWidget *host)
{
    new PaletteSheet(host, [](const QPalette &p) {
        const int inner = capsuleButtonHeight - 2; // the contents, inside a 1-pixel border
        const QColor button = p.color(QPalette::Button);
        const QColor text = p.color(QPalette::ButtonText);
        const QColor dim = p.color(QPalette::Disabled, QPalette::ButtonText);
        const QColor line = Style::separatorColor(p);
        const QColor accent = p.color(QPalette::Highlight);
        const QColor onAccent = p.color(QPalette::HighlightedText);
        return QStringLiteral(
                   "QPushButton { min-height: %1px; max-height: %1px; padding: 0px 14px; border: 1px solid %2;"
                   " border-radius: %3px; background: %4; color: %5; }"
                   "QPushButton:hover { background: %6; }"
                   "QPushButton:pressed { background: %7; }"
                   "QPushButton:focus { border-color: %8; }"
                   "QPushButton:checked { background: %9; border-color: %8; }"
                   "QPushButton:disabled { color: %10; }"
                   "QPushButton[prominentCTA=\"true\"] { background: %8; color: %11; border-color: %12; }"
                   "QPushButton[prominentCTA=\"true\"]:pressed { background: %12; }"
                   "QPushButton[prominentCTA=\"true\"]:disabled { background: %13; color: %14; border-color: %13; }")
            .arg(inner)
            .arg(rgba(line))
            .arg(capsuleButtonHeight / 2)
            .arg(rgba(button), rgba(text), rgba(button.lighter(104)), rgba(button.darker(110)), rgba(accent),
                 rgba(withAlpha(accent, 0.28f)), rgba(dim), rgba(onAccent), rgba(accent.darker(115)),
                 rgba(withAlpha(accent, 0.4f)), rgba(withAlpha(onAccent, 0.8f)));
    });
}

void prominentCTA(QPushButton *button)
{
    button->setProperty("prominentCTA", true);
    button->style()->unpolish(button);
    button->style()->polish(button);
}

} // namespace quorvane
