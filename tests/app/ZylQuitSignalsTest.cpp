#include "app/ZylQuitSignals.h"

#include "tests/TestHelpers.h"

#include <gtest/gtest.h>

#if JUCE_LINUX || JUCE_BSD
#include <csignal>
#include <thread>
#include <utility>
#include <vector>

namespace
{
int quitTestSignalsSeen = 0;

void quitTestCountSignal(int)
{
    ++quitTestSignalsSeen;
}
} // namespace

// Without the handlers these signals end the test program at once.
TEST(QuitSignals, TermAndHangupBecomeOneQuitRequestOnTheMessageThreadWhereverTheyLand)
{
    const std::vector<std::pair<int, bool>> cases { { SIGTERM, false }, { SIGHUP, false },
                                                    { SIGTERM, true } };
    for (const auto& [signal, onAnotherThread] : cases)
    {
        SCOPED_TRACE(signal);
        int requests = 0;
        bool onMessageThread = false;
        ZylQuitSignals signals([&] {
            ++requests;
            onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread();
        });
        ASSERT_TRUE(signals.isActive());
        if (onAnotherThread)
            std::thread([signal = signal] { std::raise(signal); }).join();
        else
            std::raise(signal);
        EXPECT_EQ(requests, 0) << "nothing runs inside the handler";
        zyltest::drainMessageQueue();
        EXPECT_EQ(requests, 1);
        EXPECT_TRUE(onMessageThread);
    }
}

TEST(QuitSignals, ThePreviousHandlersComeBackAndNoRequestIsLeftOver)
{
    struct sigaction counting {}, previous {};
    counting.sa_handler = quitTestCountSignal;
    sigemptyset(&counting.sa_mask);
    ASSERT_EQ(sigaction(SIGHUP, &counting, &previous), 0);
    quitTestSignalsSeen = 0;
    int requests = 0;
    {
        ZylQuitSignals signals([&] { ++requests; });
        std::raise(SIGHUP);
    }
    std::raise(SIGHUP);
    EXPECT_EQ(quitTestSignalsSeen, 1);

    // A request raised just before the object went is not delivered to the next one.
    ZylQuitSignals next([&] { ++requests; });
    zyltest::drainMessageQueue();
    EXPECT_EQ(requests, 0);
    sigaction(SIGHUP, &previous, nullptr);
}

// A program started with a signal ignored (nohup, a daemon) keeps it ignored, as shells do; the
// other one still quits.
TEST(QuitSignals, ASignalIgnoredAtTheStartStaysIgnored)
{
    for (const int ignored : { SIGHUP, SIGTERM })
    {
        SCOPED_TRACE(ignored);
        const int other = ignored == SIGHUP ? SIGTERM : SIGHUP;
        struct sigaction ignoring {}, previous {}, after {};
        ignoring.sa_handler = SIG_IGN;
        sigemptyset(&ignoring.sa_mask);
        ASSERT_EQ(sigaction(ignored, &ignoring, &previous), 0);
        int requests = 0;
        {
            ZylQuitSignals signals([&] { ++requests; });
            EXPECT_TRUE(signals.isActive());
            std::raise(ignored);
            zyltest::drainMessageQueue();
            EXPECT_EQ(requests, 0);
            std::raise(other);
            zyltest::drainMessageQueue();
            EXPECT_EQ(requests, 1);
        }
        sigaction(ignored, &previous, &after);
        EXPECT_EQ(after.sa_handler, SIG_IGN);
    }
}
#endif
