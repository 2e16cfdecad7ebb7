#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <thread>

#include "app/window/ThreadComponent.h"

namespace grottix {
namespace {

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "thread-component-tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the main thread's event loop until the condition holds or two seconds pass.
template <typename Condition>
bool processUntil(Condition condition) {
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return condition();
}

TEST(ThreadComponent, RunsItsWorkOnTheMainThreadWhileEnabled) {
    application();
    TThreadComponent thread;
    int runs = 0;
    bool onMain = true;
    const auto main = std::this_thread::get_id();
    thread.OnExecute = [&](TThreadComponent&) {
        ++runs;
        onMain = onMain && std::this_thread::get_id() == main;
    };
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0) << "a new component is disabled";
    thread.SetEnabled(true);
    EXPECT_TRUE(processUntil([&] { return runs >= 3; }));
    EXPECT_TRUE(onMain);
    thread.SetEnabled(false);
    QCoreApplication::processEvents();
    const int stopped = runs;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, stopped) << "nothing runs once disabled";
}

TEST(ThreadComponent, HoldingPausesTheWorkWithoutStartOrTerminate) {
    application();
    TThreadComponent thread;
    int runs = 0, events = 0;
    thread.OnExecute = [&](TThreadComponent&) { ++runs; };
    thread.OnStart = thread.OnTerminate = [&](TThreadComponent&) { ++events; };
    thread.SetHeld(true);
    thread.SetEnabled(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 0) << "held from before it was enabled";
    thread.SetHeld(false);
    EXPECT_TRUE(processUntil([&] { return runs >= 2; }));
    thread.SetHeld(true);
    QCoreApplication::processEvents();
    const int held = runs;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, held);
    EXPECT_TRUE(thread.Enabled());
    EXPECT_EQ(events, 1) << "only the enabling";
}

TEST(ThreadComponent, StartAndTerminateFireOnlyOnChanges) {
    application();
    int starts = 0, terminates = 0;
    {
        TThreadComponent thread;
        thread.OnStart = [&](TThreadComponent&) { ++starts; };
        thread.OnTerminate = [&](TThreadComponent&) { ++terminates; };
        thread.SetEnabled(false);
        EXPECT_EQ(terminates, 0) << "disabling a disabled component fires nothing";
        thread.SetEnabled(true);
        thread.SetEnabled(true);
        EXPECT_EQ(starts, 1);
    }
    EXPECT_EQ(terminates, 1) << "destroying an enabled component terminates it";
}

TEST(ThreadComponent, FailingWorkIsSwallowedAndTheThreadGoesOn) {
    application();
    TThreadComponent thread;
    int runs = 0;
    thread.OnExecute = [&](TThreadComponent&) {
        ++runs;
        throw std::runtime_error("frame failed");
    };
    thread.SetEnabled(true);
    EXPECT_TRUE(processUntil([&] { return runs >= 2; }));
}

}  // namespace
}  // namespace grottix
