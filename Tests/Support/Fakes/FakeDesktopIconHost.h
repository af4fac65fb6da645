#pragma once

#include "DesktopHosts/DesktopIconHost.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace quorvane::test {

// A desktop host whose store is a map; records every write. failText makes every read and
// write throw IconStoreError.
class FakeDesktopIconHost : public DesktopIconHost {
public:
    struct Write {
        IconPositions set;
        QStringList forget;
        bool reload = false;
    };

    QString hostName = QStringLiteral("fake");
    Pickup hostPickup = Pickup::onArrival;
    IconPositions store;
    std::vector<Write> writes;
    std::optional<QString> failText;
    int reads = 0;
    // Runs inside each read, on the reader's thread (a host that takes its time to answer).
    std::function<void()> duringRead;

    QString name() const override { return hostName; }
    Pickup pickup() const override { return hostPickup; }
    IconPositions read(const QStringList &names) override
    {
        ++reads;
        if (duringRead)
            duringRead();
        fail();
        IconPositions out;
        for (const QString &name : names) {
            if (const auto it = store.find(name); it != store.end())
                out.insert(*it);
        }
        return out;
    }
    bool write(const IconPositions &set, const QStringList &forget) override { return apply(set, forget, false); }
    bool writeAndReload(const IconPositions &set, const QStringList &forget) override { return apply(set, forget, true); }

private:
    void fail() const
    {
        if (failText)
            throw IconStoreError(*failText);
    }
    bool apply(const IconPositions &set, const QStringList &forget, bool reload)
    {
        fail();
        writes.push_back({set, forget, reload});
        const IconPositions before = store;
        for (const QString &name : forget)
            store.erase(name);
        for (const auto &[name, position] : set)
            store.insert_or_assign(name, position);
        return store != before;
    }
};

} // namespace quorvane::test
