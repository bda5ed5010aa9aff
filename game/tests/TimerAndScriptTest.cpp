#include "game/CGameApp.h"
#include "game/CSimulationClock.h"
#include "game/CTimerQueue.h"
#include "game/InputScript.h"

#include <gtest/gtest.h>

TEST(TimerQueue, FiresInOrderOnAnInjectedClock)
{
    FixedClock clock(1000);
    CTimerQueue timers(clock);
    timers.Set(1, 10000);
    clock.Advance(500);
    timers.Set(3, 1000);
    EXPECT_TRUE(timers.TakeDue().empty());
    EXPECT_EQ(timers.MillisecondsToNext(), 1000);
    clock.Advance(1000);
    EXPECT_EQ(timers.TakeDue(), std::vector<int>{3});
    timers.Kill(3);
    EXPECT_FALSE(timers.IsRunning(3));
    clock.Advance(8500); // timer 1 due exactly now
    timers.Set(4, 1);
    clock.Advance(5);
    // Both due: timer 1 has waited longer past its period.
    EXPECT_EQ(timers.TakeDue(), (std::vector<int>{1, 4}));
    clock.Advance(50000); // a late timer fires once, not five times; timer 4 is later past its period
    EXPECT_EQ(timers.TakeDue(), (std::vector<int>{4, 1}));
}

// Runs the ticks that the clock holds now; their number.
int RunDueTicks(CSimulationClock& clock)
{
    int ticks = 0;
    while (clock.TickDue()) {
        clock.EndTick();
        ++ticks;
    }
    return ticks;
}

TEST(SimulationClock, PassesOfAnyLengthAddUpToWholeTicksWhereTheyShould)
{
    // Three passes of 1/60 s make one tick of 50 ms, exactly at the third.
    CSimulationClock sixty;
    EXPECT_EQ(sixty.Milliseconds(), 0u);
    for (int pass = 1; pass <= 3; ++pass) {
        sixty.Give(1.0 / 60);
        EXPECT_EQ(RunDueTicks(sixty), pass == 3 ? 1 : 0) << "pass " << pass;
    }
    EXPECT_EQ(sixty.Milliseconds(), 50u);
    // An hour at 144 passes a second is 72000 ticks, one every 2.88 passes,
    // never one early or late.
    CSimulationClock fast;
    int64_t ticks = 0;
    for (int64_t pass = 1; pass <= 144 * 3600; ++pass) {
        fast.Give(1.0 / 144);
        ticks += RunDueTicks(fast);
        if (pass % 18 == 0) {
            ASSERT_EQ(ticks, pass / 18 * 25 / 10) << "pass " << pass;
        }
    }
    EXPECT_EQ(fast.Ticks(), 72000);
    EXPECT_EQ(fast.Milliseconds(), 3600000u);
    EXPECT_NEAR(fast.Pending(), 0, 1e-9);
    // A long pass runs its ticks one after the other; nothing and negative
    // time give none.
    CSimulationClock slow;
    slow.Give(0.26);
    EXPECT_EQ(RunDueTicks(slow), 5);
    slow.Give(-1);
    slow.Give(0);
    EXPECT_EQ(RunDueTicks(slow), 0);
    slow.Give(0.04);
    EXPECT_EQ(RunDueTicks(slow), 1);
    EXPECT_DOUBLE_EQ(slow.Seconds(), 0.3);
}

TEST(SimulationClock, APauseDropsTheTimeNoTickHasUsed)
{
    CSimulationClock clock;
    clock.Give(0.23); // four ticks due and a bit
    ASSERT_TRUE(clock.TickDue());
    clock.EndTick();
    clock.DropPending(); // the second tick paused the game: it and the rest are gone
    EXPECT_FALSE(clock.TickDue());
    EXPECT_NEAR(clock.Pending(), 0, 1e-12);
    EXPECT_NEAR(clock.SecondsToNextTick(), 0.05, 1e-12);
    EXPECT_DOUBLE_EQ(clock.Seconds(), 0.05);
    clock.Give(0.02);
    EXPECT_NEAR(clock.SecondsToNextTick(), 0.03, 1e-12);
}

TEST(InputScript, ParsesEveryEventKindInPassOrder)
{
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript("# a comment\n5 mouse 10 20\n3 key down UP\n3 key up 57 # trailing\n"
                                 "7 click\n8 focus lost\n9 quit\n",
                                 events, error))
        << error;
    ASSERT_EQ(events.size(), 7u);
    EXPECT_EQ(events[0].pass, 3);
    EXPECT_EQ(events[0].kind, ScriptEvent::Key);
    EXPECT_EQ(events[0].a, 200);
    EXPECT_EQ(events[1].a, 57);
    EXPECT_EQ(events[2].kind, ScriptEvent::Mouse);
    EXPECT_EQ(events[3].kind, ScriptEvent::Button);
    EXPECT_EQ(events[3].a, 1);
    EXPECT_EQ(events[4].a, 0);
    EXPECT_EQ(events[5].kind, ScriptEvent::Focus);
    EXPECT_EQ(events[6].kind, ScriptEvent::Quit);
}

TEST(InputScript, TimedEventsComeAfterThoseByPassInTimeOrder)
{
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(ParseInputScript("2.5s key down UP\n4 click\n0.05s key up UP\n12s quit\n", events, error)) << error;
    ASSERT_EQ(events.size(), 5u);
    EXPECT_FALSE(events[0].Timed());
    EXPECT_EQ(events[0].pass, 4);
    EXPECT_FALSE(events[1].Timed());
    EXPECT_TRUE(events[2].Timed());
    EXPECT_DOUBLE_EQ(events[2].seconds, 0.05);
    EXPECT_EQ(events[2].b, 0);
    EXPECT_DOUBLE_EQ(events[3].seconds, 2.5);
    EXPECT_EQ(events[3].kind, ScriptEvent::Key);
    EXPECT_EQ(events[3].pass, 0);
    EXPECT_EQ(events[4].kind, ScriptEvent::Quit);
    for (const char* bad : {"s click\n", "1.2.3s click\n", "-1s click\n", "2e3s click\n", "100000s quit\n", ".s quit\n"})
        EXPECT_FALSE(ParseInputScript(bad, events, error)) << bad;
}

TEST(InputScript, NamesTheBadLine)
{
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_FALSE(ParseInputScript("1 click\n2 key down NOSUCHKEY\n", events, error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_FALSE(ParseInputScript("0 click\n", events, error));
    EXPECT_FALSE(ParseInputScript("x click\n", events, error));
}

TEST(GameOptions, ParsesAndRefuses)
{
    const char* argv[] = {"Veldra", "--data", "d", "--windowed", "--seed", "7", "--fixed-dt", "0.02",
                          "--frames", "10", "--dump-frames", "f%d.png", "--dump-at", "1,5", "--no-video"};
    GameOptions options;
    std::string error, out;
    ASSERT_EQ(ParseGameOptions(15, const_cast<char**>(argv), options, error, out), 0) << error;
    EXPECT_EQ(options.dataFolder, "d");
    EXPECT_EQ(options.fullScreen, 0);
    EXPECT_EQ(options.seed, 7u);
    EXPECT_DOUBLE_EQ(options.fixedFrameTime, 0.02);
    EXPECT_EQ(options.maxPasses, 10);
    EXPECT_EQ(options.dumpAt, (std::set<long>{1, 5}));
    EXPECT_FALSE(options.playVideo);
    const char* bad[] = {"Veldra", "--scale", "9"};
    EXPECT_EQ(ParseGameOptions(3, const_cast<char**>(bad), options, error, out), 2);
    const char* help[] = {"Veldra", "--help"};
    EXPECT_EQ(ParseGameOptions(2, const_cast<char**>(help), options, error, out), 1);
    EXPECT_NE(out.find("--script"), std::string::npos);
    EXPECT_NE(out.find("--state-log"), std::string::npos);
    const char* log[] = {"Veldra", "--state-log", "ticks.txt"};
    ASSERT_EQ(ParseGameOptions(3, const_cast<char**>(log), options, error, out), 0) << error;
    EXPECT_EQ(options.stateLog, "ticks.txt");
    const char* noFile[] = {"Veldra", "--state-log"};
    EXPECT_EQ(ParseGameOptions(2, const_cast<char**>(noFile), options, error, out), 2);
}
