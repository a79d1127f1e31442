#include "remtest.h"

using namespace brimble;
using namespace brimble::test;

namespace {

using Arrange = Reminders;

} // namespace

TEST_F(Arrange, TileFillsColumnsOfSevenWithoutStoring) {
    std::vector<int> ids;
    for (int i = 0; i < 15; ++i)
        ids.push_back(add(Memo{}));
    popups.ToolButton6Click();
    settle();
    popups.tileit();
    settle();
    EXPECT_EQ(frame(0), QRect(10, 10, 150, 100));
    EXPECT_EQ(frame(1), QRect(10, 110, 150, 100));
    EXPECT_EQ(frame(6), QRect(10, 610, 150, 100));
    EXPECT_EQ(frame(7), QRect(160, 10, 150, 100));
    EXPECT_EQ(frame(13), QRect(160, 610, 150, 100));
    EXPECT_EQ(frame(14), QRect(310, 10, 150, 100));
    for (int idx : ids)
        EXPECT_EQ(placeInFile(idx), *Memo{}.place);
}

TEST_F(Arrange, CascadeStepsThirtyDownAndRight) {
    for (int i = 0; i < 4; ++i)
        add(Memo{});
    popups.ToolButton6Click();
    settle();
    popups.cascadeit();
    settle();
    EXPECT_EQ(frame(0), QRect(10, 10, 150, 100));
    EXPECT_EQ(frame(2), QRect(70, 70, 150, 100));
    EXPECT_EQ(frame(3), QRect(100, 100, 150, 100));
}

TEST_F(Arrange, LockThenCloseAllThenOpenAllBringsBackTheGrid) {
    Memo m;
    m.bgcolor = 0x00ABCDEF;
    std::vector<int> ids;
    for (int i = 0; i < 9; ++i)
        ids.push_back(add(m));
    popups.ToolButton6Click();
    settle();
    popups.tileit();
    settle();
    d.BM.last();
    popups.ToolButton9Click();
    EXPECT_EQ(placeInFile(ids[8]), QRect(160, 110, 150, 100));
    EXPECT_EQ(d.BM.position(), 0) << "the lock reopens the list view";
    EXPECT_EQ(hooks.colors, std::vector<int>({0x00ABCDEF}));
    EXPECT_EQ(popups.poplist().size(), 9u) << "the lock leaves the windows open";

    popups.closepop();
    popups.ToolButton6Click();
    settle();
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(frame(i), QRect(int(i) / 7 * 150 + 10, int(i) % 7 * 100 + 10, 150, 100)) << i;
}

TEST_F(Arrange, WithNothingOpenOnlyTheLockRefreshesTheList) {
    Memo m;
    m.bgcolor = 0x00010203;
    const int a = add(m);
    popups.tileit();
    settle();
    popups.cascadeit();
    settle();
    EXPECT_EQ(placeInFile(a), *m.place);
    d.BM.last();
    popups.ToolButton9Click();
    EXPECT_EQ(d.BM.position(), 0);
    EXPECT_EQ(hooks.colors, std::vector<int>({0x00010203}));
    EXPECT_EQ(placeInFile(a), *m.place);
}
