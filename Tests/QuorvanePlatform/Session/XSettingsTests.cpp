#include "Session/XSettings.h"
#include "Windows/DesktopPortal.h"

#include "TestEnvironment.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// An _XSETTINGS_SETTINGS property in the byte order asked for: an integer, a colour, then the
// strings given.
QByteArray property(bool bigEndian, const std::vector<std::pair<QByteArray, QByteArray>> &strings)
{
    QByteArray data;
    const auto card16 = [&](quint16 v) {
        uchar b[2];
        bigEndian ? qToBigEndian(v, b) : qToLittleEndian(v, b);
        data.append(reinterpret_cast<const char *>(b), 2);
    };
    const auto card32 = [&](quint32 v) {
        uchar b[4];
        bigEndian ? qToBigEndian(v, b) : qToLittleEndian(v, b);
        data.append(reinterpret_cast<const char *>(b), 4);
    };
    const auto padded = [&](const QByteArray &bytes) {
        data.append(bytes);
        data.append(QByteArray((4 - bytes.size() % 4) % 4, '\0'));
    };
    const auto head = [&](int type, const QByteArray &name) {
        data.append(char(type));
        data.append('\0');
        card16(quint16(name.size()));
        padded(name);
        card32(7);
    };
    data.append(char(bigEndian ? 1 : 0));
    data.append(QByteArray(3, '\0'));
    card32(1);
    card32(quint32(2 + strings.size()));
    head(0, "Net/DoubleClickTime");
    card32(400);
    head(2, "Gtk/Colour");
    for (int i = 0; i < 4; ++i)
        card16(0xffff);
    for (const auto &[name, value] : strings) {
        head(1, name);
        card32(quint32(value.size()));
        padded(value);
    }
    return data;
}

} // namespace

TEST(XSettings, TheThemeIsReadInEitherByteOrderPastOtherSettings)
{
    for (bool big : {false, true}) {
        const QByteArray data = property(big, {{"Net/IconThemeName", "Adwaita"}, {"Net/ThemeName", "Adwaita-dark"}});
        EXPECT_EQ(xsettings::stringSetting(data, "Net/ThemeName"), QStringLiteral("Adwaita-dark"));
        EXPECT_EQ(xsettings::stringSetting(data, "Net/IconThemeName"), QStringLiteral("Adwaita"));
        EXPECT_EQ(xsettings::stringSetting(data, "Net/CursorThemeName"), std::nullopt);
        // Cut anywhere, the data gives no theme and is never read past its end.
        for (qsizetype cut = 0; cut < data.size(); cut += 3)
            EXPECT_EQ(xsettings::stringSetting(data.left(cut), "Net/ThemeName"), std::nullopt) << cut;
    }
    QByteArray lying = property(false, {{"Net/ThemeName", "Adwaita"}});
    lying[lying.size() - 12] = '\x7f'; // a string length far past the end
    EXPECT_EQ(xsettings::stringSetting(lying, "Net/ThemeName"), std::nullopt);
}

TEST(DesktopPortal, AFileChooserNeedsThePortalServiceAndABackendOfferingIt)
{
    test::TempHome home;
    const QString data = home.path() + "/data";
    EXPECT_FALSE(fileChooserPortalInstalled({data}));
    test::writeFile(data + "/dbus-1/services/org.freedesktop.portal.Desktop.service", "[D-BUS Service]\n");
    test::writeFile(data + "/xdg-desktop-portal/portals/shot.portal",
                    "[portal]\nInterfaces=org.freedesktop.impl.portal.Screenshot;\n");
    EXPECT_FALSE(fileChooserPortalInstalled({data}));
    // Only a name ending in ".portal" is a backend's file.
    const QByteArray chooser = "[portal]\nInterfaces=org.freedesktop.impl.portal.FileChooser;\n";
    test::writeFile(data + "/xdg-desktop-portal/portals/kept.portal.bak", chooser);
    test::writeFile(data + "/xdg-desktop-portal/portals/upper.PORTAL", chooser);
    EXPECT_FALSE(fileChooserPortalInstalled({data}));
    // The backend may lie in another data folder than the service.
    const QString other = home.path() + "/other";
    test::writeFile(other + "/xdg-desktop-portal/portals/gtk.portal",
                    "[portal]\nDBusName=org.freedesktop.impl.portal.desktop.gtk\n"
                    "Interfaces=org.freedesktop.impl.portal.Screenshot; org.freedesktop.impl.portal.FileChooser;\n");
    EXPECT_TRUE(fileChooserPortalInstalled({data, other}));
    EXPECT_FALSE(fileChooserPortalInstalled({other}));
}

TEST(DesktopPortal, GtkDesktopsAreNamedInAnyCaseAmongOthers)
{
    for (const char *desktop : {"GNOME", "XFCE", "ubuntu:GNOME", "Budgie:GNOME", "X-Cinnamon", "MATE", "LXDE", "Unity"})
        EXPECT_TRUE(gtkDesktop(QString::fromLatin1(desktop))) << desktop;
    for (const char *desktop : {"", "KDE", "LXQt", "sway", "Hyprland", "XFCE4"})
        EXPECT_FALSE(gtkDesktop(QString::fromLatin1(desktop))) << desktop;
}
