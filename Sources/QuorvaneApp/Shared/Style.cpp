#include "Shared/Style.h"

#include "Appearance.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QTextBoundaryFinder>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr const char *appearanceProperty = "quorvaneAppearance";

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// Characters as a reader counts them: one per grapheme cluster.
qsizetype characterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

int component255(float value)
{
    const double scaled = std::round(double(value) * 255.0); // halves away from zero
    return int(std::clamp(scaled, 0.0, 255.0));
}

} // namespace

std::optional<QColor> optionalColorFromHex(const QString &hex)
{
    qsizetype begin = 0;
    qsizetype end = hex.size();
    const auto trimmed = [](QChar c) { return c == u'#' || c == u' '; };
    while (begin < end && trimmed(hex[begin]))
        ++begin;
    while (end > begin && trimmed(hex[end - 1]))
        --end;
    const QString text = hex.mid(begin, end - begin).toUpper();
    if (characterCount(text) != 6)
        return std::nullopt;
    qsizetype at = 0;
    if (text.startsWith(QLatin1String("0X")) && text.size() > 2 && hexDigit(text[2]) >= 0)
        at = 2;
    quint64 value = 0;
    int digits = 0;
    for (; at < text.size(); ++at) {
        const int digit = hexDigit(text[at]);
        if (digit < 0)
            break;
        value = value * 16 + quint64(digit);
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return QColor::fromRgb(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF));
}

QColor colorFromHex(const QString &hex)
{
    if (const auto color = optionalColorFromHex(hex))
        return *color;
    return *optionalColorFromHex(Appearance::defaultAccentHex);
}

QString hexString(const QColor &color)
{
    if (!color.isValid())
        return QStringLiteral("#FF9500");
    const QColor rgb = color.toRgb();
    return QStringLiteral("#%1%2%3")
        .arg(component255(rgb.redF()), 2, 16, QLatin1Char('0'))
        .arg(component255(rgb.greenF()), 2, 16, QLatin1Char('0'))
        .arg(component255(rgb.blueF()), 2, 16, QLatin1Char('0'))
        .toUpper();
}

const std::vector<AccentPreset> &Style::accentPresets()
{
    static const std::vector<AccentPreset> presets{
        {QCoreApplication::translate("Style", "Ochre"), Appearance::defaultAccentHex},
        {QCoreApplication::translate("Style", "Slate"), QStringLiteral("#6C8BA6")},
        {QCoreApplication::translate("Style", "Rose"), QStringLiteral("#C08497")},
        {QCoreApplication::translate("Style", "Sage"), QStringLiteral("#7E9B78")},
    };
    return presets;
}

QColor Style::separatorColor(const QPalette &palette)
{
    QColor line = palette.color(QPalette::WindowText);
    line.setAlphaF(0.16f);
    return line;
}

bool Style::isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

QColor Style::warningColor(const QPalette &palette)
{
    return isDark(palette) ? QColor(0xFF, 0xB3, 0x40) : QColor(0xA0, 0x4A, 0x00);
}

QColor Style::errorColor(const QPalette &palette)
{
    return isDark(palette) ? QColor(0xFF, 0x7A, 0x70) : QColor(0xC0, 0x20, 0x1A);
}

QColor Style::successColor(const QPalette &palette)
{
    return isDark(palette) ? QColor(0x4C, 0xD9, 0x64) : QColor(0x1E, 0x7B, 0x34);
}

namespace {

constexpr const char *toneFollowerName = "quorvaneStatusTone";

QColor toneColor(StatusTone tone, const QPalette &palette)
{
    switch (tone) {
    case StatusTone::warning:
        return Style::warningColor(palette);
    case StatusTone::error:
        return Style::errorColor(palette);
    case StatusTone::success:
        break;
    }
    return Style::successColor(palette);
}

// Writes the tone's colour into its widget's palette, now and at each change of the application's.
class ToneFollower final : public QObject {
public:
    ToneFollower(QWidget *widget, StatusTone tone)
        : QObject(widget)
        , m_widget(widget)
        , m_tone(tone)
    {
        setObjectName(QLatin1String(toneFollowerName));
        widget->installEventFilter(this);
        refresh();
    }
    void setTone(StatusTone tone)
    {
        m_tone = tone;
        refresh();
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange)
            refresh();
        return false;
    }

private:
    void refresh()
    {
        QPalette palette = QApplication::palette();
        const QColor colour = toneColor(m_tone, palette);
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::WindowText, colour);
            palette.setColor(group, QPalette::Text, colour);
        }
        m_widget->setPalette(palette);
    }

    QWidget *m_widget;
    StatusTone m_tone;
};

} // namespace

void Style::setStatusTone(QWidget *widget, std::optional<StatusTone> tone)
{
    auto *follower = widget->findChild<ToneFollower *>(QLatin1String(toneFollowerName), Qt::FindDirectChildrenOnly);
    if (!tone) {
        delete follower;
        widget->setPalette(QPalette());
        return;
    }
    if (follower)
        follower->setTone(*tone);
    else
        new ToneFollower(widget, *tone);
}

static double relativeLuminance(const QColor &color)
{
    const auto linear = [](float c) { return c <= 0.03928f ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double Style::contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Style::readableOn(const QColor &color, const QColor &toward, std::initializer_list<QColor> backgrounds,
                         double ratio)
{
    const auto stands = [&](const QColor &candidate) {
        for (const QColor &background : backgrounds) {
            if (contrastRatio(candidate, background) < ratio)
                return false;
        }
        return true;
    };
    for (int step = 0; step <= 20; ++step) {
        const double t = step / 20.0;
        const QColor mixed = QColor::fromRgbF(float(color.redF() + (toward.redF() - color.redF()) * t),
                                              float(color.greenF() + (toward.greenF() - color.greenF()) * t),
                                              float(color.blueF() + (toward.blueF() - color.blueF()) * t));
        if (stands(mixed))
            return mixed;
    }
    return toward;
}

QColor Style::edgeColor(const QPalette &palette)
{
    return readableOn(palette.color(QPalette::Mid), palette.color(QPalette::WindowText),
                      {palette.color(QPalette::Window), palette.color(QPalette::Base)}, 3.0);
}

QColor Style::focusColor(const QPalette &palette)
{
    return readableOn(palette.color(QPalette::Highlight), palette.color(QPalette::WindowText),
                      {palette.color(QPalette::Window), palette.color(QPalette::Base)}, 3.0);
}

QColor Style::textOn(const QColor &background)
{
    return contrastRatio(Qt::white, background) >= 4.5 ? QColor(Qt::white) : QColor(Qt::black);
}

static QPalette paletteFrom(QColor window, QColor text, QColor base, QColor alternate, QColor button, QColor highlight,
                            QColor secondaryText, QColor dimText)
{
    QPalette p;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, disabled ? dimText : text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, alternate);
        p.setColor(group, QPalette::Text, disabled ? dimText : text);
        p.setColor(group, QPalette::Button, button);
        p.setColor(group, QPalette::ButtonText, disabled ? dimText : text);
        p.setColor(group, QPalette::BrightText, Qt::white);
        // Secondary text (notes, subtitles, placeholders) reads at 4.5:1 like the body; disabled
        // controls stay legible.
        p.setColor(group, QPalette::PlaceholderText, secondaryText);
        p.setColor(group, QPalette::Highlight, highlight);
        p.setColor(group, QPalette::HighlightedText, Style::textOn(highlight));
        p.setColor(group, QPalette::ToolTipBase, base);
        p.setColor(group, QPalette::ToolTipText, text);
        p.setColor(group, QPalette::Light, button.lighter(130));
        p.setColor(group, QPalette::Midlight, button.lighter(115));
        p.setColor(group, QPalette::Mid, button.darker(130));
        p.setColor(group, QPalette::Dark, button.darker(160));
        p.setColor(group, QPalette::Shadow, Qt::black);
        p.setColor(group, QPalette::Link, highlight);
    }
    return p;
}

QPalette lightPalette()
{
    return paletteFrom(QColor(0xEC, 0xEC, 0xEC), QColor(0x1D, 0x1D, 0x1F), Qt::white, QColor(0xF5, 0xF5, 0xF5),
                       QColor(0xFA, 0xFA, 0xFA), QColor(0x0A, 0x64, 0xD6), QColor(0x56, 0x56, 0x5B),
                       QColor(0x75, 0x75, 0x7A));
}

QPalette darkPalette()
{
    return paletteFrom(QColor(0x2B, 0x2B, 0x2D), QColor(0xE8, 0xE8, 0xEA), QColor(0x1E, 0x1E, 0x20),
                       QColor(0x33, 0x33, 0x36), QColor(0x3A, 0x3A, 0x3C), QColor(0x2F, 0x7C, 0xF6),
                       QColor(0xA9, 0xA9, 0xAE), QColor(0x8E, 0x8E, 0x93));
}

AppearanceMode appliedAppearance(const QWidget *window)
{
    const QString name = window->property(appearanceProperty).toString();
    if (name == QLatin1String("light"))
        return AppearanceMode::light;
    if (name == QLatin1String("dark"))
        return AppearanceMode::dark;
    return AppearanceMode::system;
}

void applyAppearance(QWidget *window, AppearanceMode mode)
{
    if (!window || appliedAppearance(window) == mode)
        return;
    switch (mode) {
    case AppearanceMode::system:
        window->setProperty(appearanceProperty, QVariant());
        window->setPalette(QPalette()); // no roles of its own: inherits the application's
        break;
    case AppearanceMode::light:
        window->setProperty(appearanceProperty, QStringLiteral("light"));
        window->setPalette(lightPalette());
        break;
    case AppearanceMode::dark:
        window->setProperty(appearanceProperty, QStringLiteral("dark"));
        window->setPalette(darkPalette());
        break;
    }
}

QLabel *makeSectionHeader(const QString &title, QWidget *parent)
{
    auto *label = new QLabel(title, parent);
    QFont font = label->font();
    font.setPixelSize(14);
    font.setWeight(QFont::DemiBold);
    font.setCapitalization(QFont::MixedCase);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QStringLiteral("sectionHeader"));
    return label;
}

QLabel *makeNote(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

} // namespace quorvane
