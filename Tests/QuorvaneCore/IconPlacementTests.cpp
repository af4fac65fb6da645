#include "FakeDesktopSurface.h"
#include "IconPlacementRoutines.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <ostream>
#include <string>

using namespace quorvane;
using quorvane::test::FakeDesktopSurface;

namespace {

const IconPositions wanted{{"a", {10, 20}}, {"b", {-30, 40}}};

struct Recorder {
    std::vector<double> sleeps;
    Sleeper sleeper()
    {
        return [this](double s) { sleeps.push_back(s); };
    }
};

// "b" lands on its n-th write (0: never); "a" always lands.
void landBOnAttempt(FakeDesktopSurface &surface, int attempt)
{
    auto count = std::make_shared<int>(0);
    surface.accepts = [count, attempt](const QString &name) {
        if (name != "b")
            return true;
        return ++*count == attempt;
    };
}

std::vector<QStringList> keysOf(const std::vector<IconPositions> &writes)
{
    std::vector<QStringList> keys;
    for (const auto &w : writes) {
        QStringList k;
        for (const auto &e : w)
            k << e.first;
        keys.push_back(k);
    }
    return keys;
}

// A test name from a case's description: its letters and digits, words capitalised.
template <typename Case>
std::string caseName(const testing::TestParamInfo<Case> &info)
{
    std::string name;
    bool upper = true;
    for (const char *p = info.param.what; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) {
            name += upper ? char(std::toupper(static_cast<unsigned char>(*p))) : *p;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

struct SettleCase {
    const char *what;
    int bLandsOn;
    bool readsFail;
    bool writesFail;
    int reads;
    std::vector<QStringList> writes;
    std::vector<double> sleeps;
};

void PrintTo(const SettleCase &c, std::ostream *os)
{
    *os << c.what;
}

class SettleTest : public testing::TestWithParam<SettleCase> {};

TEST_P(SettleTest, ReadsWritesAndSleepsAsTheCaseNeeds)
{
    const SettleCase &c = GetParam();
    FakeDesktopSurface surface;
    landBOnAttempt(surface, c.bLandsOn);
    surface.readsFail = c.readsFail;
    surface.writesFail = c.writesFail;
    Recorder recorder;
    placeSettling(surface, wanted, recorder.sleeper());
    EXPECT_EQ(surface.readCalls, c.reads) << c.what;
    EXPECT_EQ(keysOf(surface.written), c.writes) << c.what;
    EXPECT_EQ(recorder.sleeps, c.sleeps) << c.what;
    for (const auto &names : surface.readNames)
        EXPECT_EQ(names, (QStringList{"a", "b"})) << c.what;
}

const QStringList both{"a", "b"};
const QStringList onlyB{"b"};

INSTANTIATE_TEST_SUITE_P(
    Placement, SettleTest,
    testing::Values(SettleCase{"in place after the first write", 1, false, false, 1, {both}, {}},
                    SettleCase{"second write lands, first re-write is immediate", 2, false, false, 2, {both, onlyB}, {}},
                    SettleCase{"third write lands after one pause", 3, false, false, 3, {both, onlyB, onlyB}, {0.05}},
                    SettleCase{"fourth write lands, no read follows it", 4, false, false, 3, {both, onlyB, onlyB, onlyB}, {0.05, 0.05}},
                    SettleCase{"never found", 0, false, false, 3, {both, onlyB, onlyB, onlyB}, {0.05, 0.05}},
                    SettleCase{"failed reads re-write everything", 1, true, false, 3, {both, both, both, both}, {0.05, 0.05}},
                    SettleCase{"failed writes are ignored", 1, false, true, 3, {both, both, both, both}, {0.05, 0.05}}),
    caseName<SettleCase>);

struct BatchCase {
    const char *what;
    std::vector<QStringList> listings;
    bool listingsFail;
    int bLandsOn;
    bool readsFail;
    int lists;
    std::vector<QStringList> writes;
    int sleeps;
};

void PrintTo(const BatchCase &c, std::ostream *os)
{
    *os << c.what;
}

class BatchTest : public testing::TestWithParam<BatchCase> {};

TEST_P(BatchTest, WaitsForTheNamesThenWritesAndCorrectsOnce)
{
    const BatchCase &c = GetParam();
    FakeDesktopSurface surface;
    surface.listings = c.listings;
    surface.listingsFail = c.listingsFail;
    surface.readsFail = c.readsFail;
    landBOnAttempt(surface, c.bLandsOn);
    Recorder recorder;
    placeBatched(surface, wanted, {"a", "b"}, recorder.sleeper());
    EXPECT_EQ(surface.listCalls, c.lists) << c.what;
    EXPECT_EQ(recorder.sleeps, std::vector<double>(std::size_t(c.sleeps), 0.03)) << c.what;
    EXPECT_EQ(surface.readCalls, 1) << c.what;
    EXPECT_EQ(keysOf(surface.written), c.writes) << c.what;
}

const QStringList listedBoth{"a", "b", "other"};

INSTANTIATE_TEST_SUITE_P(
    Placement, BatchTest,
    testing::Values(BatchCase{"names there at once, in place", {listedBoth}, false, 1, false, 1, {both}, 0},
                    BatchCase{"names appear on the third listing", {{"a"}, {"a"}, listedBoth}, false, 1, false, 3, {both}, 2},
                    BatchCase{"a name never appears", {{"a"}}, false, 1, false, 12, {both}, 12},
                    BatchCase{"failed listings count as empty", {listedBoth}, true, 1, false, 12, {both}, 12},
                    BatchCase{"misplaced entry written once more", {listedBoth}, false, 2, false, 1, {both, onlyB}, 0},
                    BatchCase{"never found: one correction only", {listedBoth}, false, 0, false, 1, {both, onlyB}, 0},
                    BatchCase{"failed read corrects everything", {listedBoth}, false, 1, true, 1, {both, both}, 0}),
    caseName<BatchCase>);

TEST(Placement, BatchWaitMatchesCanonicallyEquivalentNames)
{
    FakeDesktopSurface surface;
    surface.listings = {{QString::fromUtf8("Cafe\xCC\x81")}}; // decomposed é on disk
    Recorder recorder;
    placeBatched(surface, {{QString::fromUtf8("Caf\xC3\xA9"), {1, 2}}}, {QString::fromUtf8("Caf\xC3\xA9")},
                 recorder.sleeper());
    EXPECT_EQ(surface.listCalls, 1);
    EXPECT_TRUE(recorder.sleeps.empty());
}

TEST(Placement, ASurfaceThatThrowsEverywhereNeverFailsThePlacement)
{
    FakeDesktopSurface surface;
    surface.readsFail = surface.writesFail = surface.listingsFail = true;
    Recorder recorder;
    EXPECT_NO_THROW(placeSettling(surface, wanted, recorder.sleeper()));
    EXPECT_NO_THROW(placeBatched(surface, wanted, {"a"}, recorder.sleeper()));
}

} // namespace
