#include "framework/ZylDebug.h"
#include "tests/TestHelpers.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <memory>
#include <thread>

TEST(ZylDebug, CaptureRecordsLinesFromAnyThreadAndNests)
{
    ZylDebugCapture outer;
    zylDebugLine("first");
    {
        ZylDebugCapture inner;
        std::thread t([] { zylDebugLine("from thread"); });
        t.join();
        EXPECT_TRUE(inner.contains("from thread"));
        EXPECT_FALSE(outer.contains("from thread"));
    }
    zylDebugLine("second");
    EXPECT_EQ(outer.getLines(), (std::vector<juce::String>{ "first", "second" }));
}

TEST(ZylDebug, CapturesDestroyedOutOfOrderLeaveTheOthersLinked)
{
    ZylDebugCapture base;
    auto outer = std::make_unique<ZylDebugCapture>();
    auto inner = std::make_unique<ZylDebugCapture>();
    outer.reset();
    zylDebugLine("while inner");
    EXPECT_TRUE(inner->contains("while inner"));
    inner.reset();
    zylDebugLine("after both");
    EXPECT_EQ(base.getLines(), std::vector<juce::String>{ "after both" });
}

TEST(TestHelpers, DrainDeliversMessagesPostedWhileDelivering)
{
    int depth = 0;
    std::function<void()> chain = [&] {
        if (++depth < 5)
            juce::MessageManager::callAsync(chain);
    };
    juce::MessageManager::callAsync(chain);
    zyltest::drainMessageQueue();
    EXPECT_EQ(depth, 5);
}
