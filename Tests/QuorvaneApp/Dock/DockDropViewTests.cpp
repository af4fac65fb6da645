#include "Dock/DockDropView.h"
#include "FakePreferenceReader.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct DockDropViewTest : ::testing::Test {
    test::FakePreferenceReader prefs;
    FloatingDockModel model{prefs};
    DockDropView view{model};
    std::vector<std::pair<QList<QUrl>, QString>> drops;
    QMimeData files;

    void SetUp() override
    {
        model.setSurfaces({{"Work", "", "", true}, {"Play", "", "", false}});
        model.setTileFrame("Work", QRectF(10, 10, 80, 79));
        model.setTileFrame("Play", QRectF(92, 10, 80, 79));
        view.resize(200, 100);
        view.show();
        view.onDrop = [this](const QList<QUrl> &urls, const QString &name) { drops.push_back({urls, name}); };
        files.setUrls({QUrl::fromLocalFile("/home/u/Desktop/a.txt"), QUrl("https://example.org/x"),
                       QUrl::fromLocalFile("/home/u/Desktop/b")});
    }
    bool move(const QPoint &at, const QMimeData *data)
    {
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(&view, &enter);
        QDragMoveEvent event(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(&view, &event);
        return event.isAccepted() && event.dropAction() == Qt::CopyAction;
    }
    bool drop(const QPoint &at, const QMimeData *data)
    {
        move(at, data);
        QDropEvent event(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(&view, &event);
        return event.isAccepted();
    }
};

} // namespace

TEST_F(DockDropViewTest, OnlyATileOtherThanTheActiveOneTakesFiles)
{
    // Over the active tile, then over another: only the other is highlighted and answers copy.
    EXPECT_FALSE(move(QPoint(50, 50), &files));
    EXPECT_FALSE(model.targetedName());
    EXPECT_TRUE(move(QPoint(120, 50), &files));
    EXPECT_EQ(model.targetedName(), "Play");
    EXPECT_FALSE(move(QPoint(91, 50), &files)); // between the tiles
    EXPECT_FALSE(model.targetedName());

    EXPECT_FALSE(drop(QPoint(50, 50), &files));
    EXPECT_TRUE(drops.empty());
    EXPECT_TRUE(drop(QPoint(120, 50), &files));
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0].second, "Play");
    // Local files only, in the drag's order.
    EXPECT_EQ(drops[0].first, (QList<QUrl>{QUrl::fromLocalFile("/home/u/Desktop/a.txt"), QUrl::fromLocalFile("/home/u/Desktop/b")}));
    EXPECT_FALSE(model.targetedName());
}

TEST_F(DockDropViewTest, ADragWithoutLocalFilesIsRefused)
{
    QMimeData text;
    text.setText("Play");
    EXPECT_FALSE(move(QPoint(120, 50), &text));
    QMimeData web;
    web.setUrls({QUrl("https://example.org/x")});
    EXPECT_FALSE(drop(QPoint(120, 50), &web));
    EXPECT_TRUE(drops.empty());

    EXPECT_TRUE(move(QPoint(120, 50), &files));
    QDragLeaveEvent leave;
    QApplication::sendEvent(&view, &leave);
    EXPECT_FALSE(model.targetedName());
}
