#include "Shared/Theme.h"

#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace quorvane {

namespace {

// Fusion, with the outlines of check boxes and radio buttons drawn from the text colour: Fusion
// darkens the window colour for them, which all but vanishes on a dark window. Alerts show the
// symbols of the application's own icon set, in the look's colours.
class ReadableFusion final : public QProxyStyle {
public:
    ReadableFusion()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    {
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (Style::isDark(option->palette)) {
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
        QProxyStyle::drawPrimitive(element, option, painter, widget);
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
};

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
    if (accent && accent->isValid()) {
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::Highlight, *accent);
            p.setColor(group, QPalette::HighlightedText, Style::textOn(*accent));
            p.setColor(group, QPalette::Link, *accent);
        }
    }
    return p;
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

void Theme::install(bool dark, const std::optional<QColor> &accent)
{
    if (!m_installed) {
        m_platformPalette = QApplication::palette();
        // One style everywhere, drawn from the palette alone, whatever the desktop's Qt theme.
        QApplication::setStyle(new ReadableFusion);
        m_installed = true;
    }
    m_dark = dark;
    const QPalette next = palette(dark, accent);
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
