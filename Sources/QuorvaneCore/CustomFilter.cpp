#include "CustomFilter.h"

#include "JsonCoding.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <iterator>

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

// The characters whose full case folding is more than one character (Unicode's CaseFolding
// status F), sorted by code point. QString::toCaseFolded applies the simple folding only, so
// without these "STRASSE" would not find "straße". All of them lie in the Basic Multilingual
// Plane, and so do their foldings.
struct MultiFold {
    char16_t from;
    char16_t to[3];
};

constexpr MultiFold multiFolds[] = {
    {0x00DF, {0x0073, 0x0073}},
    {0x0130, {0x0069, 0x0307}},
    {0x0149, {0x02BC, 0x006E}},
    {0x01F0, {0x006A, 0x030C}},
    {0x0390, {0x03B9, 0x0308, 0x0301}},
    {0x03B0, {0x03C5, 0x0308, 0x0301}},
    {0x0587, {0x0565, 0x0582}},
    {0x1E96, {0x0068, 0x0331}},
    {0x1E97, {0x0074, 0x0308}},
    {0x1E98, {0x0077, 0x030A}},
    {0x1E99, {0x0079, 0x030A}},
    {0x1E9A, {0x0061, 0x02BE}},
    {0x1E9E, {0x0073, 0x0073}},
    {0x1F50, {0x03C5, 0x0313}},
    {0x1F52, {0x03C5, 0x0313, 0x0300}},
    {0x1F54, {0x03C5, 0x0313, 0x0301}},
    {0x1F56, {0x03C5, 0x0313, 0x0342}},
    {0x1F80, {0x1F00, 0x03B9}},
    {0x1F81, {0x1F01, 0x03B9}},
    {0x1F82, {0x1F02, 0x03B9}},
    {0x1F83, {0x1F03, 0x03B9}},
    {0x1F84, {0x1F04, 0x03B9}},
    {0x1F85, {0x1F05, 0x03B9}},
    {0x1F86, {0x1F06, 0x03B9}},
    {0x1F87, {0x1F07, 0x03B9}},
    {0x1F88, {0x1F00, 0x03B9}},
    {0x1F89, {0x1F01, 0x03B9}},
    {0x1F8A, {0x1F02, 0x03B9}},
    {0x1F8B, {0x1F03, 0x03B9}},
    {0x1F8C, {0x1F04, 0x03B9}},
    {0x1F8D, {0x1F05, 0x03B9}},
    {0x1F8E, {0x1F06, 0x03B9}},
    {0x1F8F, {0x1F07, 0x03B9}},
    {0x1F90, {0x1F20, 0x03B9}},
    {0x1F91, {0x1F21, 0x03B9}},
    {0x1F92, {0x1F22, 0x03B9}},
    {0x1F93, {0x1F23, 0x03B9}},
    {0x1F94, {0x1F24, 0x03B9}},
    {0x1F95, {0x1F25, 0x03B9}},
    {0x1F96, {0x1F26, 0x03B9}},
    {0x1F97, {0x1F27, 0x03B9}},
    {0x1F98, {0x1F20, 0x03B9}},
    {0x1F99, {0x1F21, 0x03B9}},
    {0x1F9A, {0x1F22, 0x03B9}},
    {0x1F9B, {0x1F23, 0x03B9}},
    {0x1F9C, {0x1F24, 0x03B9}},
    {0x1F9D, {0x1F25, 0x03B9}},
    {0x1F9E, {0x1F26, 0x03B9}},
    {0x1F9F, {0x1F27, 0x03B9}},
    {0x1FA0, {0x1F60, 0x03B9}},
    {0x1FA1, {0x1F61, 0x03B9}},
    {0x1FA2, {0x1F62, 0x03B9}},
    {0x1FA3, {0x1F63, 0x03B9}},
    {0x1FA4, {0x1F64, 0x03B9}},
    {0x1FA5, {0x1F65, 0x03B9}},
    {0x1FA6, {0x1F66, 0x03B9}},
    {0x1FA7, {0x1F67, 0x03B9}},
    {0x1FA8, {0x1F60, 0x03B9}},
    {0x1FA9, {0x1F61, 0x03B9}},
    {0x1FAA, {0x1F62, 0x03B9}},
    {0x1FAB, {0x1F63, 0x03B9}},
    {0x1FAC, {0x1F64, 0x03B9}},
    {0x1FAD, {0x1F65, 0x03B9}},
    {0x1FAE, {0x1F66, 0x03B9}},
    {0x1FAF, {0x1F67, 0x03B9}},
    {0x1FB2, {0x1F70, 0x03B9}},
    {0x1FB3, {0x03B1, 0x03B9}},
    {0x1FB4, {0x03AC, 0x03B9}},
    {0x1FB6, {0x03B1, 0x0342}},
    {0x1FB7, {0x03B1, 0x0342, 0x03B9}},
    {0x1FBC, {0x03B1, 0x03B9}},
    {0x1FC2, {0x1F74, 0x03B9}},
    {0x1FC3, {0x03B7, 0x03B9}},
    {0x1FC4, {0x03AE, 0x03B9}},
    {0x1FC6, {0x03B7, 0x0342}},
    {0x1FC7, {0x03B7, 0x0342, 0x03B9}},
    {0x1FCC, {0x03B7, 0x03B9}},
    {0x1FD2, {0x03B9, 0x0308, 0x0300}},
    {0x1FD3, {0x03B9, 0x0308, 0x0301}},
    {0x1FD6, {0x03B9, 0x0342}},
    {0x1FD7, {0x03B9, 0x0308, 0x0342}},
    {0x1FE2, {0x03C5, 0x0308, 0x0300}},
    {0x1FE3, {0x03C5, 0x0308, 0x0301}},
    {0x1FE4, {0x03C1, 0x0313}},
    {0x1FE6, {0x03C5, 0x0342}},
    {0x1FE7, {0x03C5, 0x0308, 0x0342}},
    {0x1FF2, {0x1F7C, 0x03B9}},
    {0x1FF3, {0x03C9, 0x03B9}},
    {0x1FF4, {0x03CE, 0x03B9}},
    {0x1FF6, {0x03C9, 0x0342}},
    {0x1FF7, {0x03C9, 0x0342, 0x03B9}},
    {0x1FFC, {0x03C9, 0x03B9}},
    {0xFB00, {0x0066, 0x0066}},
    {0xFB01, {0x0066, 0x0069}},
    {0xFB02, {0x0066, 0x006C}},
    {0xFB03, {0x0066, 0x0066, 0x0069}},
    {0xFB04, {0x0066, 0x0066, 0x006C}},
    {0xFB05, {0x0073, 0x0074}},
    {0xFB06, {0x0073, 0x0074}},
    {0xFB13, {0x0574, 0x0576}},
    {0xFB14, {0x0574, 0x0565}},
    {0xFB15, {0x0574, 0x056B}},
    {0xFB16, {0x057E, 0x0576}},
    {0xFB17, {0x0574, 0x056D}},
};

// Full Unicode case folding, without a locale.
QString fullCaseFold(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const auto it = std::lower_bound(std::begin(multiFolds), std::end(multiFolds), u,
                                         [](const MultiFold &m, char16_t v) { return m.from < v; });
        if (it != std::end(multiFolds) && it->from == u) {
            for (const char16_t t : it->to) {
                if (t != 0)
                    out.append(QChar(t));
            }
        } else {
            out.append(c);
        }
    }
    // The multi-character foldings are already folded; everything else takes the simple one.
    return out.toCaseFolded();
}

// The form both sides are compared in: composed, fully case-folded, composed again (a
// folding can leave a decomposed sequence behind, as "İ" does).
QString comparable(const QString &text)
{
    return fullCaseFold(text.normalized(QString::NormalizationForm_C)).normalized(QString::NormalizationForm_C);
}

} // namespace

bool CustomFilter::matches(const QString &name) const
{
    if (!enabled || pattern.isEmpty())
        return false;
    const QString haystack = comparable(name);
    const QString needle = comparable(pattern);
    // A match must start and end between whole characters as a reader sees them, so that a
    // base letter does not match the same letter carrying a combining mark: diacritics count.
    QTextBoundaryFinder boundaries(QTextBoundaryFinder::Grapheme, haystack);
    for (qsizetype at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + 1)) {
        boundaries.setPosition(at);
        if (!boundaries.isAtBoundary())
            continue;
        boundaries.setPosition(at + needle.size());
        if (boundaries.isAtBoundary())
            return true;
    }
    return false;
}

CustomFilter CustomFilter::fromJson(const QJsonObject &object)
{
    CustomFilter f;
    if (auto id = json::find(object, "id"_L1))
        f.id = json::toUuid(*id, "id"_L1);
    f.enabled = json::boolean(object, "enabled"_L1, true);
    f.pattern = json::text(object, "pattern"_L1, QString());
    f.collection = json::text(object, "collection"_L1, QString());
    return f;
}

QJsonObject CustomFilter::toJson() const
{
    return QJsonObject{{QStringLiteral("id"), json::fromUuid(id)},
                       {QStringLiteral("enabled"), enabled},
                       {QStringLiteral("pattern"), pattern},
                       {QStringLiteral("collection"), collection}};
}

} // namespace quorvane
