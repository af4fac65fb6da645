#include "Triggers/ScrollCycleHUD.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(ScrollCycleHUD, NeighboursWrapOnlyWhenAskedAndTheRingHasTwoNames)
{
    using L = ScrollCycleHUD::Labels;
    const QStringList abc{"A", "B", "C"};
    struct Case {
        QStringList ring;
        int index;
        bool wraps;
        std::optional<L> labels;
    } cases[] = {
        {abc, 1, false, L{"A", "B", "C"}},
        {abc, 0, false, L{"", "A", "B"}},
        {abc, 2, false, L{"B", "C", ""}},
        {abc, 0, true, L{"C", "A", "B"}},
        {abc, 2, true, L{"B", "C", "A"}},
        {{"A", "B"}, 0, true, L{"B", "A", "B"}},
        {{"A"}, 0, true, L{"", "A", ""}},
        {abc, 3, true, std::nullopt},
        {abc, -1, true, std::nullopt},
        {{}, 0, true, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ScrollCycleHUD::labelsFor(c.ring, c.index, c.wraps), c.labels) << c.ring.join(',').toStdString() << c.index;

    ScrollCycleHUD hud;
    hud.show(abc, 1, true, 1);
    hud.show(abc, 5, true, 1); // outside the ring: nothing changes
    EXPECT_EQ(hud.labels(), (L{"A", "B", "C"}));
}
