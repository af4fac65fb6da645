#include "Session/GSettingsAccess.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace quorvane;

// GIO is opened when first asked for, and answers the same each time after.
TEST(GioLibrary, OpenedWhenFirstAskedAnswersForTheInstalledSchemas)
{
    for (int round = 0; round < 2; ++round)
        EXPECT_FALSE(GSettingsToolAccess::schemaInstalled(QStringLiteral("app.quorvane.no-such-schema")));
    if (!QFileInfo::exists(QStringLiteral("/usr/share/glib-2.0/schemas/org.gnome.desktop.interface.gschema.xml")))
        GTEST_SKIP() << "no desktop schemas installed";
    for (int round = 0; round < 2; ++round)
        EXPECT_TRUE(GSettingsToolAccess::schemaInstalled(QStringLiteral("org.gnome.desktop.interface")));
}
