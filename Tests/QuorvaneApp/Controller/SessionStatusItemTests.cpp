#include "Controller/MenuBarIconAnimator.h"
#include "Controller/SessionStatusItem.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvane;

// The named icon is offered only from an installed layout that holds it, and only to status
// areas that draw symbolic icons in their own colours; it is the glyph at rest.
TEST(SessionStatusItem, TheNamedIconComesFromTheInstalledThemeFolderAndShowsTheGlyphAtRest)
{
    const QString shipped = QStringLiteral(QUORVANE_SOURCE_DIR "/Resources/StatusIcon/") + statusIconName + ".svg";
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin") && QDir(prefix.path()).mkpath("share/quorvane/icons/hicolor/scalable/status"));
    const QString executable = prefix.filePath("bin/quorvane");
    EXPECT_EQ(statusIconThemePath(executable), "");
    EXPECT_EQ(statusIconThemePath(""), "");
    ASSERT_TRUE(QFile::copy(shipped, prefix.filePath("share/quorvane/icons/hicolor/scalable/status/") + statusIconName + ".svg"));
    EXPECT_EQ(statusIconThemePath(executable), QDir::cleanPath(prefix.filePath("share/quorvane/icons")));

    // Plasma draws a named symbolic icon as drawn: it gets pictures shaded from its panel.
    EXPECT_FALSE(statusAreaRecoloursSymbolicIcons("KDE"));
    EXPECT_TRUE(statusAreaRecoloursSymbolicIcons("ubuntu:GNOME"));
    EXPECT_FALSE(statusAreaRecoloursSymbolicIcons("XFCE"));
    EXPECT_FALSE(statusAreaRecoloursSymbolicIcons(""));

    // The shipped icon covers the same pixels as the glyph drawn at rest.
    QSvgRenderer svg(shipped);
    ASSERT_TRUE(svg.isValid());
    QImage drawn(44, 44, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();
    const QImage rest = MenuBarIconAnimator::trayImage(MenuBarIconAnimator::restWidths, MenuBarIconAnimator::restRadii)
                            .scaled(44, 44)
                            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int differing = 0;
    for (int y = 0; y < 44; ++y)
        for (int x = 0; x < 44; ++x)
            differing += (qAlpha(drawn.pixel(x, y)) > 128) != (qAlpha(rest.pixel(x, y)) > 128);
    EXPECT_LT(differing, 44 * 2) << differing << " pixels differ";
}
