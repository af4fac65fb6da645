#include "Shared/Theme.h"

#include "Shared/DocumentService.h"
#include "Shared/FocusRing.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

namespace quorvane {

namespace {

// The base style (Fusion for the fixed looks, the platform's under "System"), with the
// outlines of Fusion's check boxes and radio buttons drawn from the text colour: Fusion darkens
// the window colour for them, which all but vanishes on a dark window. The focus ring is the
// application's own in every style. A push button's text stands a gap away from its icon. Alerts show the symbols of the application's own icon set, in
// the look's colours.
class ReadableStyle final : public QProxyStyle {
public:
    explicit ReadableStyle(const QString &base)
        : QProxyStyle(QStyleFactory::create(base))
    {
        m_fusion = baseStyle()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) == 0;
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (m_fusion && Style::isDark(option->palette)) {
            // Fusion's outline is the window colour darkened: start from a light grey instead.
            const QColor start = option->palette.color(QPalette::PlaceholderText).lighter(140);
            if (element == PE_IndicatorCheckBox) {
                if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
                    QStyleOptionButton copy(*button);
                    copy.palette.setColor(QPalette::Window, start);
                    QProxyStyle::drawPrimitive(element, &copy, painter, widget);
                    return;
                }
            } else if (element == PE_IndicatorRadioButton) {
                QStyleOption copy(*option);
                copy.palette.setColor(QPalette::Window, start);
                QProxyStyle::drawPrimitive(element, &copy, painter, widget);
                return;
            }
        }
        // The ring around the focused control (FocusRing) stands for the style's own marks.
        if (element == PE_FrameFocusRect)
            return;
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        // Fusion outlines a field, and a check box in the light look, in the window colour
        // darkened, and a focused field in a light blue, each under 3:1 against the window: the
        // edge colour, and the focus colour on a focused field, go over them.
        const bool focused = option->state & State_HasFocus;
        if (m_fusion && element == PE_FrameLineEdit)
            drawEdge(*option, painter, 2, focused ? Style::focusColor(option->palette) : Style::edgeColor(option->palette));
        else if (m_fusion && element == PE_IndicatorCheckBox && !focused && !Style::isDark(option->palette))
            drawEdge(*option, painter, 0, Style::edgeColor(option->palette));
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (m_fusion && element == CE_PushButtonLabel) {
            if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
                button && !button->icon.isNull() && !button->text.isEmpty()) {
                drawIconAndText(*button, painter, widget);
                return;
            }
        }
        if (element != CE_FocusFrame) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const qreal width = FocusRing::width;
        QPainterPath ring;
        ring.addRoundedRect(QRectF(option->rect).adjusted(width / 2, width / 2, -width / 2, -width / 2), 4, 4);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Style::focusColor(option->palette), width));
        painter->drawPath(ring);
        painter->restore();
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const override
    {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        // Fusion's thumb is all but the colour of its track: it gets an edge that stands 3:1
        // against the track as well as the window (the track is shaded from the button colour to
        // its lighter midlight).
        if (m_fusion && control == CC_ScrollBar) {
            const QRectF thumb = QRectF(subControlRect(control, option, SC_ScrollBarSlider, widget)).adjusted(1.5, 1.5, -1.5, -1.5);
            if (thumb.isEmpty())
                return;
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setBrush(Qt::NoBrush);
            const QPalette &colors = option->palette;
            painter->setPen(QPen(Style::readableOn(colors.color(QPalette::Mid), colors.color(QPalette::WindowText),
                                                   {colors.color(QPalette::Window), colors.color(QPalette::Button),
                                                    colors.color(QPalette::Midlight)},
                                                   3.0),
                                 1));
            painter->drawRoundedRect(thumb, 2, 2);
            painter->restore();
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contents,
                           const QWidget *widget) const override
    {
        QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        // The button's own size hint leaves 4 pixels between its icon and its text.
        if (m_fusion && type == CT_PushButton) {
            if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
                button && !button->icon.isNull() && !button->text.isEmpty())
                size.rwidth() += std::max(0, Style::iconTextGap - 4);
        }
        return size;
    }

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_FocusFrameHMargin || metric == PM_FocusFrameVMargin)
            return FocusRing::width;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *data) const override
    {
        // The ring is drawn whole, rounded and smooth: no mask cuts it.
        if (hint == SH_FocusFrame_Mask)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (icon) {
        case SP_MessageBoxInformation:
            return SymbolIcon::icon(QStringLiteral("info.circle"));
        case SP_MessageBoxWarning:
            return SymbolIcon::icon(QStringLiteral("exclamationmark.triangle.fill"));
        case SP_MessageBoxCritical:
            return SymbolIcon::icon(QStringLiteral("xmark.octagon.fill"), Style::errorColor(QApplication::palette()));
        case SP_MessageBoxQuestion:
            return SymbolIcon::icon(QStringLiteral("questionmark.circle"));
        default:
            return QProxyStyle::standardIcon(icon, option, widget);
        }
    }

private:
    // A one-pixel edge along the inside of the option's rectangle, as Fusion draws its outlines.
    static void drawEdge(const QStyleOption &option, QPainter *painter, qreal radius, const QColor &colour)
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->translate(0.5, 0.5);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(colour, 1));
        painter->drawRoundedRect(QRectF(option.rect.adjusted(0, 0, -1, -1)), radius, radius);
        painter->restore();
    }

    // A push button's icon and text, centred together with the gap between them that the base
    // style leaves out (it sets the text all but against the icon).
    void drawIconAndText(const QStyleOptionButton &button, QPainter *painter, const QWidget *widget) const
    {
        QRect area = button.rect;
        if (button.features & QStyleOptionButton::HasMenu) {
            const int indicator = proxy()->pixelMetric(PM_MenuButtonIndicator, &button, widget);
            area.adjust(button.direction == Qt::LeftToRight ? 0 : indicator, 0,
                        button.direction == Qt::LeftToRight ? -indicator : 0, 0);
        }
        int flags = Qt::AlignVCenter | Qt::TextShowMnemonic;
        if (!proxy()->styleHint(SH_UnderlineShortcut, &button, widget))
            flags |= Qt::TextHideMnemonic;
        QIcon::Mode mode = button.state & State_Enabled ? QIcon::Normal : QIcon::Disabled;
        if (mode == QIcon::Normal && (button.state & State_HasFocus))
            mode = QIcon::Active;
        const QIcon::State state = button.state & State_On ? QIcon::On : QIcon::Off;
        const QPixmap pixmap = button.icon.pixmap(button.iconSize, painter->device()->devicePixelRatio(), mode, state);
        const QSize iconSize = pixmap.deviceIndependentSize().toSize();
        const int textWidth = button.fontMetrics.boundingRect(area, flags, button.text).width();
        const int labelWidth = iconSize.width() + Style::iconTextGap + textWidth;
        QRect iconRect(area.x() + std::max(0, (area.width() - labelWidth) / 2),
                       area.y() + (area.height() - iconSize.height()) / 2, iconSize.width(), iconSize.height());
        iconRect = visualRect(button.direction, area, iconRect);
        QRect textRect = area;
        if (button.direction == Qt::RightToLeft) {
            flags |= Qt::AlignRight;
            textRect.setRight(iconRect.left() - 1 - Style::iconTextGap);
        } else {
            flags |= Qt::AlignLeft;
            textRect.setLeft(iconRect.right() + 1 + Style::iconTextGap);
        }
        if (button.state & (State_On | State_Sunken)) {
            const QPoint shift(proxy()->pixelMetric(PM_ButtonShiftHorizontal, &button, widget),
                               proxy()->pixelMetric(PM_ButtonShiftVertical, &button, widget));
            iconRect.translate(shift);
            textRect.translate(shift);
        }
        painter->drawPixmap(iconRect, pixmap);
        proxy()->drawItemText(painter, textRect, flags, button.palette, button.state & State_Enabled, button.text,
                              QPalette::ButtonText);
    }

    bool m_fusion = false;
};

void setAccent(QPalette &p, const std::optional<QColor> &accent)
{
    if (!accent || !accent->isValid())
        return;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Highlight, *accent);
        p.setColor(group, QPalette::HighlightedText, Style::textOn(*accent));
        p.setColor(group, QPalette::Link, *accent);
    }
}

} // namespace

Theme &Theme::shared()
{
    static Theme theme;
    return theme;
}

void Theme::setSystemSource(std::function<bool()> isDark)
{
    m_systemSource = std::move(isDark);
    systemChanged();
}

bool Theme::systemIsDark()
{
    if (!m_systemDark) {
        if (m_systemSource)
            m_systemDark = m_systemSource();
        else
            m_systemDark = Style::isDark(m_installed ? m_platformPalette : QApplication::palette());
    }
    return *m_systemDark;
}

void Theme::systemChanged()
{
    m_systemDark.reset();
    if (m_look && m_look->mode == AppearanceMode::system)
        install(systemIsDark(), m_look->accentHex ? optionalColorFromHex(*m_look->accentHex) : std::nullopt);
}

QPalette Theme::palette(bool dark, const std::optional<QColor> &accent)
{
    QPalette p = dark ? darkPalette() : lightPalette();
    setAccent(p, accent);
    return p;
}

QPalette Theme::basePalette(bool dark) const
{
    const bool system = m_look && m_look->mode == AppearanceMode::system;
    if (system && m_followPlatformPalette && Style::isDark(m_platformPalette) == dark) {
        // A platform's faded text may be too faint to read: drawn towards its text colour until
        // it reads 4.5:1 on the window and the fields, as the fixed looks' does.
        QPalette p = m_platformPalette;
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            p.setColor(group, QPalette::PlaceholderText,
                       Style::readableOn(p.color(group, QPalette::PlaceholderText), p.color(group, QPalette::Text),
                                         {p.color(group, QPalette::Window), p.color(group, QPalette::Base)}, 4.5));
        }
        return p;
    }
    return dark ? darkPalette() : lightPalette();
}

void Theme::apply(const Appearance &look)
{
    if (m_look && m_look->mode == look.mode && m_look->accentHex == look.accentHex)
        return;
    m_look = look;
    bool dark = look.mode == AppearanceMode::dark;
    if (look.mode == AppearanceMode::system)
        dark = systemIsDark();
    install(dark, look.accentHex ? optionalColorFromHex(*look.accentHex) : std::nullopt);
}

void Theme::follow(DocumentService &documents)
{
    using Change = DocumentService::Change;
    QObject::connect(&documents, &DocumentService::changed, &m_listening,
                     [this](const Config &config, DocumentService::Changes what) {
                         if (what & (Change::settings | Change::state))
                             apply(config.settings.appearance);
                     });
}

void Theme::install(bool dark, const std::optional<QColor> &accent)
{
    if (!m_installed) {
        m_platformPalette = QApplication::palette();
        m_platformStyle = QApplication::style()->name();
        FocusRing::follow();
        m_installed = true;
    }
    // The fixed looks are drawn in one style from their palettes alone, whatever the desktop's
    // theme; "System" is drawn in the desktop's.
    const QString style = m_look && m_look->mode == AppearanceMode::system ? m_platformStyle : QStringLiteral("fusion");
    const auto *current = qobject_cast<const QProxyStyle *>(QApplication::style());
    if (!current || !dynamic_cast<const ReadableStyle *>(current)
        || current->baseStyle()->name().compare(style, Qt::CaseInsensitive) != 0)
        QApplication::setStyle(new ReadableStyle(style));
    m_dark = dark;
    QPalette next = basePalette(dark);
    setAccent(next, accent);
    if (QApplication::palette() == next)
        return;
    QApplication::setPalette(next);
    // The application hands a new palette to its widgets only while its event loop runs: the
    // windows made before it starts (and in tests) are told here.
    QEvent change(QEvent::ApplicationPaletteChange);
    for (QWidget *widget : QApplication::allWidgets())
        QCoreApplication::sendEvent(widget, &change);
}

} // namespace quorvane
