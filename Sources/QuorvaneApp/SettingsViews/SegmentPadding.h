#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace quorvane {

// Makes stacked segmented controls come out nearly equally wide by padding their labels with
// hair spaces (U+200A). The width function measures a control showing the given labels.
namespace SegmentPadding {

using WidthFunction = std::function<double(const QStringList &labels)>;

// The natural width of an unshown SegmentedControl of those labels.
double width(const QStringList &labels);
// n hair spaces handed out round-robin: before the first label, after it, before the second…
QStringList spread(int n, const QStringList &labels);
// The padded labels whose width is closest to the target; the search ends at the first
// candidate wider than the target, or after 24 units per label.
QStringList pad(const QStringList &labels, double target, const WidthFunction &width);
// Every group padded towards the widest one; a label of two groups keeps the later entry.
QHash<QString, QString> table(const std::vector<QStringList> &groups, const WidthFunction &width);

} // namespace SegmentPadding

// The Speed, Intensity and menu-bar animation labels.
namespace AppearanceSegmentLabels {
QString padded(const QString &label);
}

// The dock's Size and Material labels.
namespace DockSegmentLabels {
QString padded(const QString &label);
}

} // namespace quorvane
