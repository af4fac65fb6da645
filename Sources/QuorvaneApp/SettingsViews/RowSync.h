#pragma once

#include <QLayout>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace quorvane {

// Brings the rows of box (a column of rows only) to the given items in that order, each row
// known by its item's name: a row of a name already shown is kept when update(row, item)
// answers true, a new name (or a row that cannot show its item) gets a new row from make, and
// a name gone takes its row along. Only the first limit items are shown.
template <typename Row, typename Item, typename Make, typename Update>
void syncRows(QWidget *box, std::vector<std::pair<QString, Row *>> &rows, const std::vector<Item> &items,
              std::size_t limit, const std::function<QString(const Item &)> &nameOf, Make make, Update update)
{
    std::vector<std::pair<QString, Row *>> next;
    const std::size_t shown = std::min(limit, items.size());
    next.reserve(shown);
    for (std::size_t i = 0; i < shown; ++i) {
        const Item &item = items[i];
        const QString name = nameOf(item);
        auto kept = std::find_if(rows.begin(), rows.end(), [&](const auto &entry) { return entry.first == name; });
        if (kept != rows.end() && update(kept->second, item)) {
            next.emplace_back(name, kept->second);
            rows.erase(kept);
        } else {
            next.emplace_back(name, make(item));
        }
    }
    auto *column = static_cast<QVBoxLayout *>(box->layout());
    for (auto &[name, row] : rows) {
        column->removeWidget(row);
        row->hide();
        row->deleteLater();
    }
    // The rows already in their places stay; only those after the first change are placed again.
    std::size_t same = 0;
    while (same < next.size() && int(same) < column->count() && column->itemAt(int(same))->widget() == next[same].second)
        ++same;
    if (same < next.size() || int(same) < column->count()) {
        for (std::size_t i = same; i < next.size(); ++i)
            column->removeWidget(next[i].second);
        for (std::size_t i = same; i < next.size(); ++i)
            column->addWidget(next[i].second);
    }
    rows = std::move(next);
}

template <typename Row>
Row *rowNamed(const std::vector<std::pair<QString, Row *>> &rows, const QString &name)
{
    for (const auto &[shown, row] : rows) {
        if (shown == name)
            return row;
    }
    return nullptr;
}

// A column of rows without margins, 2 apart.
inline QWidget *rowsBox(QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    return box;
}

} // namespace quorvane
