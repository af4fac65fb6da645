#pragma once

#include "DesktopSurface.h"
#include "SurfaceError.h"

#include <QSet>

#include <QStringList>

#include <algorithm>
#include <cerrno>
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

// The position fake with folders: the Desktop and each desktop folder hold names in memory,
// moves never replace and are recorded, as are layout-file carries. Reads and writes of
// positions are those of FakeDesktopSurface.
class FakeFolderSurface : public FakeDesktopSurface {
public:
    QStringList desktop;
    std::map<QString, QStringList> desks;
    bool volumesMatch = true;
    // Moves of these names fail with failingCode (the item stays).
    QSet<QString> failingMoves;
    int failingCode = EEXIST;
    // Shared with a store to see the order of saves and moves.
    std::vector<QString> *log = nullptr;
    std::vector<QString> moves;
    std::vector<QString> carries;
    std::vector<QString> listed; // the folders listed, in order

    static QString describe(const Location &at) { return at.isDesktop() ? QStringLiteral("Desktop") : at.name(); }

    QStringList &folder(const Location &at) { return at.isDesktop() ? desktop : desks[at.name()]; }

    bool sameVolume() override { return volumesMatch; }

    QStringList items(const Location &at) override
    {
        ++listCalls;
        listed.push_back(describe(at));
        if (!at.isSafe())
            return {};
        QStringList names = folder(at);
        std::sort(names.begin(), names.end());
        return names;
    }

    void move(const QString &name, const Location &from, const Location &to) override
    {
        if (!Location::isSafeName(name) || !from.isSafe() || !to.isSafe())
            throw SurfaceError(EINVAL, QStringLiteral("unsafe name"));
        QStringList &source = folder(from);
        QStringList &destination = folder(to);
        if (!source.contains(name))
            throw SurfaceError(ENOENT, QStringLiteral("no such item: ") + name);
        if (failingMoves.contains(name))
            throw SurfaceError(failingCode, QStringLiteral("cannot move ") + name);
        if (destination.contains(name))
            throw SurfaceError(EEXIST, QStringLiteral("cannot move ") + name);
        source.removeOne(name);
        destination.append(name);
        const QString entry = QStringLiteral("move %1 %2>%3").arg(name, describe(from), describe(to));
        moves.push_back(entry);
        if (log)
            log->push_back(entry);
    }

    void carryPositions(const Location &from, const Location &to, const QStringList &names) override
    {
        QString entry = QStringLiteral("carry %1>%2").arg(describe(from), describe(to));
        if (!names.isEmpty())
            entry += QLatin1Char(' ') + names.join(QLatin1Char(','));
        carries.push_back(entry);
        if (log)
            log->push_back(entry);
    }
    void finishCarry() override
    {
        carries.push_back(QStringLiteral("finish"));
        if (log)
            log->push_back(QStringLiteral("finish carry"));
    }

    IconPositions readPositions(const QStringList &names) override
    {
        if (log)
            log->push_back(QStringLiteral("read ") + names.join(','));
        return FakeDesktopSurface::readPositions(names);
    }
};

} // namespace quorvane::test
