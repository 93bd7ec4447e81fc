#include "common/ui/form.h"

#include <gtest/gtest.h>

#include <QTest>
#include <tuple>
#include <vector>

#include "support/test_support.h"

namespace pb {
namespace {

TEST(ScreenRegion, HolesAreCutByExclusiveOr) {
    const QRect window(0, 0, 100, 50);
    struct Case {
        const char* what;
        std::vector<QRect> holes;
        std::vector<QPoint> open;    // points that stay part of the window
        std::vector<QPoint> cut;     // points that show what lies underneath
    };
    const Case cases[] = {
        {"no hole", {}, {{0, 0}, {99, 49}}, {}},
        {"one hole", {QRect(10, 10, 20, 20)}, {{9, 10}, {30, 10}, {10, 30}}, {{10, 10}, {29, 29}}},
        {"overlapping holes: the overlap stays",
         {QRect(0, 0, 20, 20), QRect(10, 10, 20, 20)},
         {{15, 15}, {40, 40}},
         {{5, 5}, {25, 25}}},
        // A hole reaching out of the window adds what lies outside it to the region.
        {"a hole over the edge", {QRect(90, 0, 20, 10)}, {{105, 5}}, {{95, 5}}},
    };
    for (const Case& c : cases) {
        const QRegion region = RegionWithHoles(window, c.holes);
        for (const QPoint& p : c.open) EXPECT_TRUE(region.contains(p)) << c.what;
        for (const QPoint& p : c.cut) EXPECT_FALSE(region.contains(p)) << c.what;
    }
}

TEST(TapGuard, TapsWithinTheIntervalAfterAScreenChangeAreDropped) {
    // milliseconds since the change, interval, taken
    const std::tuple<long long, int, bool> cases[] = {
        {0, 400, false}, {399, 400, false}, {400, 400, true}, {5000, 400, true},
        {0, 0, true},     // no interval: every tap counts
        {-1, 400, true},  // no change seen yet
    };
    for (const auto& [since, interval, taken] : cases)
        EXPECT_EQ(TapTaken(since, interval), taken) << since << " / " << interval;
}

// A screen with a button that opens a second screen over the same place and closes itself,
// as "確定" of the keyboard opens the object list under the finger.
class Opener : public Form {
  public:
    Opener() {
        setAttribute(Qt::WA_DeleteOnClose, false);  // lives on the test's stack
        button = AddButton(QStringLiteral("BtnDtStClose"), QStringLiteral("確定"), 0, 0, 100, 40);
        connect(button, &QPushButton::clicked, this, [this] {
            next = new Form;
            next->setGeometry(geometry());
            auto* below = next->AddButton(QStringLiteral("Btn04"), QStringLiteral("デザイン変更"),
                                          0, 0, 100, 40);
            connect(below, &QPushButton::clicked, next, [this] { ++belowClicks; });
            next->show();
            Release();
        });
        setGeometry(100, 100, 100, 40);
        show();
    }
    QPushButton* button;
    Form* next = nullptr;
    int belowClicks = 0;
};

TEST(TapGuard, ADoubleTapDoesNotReachTheScreenThatOpensBelow) {
    Opener opener;
    const test::DoubleClickInterval interval(400);
    QTest::qWait(450);  // the opener itself has just opened
    QTest::mouseClick(opener.button, Qt::LeftButton);
    ASSERT_NE(opener.next, nullptr);
    QPushButton* below = opener.next->Find<QPushButton>(QStringLiteral("Btn04"));
    QTest::mouseClick(below, Qt::LeftButton);
    EXPECT_EQ(opener.belowClicks, 0);
    // Once the interval has passed the screen takes taps again.
    QTest::qWait(450);
    QTest::mouseClick(below, Qt::LeftButton);
    EXPECT_EQ(opener.belowClicks, 1);
    delete opener.next;
}

// A screen whose way out is a button of its own, and which refuses to go while it is busy.
class WithReturn : public Form {
  public:
    int returns = 0;
    int closes = 0;
    bool busy = false;

  protected:
    void CloseByWindowManager() override {
        ++returns;
        if (!busy) Release();
    }
    void FormClose() override { ++closes; }
};

TEST(WindowManagerClose, GoesTheScreensOwnWayOut) {
    auto* screen = new WithReturn;
    screen->setAttribute(Qt::WA_DeleteOnClose, false);
    screen->show();
    screen->busy = true;
    EXPECT_FALSE(screen->close());
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(screen->returns, 1);
    EXPECT_EQ(screen->closes, 0);
    screen->busy = false;
    EXPECT_TRUE(screen->close());
    EXPECT_FALSE(screen->isVisible());
    EXPECT_EQ(screen->returns, 2);
    EXPECT_EQ(screen->closes, 1);
    // The program's own Release() does not go through the way out again.
    screen->show();
    screen->Release();
    EXPECT_EQ(screen->returns, 2);
    EXPECT_EQ(screen->closes, 2);
    delete screen;
}

}  // namespace
}  // namespace pb
