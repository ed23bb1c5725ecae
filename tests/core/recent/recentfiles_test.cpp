#include "recent/recentfiles.h"
#include "settings/workspace.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct ListCase
{
    const char *rule;
    QStringList start; // newest first
    QString added;
    QStringList expected;
};

QStringList numbered(int from, int to)
{
    QStringList paths;
    for (int i = from; i <= to; ++i)
        paths << QStringLiteral("/posts/%1.txt").arg(i);
    return paths;
}

TEST(RecentFiles, AddFollowsItsRules)
{
    const ListCase cases[] = {
        {"a first file is the list", {}, QStringLiteral("/posts/a.txt"), {"/posts/a.txt"}},
        {"the newest goes in front",
         {"/posts/a.txt"},
         QStringLiteral("/posts/b.txt"),
         {"/posts/b.txt", "/posts/a.txt"}},
        {"a file listed already moves to the front, once",
         {"/posts/a.txt", "/posts/b.txt"},
         QStringLiteral("/posts/b.txt"),
         {"/posts/b.txt", "/posts/a.txt"}},
        {"the same file by another spelling is the same entry",
         {"/posts/a.txt"},
         QStringLiteral("/posts/old/../a.txt"),
         {"/posts/a.txt"}},
        {"past ten the oldest falls off", numbered(1, 10), QStringLiteral("/posts/new.txt"),
         QStringList{"/posts/new.txt"} + numbered(1, 9)},
    };
    for (const ListCase &c : cases) {
        RecentFiles list(c.start);
        list.add(c.added);
        EXPECT_EQ(list.paths(), c.expected) << c.rule;
    }
}

TEST(RecentFiles, RelativePathsBecomeAbsolute)
{
    RecentFiles list;
    list.add(QStringLiteral("post.txt"));
    EXPECT_EQ(list.paths().front(), QDir::current().absoluteFilePath(QStringLiteral("post.txt")));
}

TEST(RecentFiles, StoredListKeepsItsOrderAndLimit)
{
    const RecentFiles list(numbered(1, 12) + QStringList{QString(), "/posts/3.txt"});
    EXPECT_EQ(list.paths(), numbered(1, 10)) << "blank and repeated entries are dropped";
}

TEST(RecentFiles, RemoveAndClear)
{
    RecentFiles list({"/posts/a.txt", "/posts/b.txt"});
    EXPECT_TRUE(list.remove(QStringLiteral("/posts/a.txt")));
    EXPECT_FALSE(list.remove(QStringLiteral("/posts/a.txt")));
    EXPECT_EQ(list.paths(), QStringList{"/posts/b.txt"});
    list.clear();
    EXPECT_TRUE(list.isEmpty());
}

struct ScreenCase
{
    const char *rule;
    QRect geometry;
    bool fits;
};

TEST(WindowGeometry, RestoredOnlyWhereAScreenIs)
{
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    const ScreenCase cases[] = {
        {"on the first screen", QRect(100, 100, 800, 600), true},
        {"on the second screen", QRect(2000, 50, 800, 600), true},
        {"across both", QRect(1500, 100, 800, 600), true},
        {"right of every screen (one unplugged)", QRect(3300, 100, 800, 600), false},
        {"below every screen", QRect(100, 1200, 800, 600), false},
        {"title bar above the screens", QRect(100, -500, 800, 600), false},
        {"only a sliver on screen", QRect(-790, 100, 800, 600), false},
        {"nothing kept", QRect(), false},
    };
    for (const ScreenCase &c : cases)
        EXPECT_EQ(workspace::fitsOnScreens(c.geometry, screens), c.fits) << c.rule;
}

TEST(WorkspaceSettings, FlagsAndGeometryComeBack)
{
    workspace::forget();
    EXPECT_FALSE(workspace::readFlag(workspace::resizableKey, workspace::defaultResizable));
    workspace::writeFlag(workspace::resizableKey, true);
    workspace::writeGeometry(QRect(10, 20, 900, 700));
    workspace::writeRecentFiles({"/posts/a.txt"});
    EXPECT_TRUE(workspace::readFlag(workspace::resizableKey, workspace::defaultResizable));
    EXPECT_EQ(workspace::readGeometry(), QRect(10, 20, 900, 700));
    EXPECT_EQ(workspace::readRecentFiles(), QStringList{"/posts/a.txt"});
    workspace::forget();
    EXPECT_EQ(workspace::readGeometry(), QRect());
}

} // namespace
