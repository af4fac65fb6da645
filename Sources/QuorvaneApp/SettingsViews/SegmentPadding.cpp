#include "SettingsViews/SegmentPadding.h"

#include "SettingsViews/SegmentedControl.h"

#include <cmath>

namespace quorvane {

namespace SegmentPadding {

double width(const QStringList &labels)
{
    SegmentedControl control;
    for (int i = 0; i < labels.size(); ++i)
        control.addSegment(labels[i], i);
    control.setCurrent(0);
    return control.sizeHint().width();
}

QStringList spread(int n, const QStringList &labels)
{
    const qsizetype c = labels.size();
    if (c == 0 || n <= 0)
        return labels;
    std::vector<int> counters(std::size_t(2 * c), 0);
    for (int i = 0; i < n; ++i)
        ++counters[std::size_t(i % (2 * c))];
    QStringList padded;
    for (qsizetype k = 0; k < c; ++k)
        padded << QString(counters[std::size_t(2 * k)], QChar(0x200A)) + labels[k]
                + QString(counters[std::size_t(2 * k + 1)], QChar(0x200A));
    return padded;
}

QStringList pad(const QStringList &labels, double target, const WidthFunction &width)
{
    QStringList best = labels;
    double bestDistance = std::abs(width(labels) - target);
    const int limit = 24 * int(labels.size());
    for (int n = 1; n <= limit; ++n) {
        const QStringList candidate = spread(n, labels);
        const double w = width(candidate);
        const double d = std::abs(w - target);
        if (d < bestDistance) {
            best = candidate;
            bestDistance = d;
        }
        if (w > target)
            break;
    }
    return best;
}

QHash<QString, QString> table(const std::vector<QStringList> &groups, const WidthFunction &width)
{
    double target = 0;
    for (const QStringList &group : groups)
        target = std::max(target, width(group));
    QHash<QString, QString> result;
    for (const QStringList &group : groups) {
        const QStringList padded = pad(group, target, width);
        for (qsizetype i = 0; i < group.size(); ++i)
            result.insert(group[i], padded[i]);
    }
    return result;
}

} // namespace SegmentPadding

namespace {

QString lookUp(const QHash<QString, QString> &table, const QString &label) { return table.value(label, label); }

} // namespace

QString AppearanceSegmentLabels::padded(const QString &label)
{
    static const QHash<QString, QString> table = SegmentPadding::table(
        {{"Slow", "Normal", "Fast"}, {"Subtle", "Medium", "Strong"}, {"Still", "Nudge", "Mirror"}},
        SegmentPadding::width);
    return lookUp(table, label);
}

QString DockSegmentLabels::padded(const QString &label)
{
    static const QHash<QString, QString> table = SegmentPadding::table(
        {{"System", "Small", "Medium", "Big"}, {"Solid", "Glass", "Clear glass"}}, SegmentPadding::width);
    return lookUp(table, label);
}

} // namespace quorvane
