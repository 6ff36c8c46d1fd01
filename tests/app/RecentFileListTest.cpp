#include "app/RecentFileList.h"

#include <gtest/gtest.h>

namespace {

TEST(RecentFileListTest, NewestFirstAtMostFourNoRepeatsAndAmpersandsShownAsThemselves) {
    RecentFileList list;
    for (const char* path : {"/d/a.x", "/d/b.x", "/d/../d/a.x", "/d/c.x", "/d/e.x", "/d/f&g.x"}) {
        list.Add(QString::fromLatin1(path));
    }
    EXPECT_EQ(list.Paths(), (QStringList{"/d/f&g.x", "/d/e.x", "/d/c.x", "/d/a.x"}));
    EXPECT_EQ(list.MenuText(0), QStringLiteral("&1 /d/f&&g.x"));
    EXPECT_EQ(list.MenuText(3), QStringLiteral("&4 /d/a.x"));
    EXPECT_EQ(list.MenuText(4), QString());

    list.Remove(1);
    list.Remove(7);
    EXPECT_EQ(list.Paths(), (QStringList{"/d/f&g.x", "/d/c.x", "/d/a.x"}));

    // As read back from a settings file someone edited.
    list.SetPaths({"/a.x", "", "/a.x", "/b.x", "/c.x", "/d.x", "/e.x"});
    EXPECT_EQ(list.Paths(), (QStringList{"/a.x", "/b.x", "/c.x", "/d.x"}));
}

} // namespace
