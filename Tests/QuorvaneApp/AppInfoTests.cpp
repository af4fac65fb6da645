#include "AppInfo.h"

#include <gtest/gtest.h>

TEST(AppInfo, CarriesAReverseDnsIdentifierAndTheBuildVersion)
{
    const auto info = quorvane::AppInfo::current();
    EXPECT_EQ(info.identifier.count('.'), 2);
    EXPECT_EQ(info.shortVersion, QStringLiteral(QUORVANE_VERSION));
    EXPECT_EQ(info.name, "Quorvane");
}
