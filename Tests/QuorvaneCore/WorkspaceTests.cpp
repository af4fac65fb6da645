#include "DecodeError.h"
#include "DesktopPalette.h"
#include "TestEnvironment.h"
#include "Workspace.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::parse;

namespace {

constexpr double day = 86400.0;

} // namespace

TEST(Workspace, MinimalRecordTakesTheDefaults)
{
    const Workspace w = Workspace::fromJson(parse(R"({"name":"Default"})"));
    EXPECT_EQ(w.name, "Default");
    EXPECT_EQ(w.id(), "Default");
    EXPECT_TRUE(w.files.isEmpty());
    EXPECT_TRUE(w.positions.isEmpty());
    EXPECT_EQ(w.type, WorkspaceType::permanent);
    EXPECT_EQ(w.state, WorkspaceState::active);
    EXPECT_FALSE(w.hotkey || w.archivedAt || w.archiveLocation || w.timer || w.drainTarget || w.createdAt
                 || w.lastActiveAt || w.cue || w.spaceUUID);
    EXPECT_FALSE(w.timerDrains);
    EXPECT_TRUE(w.createsCleanupTask);
    EXPECT_EQ(w.clearMode, ClearMode::keep);
    EXPECT_EQ(w.colorHex, "#FFD60A");
    EXPECT_EQ(w.preferredAppearance, AppearanceMode::system);
    EXPECT_EQ(w, Workspace::make("Default"));
}

TEST(Workspace, DecodesAFullRecordOfTheOriginalDesign)
{
    const Workspace w = Workspace::fromJson(parse(R"({
        "name":"Projects","files":["a.pdf","Shot 1.png"],
        "positions":{"a.pdf":{"x":120,"y":-40},"Shot 1.png":{"x":0,"y":900}},
        "type":"temporary","hotkey":{"keyCode":18,"modifiers":1179648},"state":"archivedUnsorted",
        "archivedAt":760000000.25,"archiveLocation":"/home/u/Archive/Projects",
        "timer":{"mode":"fixed","days":7},"drainTarget":"Default","timerDrains":true,"clearMode":"archive",
        "createdAt":759000000,"lastActiveAt":759500000.5,
        "cue":{"enabled":true,"fill":{"color":{"_0":"#112233"}},"opacity":0.4,"aboveIcons":false,"aboveMenuBar":true},
        "colorHex":"#64D2FF","createsCleanupTask":false,"spaceUUID":"5B6E1C7A-0000-4000-8000-000000000001",
        "preferredAppearance":"dark","someFutureKey":[1,2]})"));
    EXPECT_EQ(w.files, (QStringList{"a.pdf", "Shot 1.png"}));
    EXPECT_EQ(w.positions.value("a.pdf"), (IconPosition{120, -40}));
    EXPECT_EQ(w.positions.value("Shot 1.png"), (IconPosition{0, 900}));
    EXPECT_EQ(w.type, WorkspaceType::temporary);
    EXPECT_EQ(w.hotkey, (HotKeySpec{18, HotKeySpec::command | HotKeySpec::shift}));
    EXPECT_EQ(w.state, WorkspaceState::archivedUnsorted);
    EXPECT_EQ(w.archivedAt, 760000000.25);
    EXPECT_EQ(w.archiveLocation, "/home/u/Archive/Projects");
    EXPECT_EQ(w.timer, (ArchiveTimer{ArchiveTimerMode::fixed, 7}));
    EXPECT_EQ(w.drainTarget, "Default");
    EXPECT_TRUE(w.timerDrains);
    // Stored explicitly: not derived from the drain target.
    EXPECT_EQ(w.clearMode, ClearMode::archive);
    EXPECT_EQ(w.createdAt, 759000000.0);
    EXPECT_EQ(w.lastActiveAt, 759500000.5);
    EXPECT_EQ(w.cue, DesktopCue(true, DesktopCue::Fill::color("#112233"), 0.4, false, true));
    EXPECT_EQ(w.colorHex, "#64D2FF");
    EXPECT_EQ(w.effectiveColorHex(), "#64D2FF");
    EXPECT_FALSE(w.createsCleanupTask);
    EXPECT_EQ(w.spaceUUID, "5B6E1C7A-0000-4000-8000-000000000001");
    EXPECT_EQ(w.preferredAppearance, AppearanceMode::dark);

    EXPECT_EQ(Workspace::fromJson(w.toJson()), w);
}

TEST(Workspace, ClearModeIsDerivedWhenAbsent)
{
    struct Case {
        const char *json;
        ClearMode expected;
    };
    const Case cases[] = {
        {R"({"name":"a","drainTarget":"b","timer":{"mode":"idle","days":3}})", ClearMode::move},
        {R"({"name":"a","drainTarget":"b"})", ClearMode::move},
        {R"({"name":"a","timer":{"mode":"idle","days":3}})", ClearMode::archive},
        {R"({"name":"a","timer":{"mode":"fixed","days":0}})", ClearMode::archive},
        {R"({"name":"a","timer":{"mode":"none","days":3}})", ClearMode::keep},
        {R"({"name":"a"})", ClearMode::keep},
        {R"({"name":"a","drainTarget":null,"clearMode":null})", ClearMode::keep},
        {R"({"name":"a","drainTarget":"b","clearMode":"keep"})", ClearMode::keep},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Workspace::fromJson(parse(c.json)).clearMode, c.expected) << c.json;
}

TEST(Workspace, MissingColourIsThePaletteColourAndIsWrittenBack)
{
    const QJsonObject stored = parse(R"({"name":"Screenshots"})");
    const Workspace first = Workspace::fromJson(stored);
    EXPECT_EQ(first.colorHex, DesktopPalette::colorFor("Screenshots"));
    EXPECT_EQ(Workspace::fromJson(stored).colorHex, first.colorHex);
    const QJsonObject saved = first.toJson();
    EXPECT_EQ(saved.value("colorHex").toString(), first.colorHex);
    EXPECT_EQ(saved.value("clearMode").toString(), "keep");
}

TEST(Workspace, WritesOptionalKeysOnlyWhenSet)
{
    Workspace w = Workspace::make("Plain", QStringLiteral("#0A84FF"));
    EXPECT_EQ(w.colorHex, "#0A84FF");
    const QJsonObject written = w.toJson();
    EXPECT_EQ(written, parse(R"({"name":"Plain","files":[],"positions":{},"type":"permanent","state":"active",
        "timerDrains":false,"clearMode":"keep","colorHex":"#0A84FF","createsCleanupTask":true,
        "preferredAppearance":"system"})"));

    w.positions.insert("x.txt", IconPosition{1, 2});
    w.archivedAt = 0.0; // a date of zero is still a date
    EXPECT_EQ(w.toJson().value("positions").toObject(), parse(R"({"x.txt":{"x":1,"y":2}})"));
    EXPECT_EQ(w.toJson().value("archivedAt").toDouble(-1), 0.0);
    EXPECT_EQ(Workspace::fromJson(w.toJson()), w);
}

TEST(Workspace, MalformedRecordsFail)
{
    const char *bad[] = {
        R"({})",
        R"({"name":null})",
        R"({"name":7})",
        R"({"name":"a","type":"Temporary"})",
        R"({"name":"a","state":"archived"})",
        R"({"name":"a","clearMode":"drain"})",
        R"({"name":"a","preferredAppearance":"night"})",
        R"({"name":"a","files":"a.pdf"})",
        R"({"name":"a","files":["a",1]})",
        R"({"name":"a","positions":[]})",
        R"({"name":"a","positions":{"a":{"x":1}}})",
        R"({"name":"a","positions":{"a":{"x":1.5,"y":2}}})",
        R"({"name":"a","hotkey":{"keyCode":1}})",
        R"({"name":"a","timer":{"mode":"idle"}})",
        R"({"name":"a","timer":{"mode":"weekly","days":1}})",
        R"({"name":"a","archivedAt":"2024-01-01"})",
        R"({"name":"a","spaceUUID":5})",
        R"({"name":"a","timerDrains":"no"})",
        R"({"name":"a","cue":{"enabled":1}})",
    };
    for (const char *json : bad)
        EXPECT_THROW(Workspace::fromJson(parse(json)), DecodeError) << json;
}

TEST(Workspace, ArchiveDueAtTheReferenceDatePlusWholeDays)
{
    Workspace w = Workspace::make("Temp");
    w.type = WorkspaceType::temporary;
    w.createdAt = 1000.0;
    w.lastActiveAt = 5000.0;

    w.timer = ArchiveTimer{ArchiveTimerMode::idle, 2};
    EXPECT_FALSE(w.archiveDue(5000.0 + 2 * day - 1));
    EXPECT_TRUE(w.archiveDue(5000.0 + 2 * day));

    w.timer = ArchiveTimer{ArchiveTimerMode::fixed, 2};
    EXPECT_FALSE(w.archiveDue(1000.0 + 2 * day - 1));
    EXPECT_TRUE(w.archiveDue(1000.0 + 2 * day));

    // Idle without a last activation counts from creation.
    w.lastActiveAt.reset();
    w.timer = ArchiveTimer{ArchiveTimerMode::idle, 2};
    EXPECT_TRUE(w.archiveDue(1000.0 + 2 * day));
    EXPECT_FALSE(w.archiveDue(1000.0 + 2 * day - 1));

    // Zero days: due as soon as the reference date is reached.
    w.timer = ArchiveTimer{ArchiveTimerMode::idle, 0};
    EXPECT_FALSE(w.archiveDue(999.0));
    EXPECT_TRUE(w.archiveDue(1000.0));

    // A huge day count does not wrap around into the past.
    w.timer = ArchiveTimer{ArchiveTimerMode::fixed, std::numeric_limits<std::int64_t>::max()};
    EXPECT_FALSE(w.archiveDue(1e12));
}

TEST(Workspace, ArchiveNeverDueWithoutALiveTemporaryTimedDesktopAndADate)
{
    Workspace base = Workspace::make("Temp");
    base.type = WorkspaceType::temporary;
    base.createdAt = 0.0;
    base.timer = ArchiveTimer{ArchiveTimerMode::fixed, 1};
    const Date later = 100 * day;
    ASSERT_TRUE(base.archiveDue(later));

    Workspace permanent = base;
    permanent.type = WorkspaceType::permanent;
    Workspace unsorted = base;
    unsorted.state = WorkspaceState::archivedUnsorted;
    Workspace sorted = base;
    sorted.state = WorkspaceState::archivedSorted;
    Workspace noTimer = base;
    noTimer.timer.reset();
    Workspace modeNone = base;
    modeNone.timer = ArchiveTimer{ArchiveTimerMode::none, 0};
    Workspace noDates = base;
    noDates.createdAt.reset();
    noDates.timer = ArchiveTimer{ArchiveTimerMode::idle, 1};
    Workspace fixedWithOnlyActivation = noDates;
    fixedWithOnlyActivation.lastActiveAt = 0.0;
    fixedWithOnlyActivation.timer = ArchiveTimer{ArchiveTimerMode::fixed, 1};

    for (const Workspace *w : {&permanent, &unsorted, &sorted, &noTimer, &modeNone, &noDates, &fixedWithOnlyActivation})
        EXPECT_FALSE(w->archiveDue(later));
}

TEST(Workspace, EqualityComparesEveryField)
{
    const Workspace base = Workspace::make("A");
    auto differs = [&](auto change) {
        Workspace w = base;
        change(w);
        return w != base;
    };
    EXPECT_TRUE(differs([](Workspace &w) { w.files = {"x"}; }));
    EXPECT_TRUE(differs([](Workspace &w) { w.positions.insert("x", {}); }));
    EXPECT_TRUE(differs([](Workspace &w) { w.hotkey = HotKeySpec{}; }));
    EXPECT_TRUE(differs([](Workspace &w) { w.clearMode = ClearMode::move; }));
    EXPECT_TRUE(differs([](Workspace &w) { w.cue = DesktopCue(); }));
    EXPECT_TRUE(differs([](Workspace &w) { w.colorHex = "#000000"; }));
    EXPECT_TRUE(differs([](Workspace &w) { w.preferredAppearance = AppearanceMode::light; }));
    EXPECT_FALSE(differs([](Workspace &) {}));
}

TEST(Workspace, EmptyStoredColourShowsThePaletteColour)
{
    Workspace w;
    w.name = "Default";
    EXPECT_EQ(w.effectiveColorHex(), "#FFD60A");
}
