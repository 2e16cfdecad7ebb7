// The idle timer: whole intervals elapsed, activation, its tick rate, and that it really runs from
// the event loop.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <stdexcept>

#include "device/qt/DXTimer.h"
#include "device/qt/QtTestApplication.h"

namespace grottix {
namespace {

class DXTimerTest : public ::testing::Test {
protected:
    DXTimerTest() {
        test::TestApplication();
        timer_.SetClock([this] { return now_; });
        timer_.SetActiveOnly(false);
        timer_.SetInterval(10);
        timer_.OnTimer = [this](TDXTimer&, int lag) { lags_.push_back(lag); };
    }

    int64_t now_ = 1000;
    std::vector<int> lags_;
    TDXTimer timer_;
};

TEST_F(DXTimerTest, FiresWithTheWholeIntervalsThatPassedAndNotBefore) {
    timer_.SetEnabled(true);
    now_ += 9;
    timer_.Tick();
    EXPECT_TRUE(lags_.empty());
    now_ += 1;
    timer_.Tick();
    now_ += 37;
    timer_.Tick();
    now_ += 10;
    timer_.Tick();
    EXPECT_EQ(lags_, (std::vector<int>{1, 3, 1})) << "counted from the last tick, the rest dropped";
}

TEST_F(DXTimerTest, ADisabledTimerNeverFires) {
    now_ += 100;
    timer_.Tick();
    timer_.SetEnabled(true);
    timer_.SetEnabled(false);
    now_ += 100;
    timer_.Tick();
    EXPECT_TRUE(lags_.empty());
}

TEST_F(DXTimerTest, AHeldTimerStaysEnabledButFiresOnlyOnceReleased) {
    timer_.SetEnabled(true);
    timer_.SetHeld(true);
    now_ += 500;
    timer_.Tick();
    EXPECT_TRUE(lags_.empty());
    EXPECT_TRUE(timer_.Enabled());
    timer_.SetHeld(false);
    now_ += 10;
    timer_.Tick();
    EXPECT_EQ(lags_, (std::vector<int>{1})) << "not counting the time held";
}

TEST_F(DXTimerTest, ActiveOnlyStopsItWhileTheApplicationIsInactiveAndRestartsItAfterwards) {
    timer_.SetActiveOnly(true);
    timer_.ApplicationActivated(true);
    timer_.SetEnabled(true);
    timer_.ApplicationActivated(false);
    now_ += 500;
    timer_.Tick();
    EXPECT_TRUE(lags_.empty());
    timer_.ApplicationActivated(true);
    now_ += 20;
    timer_.Tick();
    EXPECT_EQ(lags_, (std::vector<int>{2})) << "restarted on activation, not counting the time away";
    timer_.SetActiveOnly(false);
    timer_.ApplicationActivated(false);
    now_ += 10;
    timer_.Tick();
    EXPECT_EQ(lags_.size(), 2u);
}

TEST_F(DXTimerTest, MeasuresItsTicksPerSecondOverASecondOrMore) {
    timer_.SetEnabled(true);
    for (int i = 0; i < 50; ++i) {
        now_ += 20;
        timer_.Tick();
    }
    EXPECT_DOUBLE_EQ(timer_.FrameRate(), 50.0);
}

TEST_F(DXTimerTest, WhatTheHandlerThrowsGoesToOnError) {
    int errors = 0;
    timer_.OnTimer = [](TDXTimer&, int) { throw std::runtime_error("frame failed"); };
    timer_.OnError = [&](std::exception_ptr) { ++errors; };
    timer_.SetEnabled(true);
    now_ += 10;
    timer_.Tick();
    now_ += 10;
    timer_.Tick();
    EXPECT_EQ(errors, 2);
}

TEST(DXTimerLoop, TicksFromTheEventLoopOnItsOwn) {
    test::TestApplication();
    TDXTimer timer;
    timer.SetActiveOnly(false);
    timer.SetInterval(1);
    int ticks = 0;
    timer.OnTimer = [&](TDXTimer&, int lag) {
        EXPECT_GE(lag, 1);
        ++ticks;
    };
    timer.SetEnabled(true);
    QEventLoop loop;
    QTimer::singleShot(100, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_GT(ticks, 0);
}

}  // namespace
}  // namespace grottix
