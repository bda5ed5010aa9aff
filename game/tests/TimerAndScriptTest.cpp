#include "game/CGameApp.h"
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
}
