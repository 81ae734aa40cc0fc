#include "framework/ZylMessage.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMessageSink.h"
#include "framework/ZylMessageSource.h"
#include "tests/TestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace
{
struct Received
{
    void* sender;
    int code;
    int timeMs;
};

// Records what it receives into a log shared by several sinks, so that call order is visible.
class RecordingSink : public ZylMessageSink
{
public:
    void receiveMessage(void* sender, int code, int timeMs) override
    {
        received.push_back({ sender, code, timeMs });
        if (callLog != nullptr)
            callLog->push_back(this);
        onReceive();
    }

    std::vector<Received> received;
    std::vector<RecordingSink*>* callLog = nullptr;
    std::function<void()> onReceive = [] {};
};

int countCalls(const std::vector<RecordingSink*>& log, RecordingSink* sink)
{
    return static_cast<int>(std::count(log.begin(), log.end(), sink));
}

// Sinks in one array have ascending addresses.
struct SinkArrayFixture : ::testing::Test
{
    SinkArrayFixture()
    {
        for (auto& sink : sinks)
            sink.callLog = &log;
    }

    ZylMessageSource source;
    std::array<RecordingSink, 4> sinks;
    std::vector<RecordingSink*> log;
};
} // namespace

TEST(ZylMessageCodes, CausesAndCommandsComposeAsTabled)
{
    struct Case
    {
        int actual;
        int expected;
    };
    const Case cases[] = {
        { zylMessageCode(kValueChanged, kCauseUnspecified), 0x0105 },
        { zylMessageCode(kEnabledChanged, 0), 0x0205 },
        { zylMessageCode(kGestureChanged, 0), 0x0405 },
        { zylMessageCode(kDomainValuesChanged, 0), 0x0505 },
        { zylMessageCode(kValueChanged, kCauseUser), 0x0102 },
        { zylMessageCode(kDomainValueChanged, 0x103), 0x0603 }, // only the cause's low byte
        { kResetCommand, 0x1C06 },
        { kMidiSettingsCommand, 0x0A06 },
        { zylCommandCode(kCommandRenamePreset), 0x1106 },
        { zylMessageEvent(kDomainListRebuilt), 7 },
        { zylMessageLowByte(kCellStatesChanged), 8 },
        { kSpaceViewActivated + kGridViewIndex, 0x290A },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

TEST_F(SinkArrayFixture, NothingIsQueuedWithoutSinksAndLateSinksGetNoHistory)
{
    source.postMessage(&source, kValueChanged + kCauseUser);
    source.addSink(&sinks[0]);
    zyltest::drainMessageQueue();
    EXPECT_TRUE(sinks[0].received.empty());

    source.postMessage(&source, kValueChanged + kCauseHost);
    zyltest::drainMessageQueue();
    ASSERT_EQ(sinks[0].received.size(), 1u);
    EXPECT_EQ(sinks[0].received[0].sender, &source);
    EXPECT_EQ(sinks[0].received[0].code, 0x0103);
}

TEST_F(SinkArrayFixture, RegistrationIgnoresDuplicatesNullAndAbsentSinks)
{
    source.addSink(&sinks[1]);
    source.addSink(&sinks[1]);
    source.addSink(nullptr);
    source.removeSink(&sinks[2]);
    source.removeSink(nullptr);
    EXPECT_EQ(source.getSinkList().getNumSinks(), 1);

    source.postMessage(&source, kBarChanged);
    zyltest::drainMessageQueue();
    EXPECT_EQ(log, (std::vector<RecordingSink*>{ &sinks[1] }));

    source.removeSink(&sinks[1]);
    EXPECT_EQ(source.getSinkList().getNumSinks(), 0);
}

TEST_F(SinkArrayFixture, SinksAreCalledFromTheHighestAddressDown)
{
    for (int i : { 2, 0, 3, 1 })
        source.addSink(&sinks[static_cast<size_t>(i)]);
    source.postMessage(&source, kBeatChanged);
    zyltest::drainMessageQueue();
    EXPECT_EQ(log, (std::vector<RecordingSink*>{ &sinks[3], &sinks[2], &sinks[1], &sinks[0] }));
}

TEST_F(SinkArrayFixture, SinkRemovingALowerSinkIsCalledOnceAndTheRemovedOneNotAtAll)
{
    // An index walk would call sinks[3] a second time here, after the list shrank under it.
    for (auto& sink : sinks)
        source.addSink(&sink);
    sinks[3].onReceive = [this] { source.removeSink(&sinks[0]); };
    sinks[2].onReceive = [this] { source.removeSink(&sinks[1]); };
    source.postMessage(&source, kTransportTick);
    zyltest::drainMessageQueue();
    EXPECT_EQ(log, (std::vector<RecordingSink*>{ &sinks[3], &sinks[2] }));
}

TEST_F(SinkArrayFixture, SinkRemovingItselfOrAHigherSinkDoesNotStopTheWalk)
{
    for (auto& sink : sinks)
        source.addSink(&sink);
    sinks[2].onReceive = [this] {
        source.removeSink(&sinks[2]);
        source.removeSink(&sinks[3]);
    };
    source.postMessage(&source, kTransportTick);
    source.postMessage(&source, kTransportTick);
    zyltest::drainMessageQueue();
    EXPECT_EQ(log, (std::vector<RecordingSink*>{ &sinks[3], &sinks[2], &sinks[1], &sinks[0],
                                                 &sinks[1], &sinks[0] }));
}

TEST_F(SinkArrayFixture, SinkAddedDuringDeliveryWaitsForTheNextMessage)
{
    // Adding a lower sink would make an index walk skip one of the registered sinks.
    source.addSink(&sinks[3]);
    source.addSink(&sinks[2]);
    source.addSink(&sinks[1]);
    sinks[3].onReceive = [this] {
        source.addSink(&sinks[0]);
        sinks[3].onReceive = [] {};
    };
    source.postMessage(&source, kCellStatesChanged);
    zyltest::drainMessageQueue();
    EXPECT_EQ(log, (std::vector<RecordingSink*>{ &sinks[3], &sinks[2], &sinks[1] }));

    log.clear();
    source.postMessage(&source, kCellStatesChanged);
    zyltest::drainMessageQueue();
    EXPECT_EQ(countCalls(log, &sinks[0]), 1);
    EXPECT_EQ(log.size(), 4u);
}

TEST_F(SinkArrayFixture, TheSetRegisteredAtDeliveryTimeReceives)
{
    source.addSink(&sinks[0]);
    source.postMessage(&source, kSpaceLayoutChanged);
    source.addSink(&sinks[1]);
    source.removeSink(&sinks[0]);
    zyltest::drainMessageQueue();
    EXPECT_EQ(log, (std::vector<RecordingSink*>{ &sinks[1] }));
}

TEST_F(SinkArrayFixture, CoalescedRepeatsWaitAsOneUntilDeliveredAndPlainPostsAsPosted)
{
    source.addSink(&sinks[0]);
    int other = 0;
    const int aliveBefore = ZylMessage::getNumAlive();
    for (int i = 0; i < 100; ++i)
    {
        source.postCoalescedMessage(&source, 0x0103);
        source.postCoalescedMessage(&other, 0x0103); // another sender waits apart
        source.postCoalescedMessage(&source, 0x0102); // and another code
    }
    source.postMessage(&source, kBeatChanged);
    source.postMessage(&source, kBeatChanged);
    EXPECT_EQ(ZylMessage::getNumAlive() - aliveBefore, 5);

    // A repeat posted while the waiting one is being delivered is queued anew.
    sinks[0].onReceive = [&] {
        if (sinks[0].received.size() == 1)
            source.postCoalescedMessage(&source, 0x0103);
    };
    zyltest::drainMessageQueue();
    std::vector<std::pair<void*, int>> got;
    for (const auto& r : sinks[0].received)
        got.emplace_back(r.sender, r.code);
    EXPECT_EQ(got, (std::vector<std::pair<void*, int>>{ { &source, 0x0103 }, { &other, 0x0103 },
                                                         { &source, 0x0102 }, { &source, kBeatChanged },
                                                         { &source, kBeatChanged }, { &source, 0x0103 } }));
    EXPECT_EQ(ZylMessage::getNumAlive(), aliveBefore);
}

TEST_F(SinkArrayFixture, CoalescedRepeatsWaitAsOnePerSenderAndCodeHoweverManyPairsWait)
{
    // A link parameter re-posts for every sender it hears, so one list may see many pairs.
    source.addSink(&sinks[0]);
    std::array<int, 40> senders {};
    const int codes[] = { 0x0102, 0x0103 };
    const int aliveBefore = ZylMessage::getNumAlive();
    for (int round = 0; round < 50; ++round)
        for (auto& sender : senders)
            for (const int code : codes)
                source.postCoalescedMessage(&sender, code);
    EXPECT_EQ(ZylMessage::getNumAlive() - aliveBefore, 80);

    zyltest::drainMessageQueue();
    std::vector<std::pair<void*, int>> expected;
    for (auto& sender : senders)
        for (const int code : codes)
            expected.emplace_back(&sender, code);
    std::vector<std::pair<void*, int>> got;
    for (const auto& r : sinks[0].received)
        got.emplace_back(r.sender, r.code);
    EXPECT_EQ(got, expected); // each pair once, in the order first posted
    EXPECT_EQ(ZylMessage::getNumAlive(), aliveBefore);

    // Delivered, every pair is posted anew.
    for (auto& sender : senders)
        source.postCoalescedMessage(&sender, codes[0]);
    EXPECT_EQ(ZylMessage::getNumAlive() - aliveBefore, 40);
    zyltest::drainMessageQueue();
    EXPECT_EQ(sinks[0].received.size(), expected.size() + senders.size());
}

TEST(ZylMessageSource, MessageQueuedBeforeItsSourceIsDestroyedIsNeverDelivered)
{
    RecordingSink sink;
    auto source = std::make_unique<ZylMessageSource>();
    source->addSink(&sink);
    source->postMessage(source.get(), kValueChanged + kCauseUser);
    source.reset();
    zyltest::drainMessageQueue();
    EXPECT_TRUE(sink.received.empty());
}

TEST(ZylMessageSource, SinkDestroyingTheSourceDuringDeliveryStopsTheWalk)
{
    std::array<RecordingSink, 2> sinks;
    std::vector<RecordingSink*> log;
    auto source = std::make_unique<ZylMessageSource>();
    for (auto& sink : sinks)
    {
        sink.callLog = &log;
        source->addSink(&sink);
    }
    sinks[1].onReceive = [&] { source.reset(); };
    source->postMessage(source.get(), kValueChanged + kCauseUser);
    source->postMessage(source.get(), kValueChanged + kCauseUser);
    zyltest::drainMessageQueue();
    EXPECT_EQ(log, (std::vector<RecordingSink*>{ &sinks[1] }));
}

TEST(ZylMessageSource, PostsFromAnotherThreadArriveInOrderOnTheMessageThread)
{
    constexpr int kPosts = 500;
    ZylMessageSource source;
    RecordingSink sink;
    bool allOnMessageThread = true;
    sink.onReceive = [&] {
        allOnMessageThread = allOnMessageThread
                             && juce::MessageManager::getInstance()->isThisTheMessageThread();
    };
    source.addSink(&sink);

    std::thread poster([&] {
        for (int i = 0; i < kPosts; ++i)
            source.postTimedMessage(&source, i, i * 2);
    });
    poster.join();
    EXPECT_TRUE(sink.received.empty());

    zyltest::drainMessageQueue();
    ASSERT_EQ(sink.received.size(), static_cast<size_t>(kPosts));
    for (int i = 0; i < kPosts; ++i)
    {
        EXPECT_EQ(sink.received[static_cast<size_t>(i)].code, i);
        EXPECT_EQ(sink.received[static_cast<size_t>(i)].timeMs, i * 2);
    }
    EXPECT_TRUE(allOnMessageThread);
}

TEST(ZylMessageSource, PostMessageStampsMonotonicMillisecondsSinceStart)
{
    ZylMessageSource source;
    RecordingSink sink;
    source.addSink(&sink);

    const int before = zylCurrentTimeMs();
    source.postMessage(&source, kTransportTick);
    juce::Thread::sleep(20);
    source.postMessage(&source, kTransportTick);
    const int after = zylCurrentTimeMs();
    zyltest::drainMessageQueue();

    ASSERT_EQ(sink.received.size(), 2u);
    EXPECT_GE(before, 0);
    EXPECT_GE(sink.received[0].timeMs, before);
    // Processor time would hardly advance while sleeping; the wall-clock difference must show.
    EXPECT_GE(sink.received[1].timeMs - sink.received[0].timeMs, 15);
    EXPECT_LE(sink.received[1].timeMs, after);
}

TEST(ZylMessageSinkList, IgnoresMessagesOfOtherKinds)
{
    struct OtherMessage : juce::Message
    {
    };
    ZylMessageSource source;
    RecordingSink sink;
    source.addSink(&sink);
    source.getSinkList().postMessage(new OtherMessage());
    zyltest::drainMessageQueue();
    EXPECT_TRUE(sink.received.empty());
}
