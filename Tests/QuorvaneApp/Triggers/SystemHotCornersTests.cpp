#include "FakePreferenceReader.h"
#include "Triggers/SystemHotCorners.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(SystemHotCorners, NamesTheActionOnACornerThatNeedsNoModifier)
{
    test::FakePreferenceReader dock;
    const QString domain = SystemHotCorners::domain;
    dock.set(domain, "wvous-tl-corner", 2);
    EXPECT_EQ(SystemHotCorners::occupant(dock, FloatingDockCorner::topLeft), "Overview");
    dock.set(domain, "wvous-tl-modifier", 131072);
    EXPECT_FALSE(SystemHotCorners::occupant(dock, FloatingDockCorner::topLeft));
    dock.set(domain, "wvous-tl-modifier", 0);
    EXPECT_EQ(SystemHotCorners::occupant(dock, FloatingDockCorner::topLeft), "Overview");

    dock.set(domain, "wvous-br-corner", 14);
    EXPECT_EQ(SystemHotCorners::occupant(dock, FloatingDockCorner::bottomRight), "Quick Note");
    for (const QVariant &raw : {QVariant(1), QVariant(0), QVariant(8), QVariant(99), QVariant(QStringLiteral("2"))}) {
        dock.set(domain, "wvous-br-corner", raw);
        EXPECT_FALSE(SystemHotCorners::occupant(dock, FloatingDockCorner::bottomRight)) << raw.toString().toStdString();
    }
    EXPECT_FALSE(SystemHotCorners::occupant(dock, FloatingDockCorner::off));
    EXPECT_FALSE(SystemHotCorners::occupant(dock, FloatingDockCorner::bottomLeft)); // nothing stored
}

TEST(SystemHotCorners, TheSessionReaderLeavesEveryCornerFree)
{
    LinuxPreferenceReader session;
    EXPECT_EQ(SystemHotCorners::action(session, FloatingDockCorner::topRight), SystemHotCorners::Action::none);
    EXPECT_FALSE(SystemHotCorners::requiresModifier(session, FloatingDockCorner::topRight));
}
