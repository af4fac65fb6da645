#pragma once

#include "DesktopSurface.h"

#include <QStringList>

#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

namespace quorvane::test {

// An in-memory surface for the position operations: it records every call, answers reads
// from `finder` (what the file manager shows) and lets writes land only for names it accepts.
class FakeDesktopSurface : public DesktopSurface {
public:
    // What a read returns: name → position, for names the file manager knows.
    IconPositions finder;
    // Whether a write of that name lands (the file manager knows the item).
    std::function<bool(const QString &)> accepts = [](const QString &) { return true; };
    bool readsFail = false;
    bool writesFail = false;
    // Listings of the Desktop, one per call; the last one repeats.
    std::vector<QStringList> listings;
    bool listingsFail = false;

    int readCalls = 0;
    int writeCalls = 0;
    int listCalls = 0;
    std::vector<IconPositions> written;
    std::vector<QStringList> readNames;

    bool sameVolume() override { return true; }

    QStringList items(const Location &) override
    {
        ++listCalls;
        if (listingsFail)
            throw std::runtime_error("listing failed");
        if (listings.empty())
            return {};
        const std::size_t i = std::min<std::size_t>(std::size_t(listCalls - 1), listings.size() - 1);
        return listings[i];
    }

    void move(const QString &, const Location &, const Location &) override {}

    std::optional<IconPosition> readPosition(const QString &name) override
    {
        const auto found = finder.find(name);
        return found == finder.end() ? std::nullopt : std::optional<IconPosition>(found->second);
    }

    IconPositions readPositions(const QStringList &names) override
    {
        ++readCalls;
        readNames.push_back(names);
        if (readsFail)
            throw std::runtime_error("read failed");
        return DesktopSurface::readPositions(names);
    }

    void writePosition(const IconPosition &position, const QString &name) override
    {
        if (accepts(name))
            finder.insert_or_assign(name, position);
    }

    void writePositions(const IconPositions &positions) override
    {
        ++writeCalls;
        written.push_back(positions);
        if (writesFail)
            throw std::runtime_error("write failed");
        DesktopSurface::writePositions(positions);
    }
};

} // namespace quorvane::test
