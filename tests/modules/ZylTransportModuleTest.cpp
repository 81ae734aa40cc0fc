#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylModuleMap.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterMap.h"
#include "framework/ZylValue.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportModule.h"
#include "modules/ZylTransportStateDomain.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylStateTestFilter.h"
#include "tests/framework/ZylStateTestTree.h"
#include "tests/framework/ZylTestDomain.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace
{
using CurrentPosition = juce::AudioPlayHead::CurrentPositionInfo;

// A host's play head whose answer the test sets; answering false stands for a host that has no
// position for this block.
class FakePlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        if (!answers)
            return juce::nullopt;
        return info;
    }

    void set(double bpm, int numerator, int denominator, double ppq, bool playing)
    {
        info = PositionInfo();
        info.setBpm(bpm);
        info.setTimeSignature(TimeSignature { numerator, denominator });
        info.setPpqPosition(ppq);
        info.setIsPlaying(playing);
    }

    bool answers = true;
    PositionInfo info;
};

constexpr double kRate = 44100.0;

struct Transport : ::testing::Test
{
    Transport()
    {
        transport = std::make_unique<ZylTransportModule>(&container);
        transport->initialise();
        transport->stopTimer(); // ticks are driven by hand
        for (auto* parameter : watched())
            parameter->addSink(&sink);
        delivered();
    }

    ~Transport() override
    {
        for (auto* parameter : watched())
            parameter->removeSink(&sink);
        container.setPlayHead(nullptr);
        transport.reset();
    }

    std::vector<ZylParameter*> watched() const
    {
        return { state(), bpm(), numerator(), denominator(), container.getResetParameter() };
    }

    ZylParameter* state() const { return transport->getStateParameter(); }
    ZylParameter* bpm() const { return transport->getBpmParameter(); }
    ZylParameter* numerator() const { return transport->getNumeratorParameter(); }
    ZylParameter* denominator() const { return transport->getDenominatorParameter(); }
    ZylTransportStateDomain* states() const { return transport->getDomainSet()->getStateDomain(); }

    // What the sink received since the last call.
    std::vector<ZylTestSink::Entry> delivered()
    {
        zyltest::drainMessageQueue();
        auto entries = sink.entries;
        sink.entries.clear();
        return entries;
    }

    static std::vector<int> codesOf(const std::vector<ZylTestSink::Entry>& entries, ZylParameter* from)
    {
        std::vector<int> codes;
        for (const auto& entry : entries)
            if (entry.sender == from->asSender())
                codes.push_back(entry.code);
        return codes;
    }

    static int count(const std::vector<int>& codes, int code)
    {
        return static_cast<int>(std::count(codes.begin(), codes.end(), code));
    }

    // One block as the root runs it: under the callback lock, then the clock advances.
    void block(int numSamples)
    {
        const juce::ScopedLock lock(container.getCallbackLock());
        transport->processBlock(numSamples);
        transport->advanceSamplePosition(numSamples);
    }

    void setClock(double samples)
    {
        const juce::ScopedLock lock(container.getCallbackLock());
        transport->setSamplePosition(samples);
    }

    void setState(ZylValue* value)
    {
        state()->setValueObject(value, kCauseUser, false, true);
        delivered();
    }

    // Sets a timing parameter as the header does and lets the transport take it.
    void type(ZylParameter* parameter, float value)
    {
        parameter->setValue(value, kCauseUser, false, true);
        delivered();
    }

    void barAndBeat(int& bar, int& beat)
    {
        CurrentPosition info;
        bool hostUsed = false;
        transport->copyPosition(info, bar, beat, hostUsed);
    }

    ZylModuleContainer container;
    std::unique_ptr<ZylTransportModule> transport;
    ZylTestSink sink;
    FakePlayHead head;
};
} // namespace

TEST_F(Transport, StartsArmedAt90InFourFourWithItsParametersRegistered)
{
    EXPECT_EQ(container.getModule(ZylTransportModule::kModuleId), transport.get());
    EXPECT_TRUE(transport->isArmed());
    EXPECT_FALSE(transport->isPlaying());
    EXPECT_FALSE(transport->isStopped());
    EXPECT_EQ(transport->getPosition().bpm, 90.0);
    EXPECT_EQ(transport->getNumerator(), 4);
    EXPECT_EQ(transport->getDenominator(), 4);
    EXPECT_EQ(bpm()->getValue(), 120.0f);
    EXPECT_EQ(numerator()->getValue(), 4.0f);
    EXPECT_EQ(denominator()->getValue(), 4.0f);

    // Internal indexes -1, -2, -3, so the host does not list them; the state parameter is -1 in
    // the command set and not in the map.
    EXPECT_EQ(bpm()->getAutomationIndex(), -1);
    EXPECT_EQ(numerator()->getAutomationIndex(), -2);
    EXPECT_EQ(denominator()->getAutomationIndex(), -3);
    EXPECT_EQ(state()->getAutomationIndex(), -1);
    EXPECT_EQ(bpm()->getDomain(), transport->getDomainSet()->getDomains()[0]);
    EXPECT_EQ(state()->getDomain(), states());

    int bar = 0;
    int beat = 0;
    barAndBeat(bar, beat);
    EXPECT_EQ(bar, -1);
    EXPECT_EQ(beat, -1);
}

TEST_F(Transport, EachCommandInEachState)
{
    enum Command
    {
        Start,
        Restart,
        Rewind,
        Stop
    };
    struct Case
    {
        Command command;
        ZylValue* from;
        ZylValue* to;
        bool rewinds;
        bool resets;
    };
    auto* s = states()->getStopped();
    auto* a = states()->getArmed();
    auto* p = states()->getPlaying();
    const Case cases[] = {
        { Start, s, a, false, false },  { Start, a, p, false, false },
        { Start, p, p, false, false },  { Restart, s, a, false, true },
        { Restart, a, p, true, true },  { Restart, p, p, true, true },
        { Rewind, s, s, false, true },  { Rewind, a, a, false, true },
        { Rewind, p, p, true, true },   { Stop, s, s, false, true },
        { Stop, a, s, false, true },    { Stop, p, a, false, true },
    };
    const char* names[] = { "start", "restart", "rewind", "stop" };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(names[c.command]) + " from "
                     + juce::String(c.from->getName().c_str()).toStdString());
        setState(c.from);
        setClock(4096.0);
        switch (c.command)
        {
        case Start: transport->start(); break;
        case Restart: transport->restart(); break;
        case Rewind: transport->rewind(); break;
        case Stop: transport->stop(); break;
        }
        const auto entries = delivered();

        EXPECT_EQ(state()->getValueObject(), c.to);
        EXPECT_EQ(transport->getSamplePosition(), c.rewinds ? 0.0 : 4096.0);

        // The reset goes out before the state changes.
        int resetAt = -1;
        int changeAt = -1;
        for (size_t i = 0; i < entries.size(); ++i)
        {
            if (entries[i].sender == container.getResetParameter()->asSender()
                && entries[i].code == kResetCommand && resetAt < 0)
                resetAt = static_cast<int>(i);
            if (entries[i].sender == state()->asSender()
                && (entries[i].code & 0xff00) == kValueChanged)
                changeAt = static_cast<int>(i);
        }
        EXPECT_EQ(resetAt >= 0, c.resets);
        EXPECT_EQ(changeAt >= 0, c.from != c.to); // no value change when the state stays
        if (c.resets && changeAt >= 0)
        {
            EXPECT_LT(resetAt, changeAt);
        }
        EXPECT_EQ(transport->isResetPending(), c.resets);
        block(0); // carries out the reset
        EXPECT_FALSE(transport->isResetPending());
    }
}

TEST_F(Transport, StartFromStoppedNeedsTwoStartsAndStopFromPlayingTwoStops)
{
    setState(states()->getStopped());
    transport->start();
    delivered();
    EXPECT_TRUE(transport->isArmed());
    transport->start();
    delivered();
    EXPECT_TRUE(transport->isPlaying());
    transport->stop();
    delivered();
    EXPECT_TRUE(transport->isArmed());
    transport->stop();
    delivered();
    EXPECT_TRUE(transport->isStopped());
}

TEST_F(Transport, OwnClockBarAndBeatAtTheSamePointInFourTimeSignatures)
{
    // 90 bpm at 44100 Hz: one quarter note is 29400 samples, 88200 samples are 3 quarters.
    struct Case
    {
        int numerator;
        int denominator;
        double samples;
        int bar;
        int beat;
    };
    const Case cases[] = {
        { 4, 4, 88200.0, 0, 3 },  { 4, 4, 88199.0, 0, 2 },  { 4, 4, 117600.0, 1, 0 },
        { 3, 4, 88200.0, 1, 0 },  { 3, 4, 176400.0, 2, 0 }, { 3, 4, 147000.0, 1, 2 },
        { 6, 8, 88200.0, 1, 0 },  { 6, 8, 102900.0, 1, 1 }, { 6, 8, 88199.0, 0, 5 },
        { 7, 8, 88200.0, 0, 6 },  { 7, 8, 102900.0, 1, 0 }, { 7, 8, 205800.0, 2, 0 },
    };
    transport->prepareToPlay(kRate, 512);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.numerator) + "/" + std::to_string(c.denominator) + " at "
                     + std::to_string(c.samples));
        type(numerator(), static_cast<float>(c.numerator));
        type(denominator(), static_cast<float>(c.denominator));
        setClock(c.samples);
        block(512);
        EXPECT_DOUBLE_EQ(transport->getPosition().ppqPosition, c.samples / kRate * 1.5);
        int bar = 0;
        int beat = 0;
        barAndBeat(bar, beat);
        EXPECT_EQ(bar, c.bar);
        EXPECT_EQ(beat, c.beat);
    }
}

TEST_F(Transport, BarAndBeatMessagesFollowTheClockAcrossBlockBoundaries)
{
    struct Case
    {
        int numerator;
        int denominator;
    };
    const Case cases[] = { { 4, 4 }, { 3, 4 }, { 6, 8 }, { 7, 8 } };
    constexpr int kBlock = 500; // not a divisor of any beat length below
    constexpr std::int64_t kQuarter = 29400; // samples at 90 bpm and 44100 Hz

    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.numerator) + "/" + std::to_string(c.denominator));
        transport->prepareToPlay(kRate, kBlock);
        type(numerator(), static_cast<float>(c.numerator));
        type(denominator(), static_cast<float>(c.denominator));
        // Leave the rewound clock once so that bar 0, beat 0 are published before counting.
        setClock(1.0);
        block(0);
        setClock(0.0);
        delivered();

        const std::int64_t beatLength = kQuarter * 4 / c.denominator;
        const std::int64_t barLength = beatLength * c.numerator;
        int expectedBars = 0;
        int expectedBeats = 0;
        int lastBar = 0;
        int lastBeat = 0;
        for (std::int64_t start = 0; start < 2 * barLength + 3 * beatLength; start += kBlock)
        {
            block(kBlock);
            const int bar = static_cast<int>(start / barLength);
            const int beat = static_cast<int>((start % barLength) / beatLength);
            expectedBars += bar != lastBar ? 1 : 0;
            expectedBeats += beat != lastBeat ? 1 : 0;
            lastBar = bar;
            lastBeat = beat;
            int publishedBar = 0;
            int publishedBeat = 0;
            barAndBeat(publishedBar, publishedBeat);
            ASSERT_EQ(publishedBar, bar) << "block at " << start;
            ASSERT_EQ(publishedBeat, beat) << "block at " << start;
        }
        const auto codes = codesOf(delivered(), state());
        EXPECT_EQ(expectedBars, 2);
        EXPECT_EQ(expectedBeats, 2 * c.numerator + 2); // the last beat starts where the run ends
        EXPECT_EQ(count(codes, kBarChanged), expectedBars);
        EXPECT_EQ(count(codes, kBeatChanged), expectedBeats);
    }
}

TEST_F(Transport, BarAndBeatStayUnsetUntilThePublishedPositionFirstChanges)
{
    // prepareToPlay rewinds and runs one block; at the start position that block publishes
    // nothing, because nothing differs from the stored position yet.
    setClock(10000.0);
    transport->prepareToPlay(kRate, 256);
    EXPECT_EQ(transport->getSampleRate(), kRate);
    EXPECT_EQ(transport->getSamplePosition(), 0.0);
    int bar = 0;
    int beat = 0;
    barAndBeat(bar, beat);
    EXPECT_EQ(bar, -1);
    EXPECT_EQ(beat, -1);
    EXPECT_TRUE(codesOf(delivered(), state()).empty());

    block(256); // still at sample 0
    block(256); // at sample 256: the position moved
    barAndBeat(bar, beat);
    EXPECT_EQ(bar, 0);
    EXPECT_EQ(beat, 0);
    EXPECT_EQ(codesOf(delivered(), state()), (std::vector<int> { kBarChanged, kBeatChanged }));
}

TEST_F(Transport, TypedTempoOrSignatureRewindsTheOwnClockAndPostsABeat)
{
    transport->prepareToPlay(kRate, 512);
    delivered();
    for (auto* parameter : { bpm(), numerator(), denominator() })
    {
        setClock(50000.0);
        parameter->setValue(parameter == bpm() ? 100.0f : 2.0f, kCauseUser, false, true);
        const auto entries = delivered();
        EXPECT_EQ(transport->getSamplePosition(), 0.0);
        EXPECT_EQ(codesOf(entries, state()), std::vector<int> { kBeatChanged });
    }
    EXPECT_EQ(transport->getPosition().bpm, 100.0);
    EXPECT_EQ(transport->getNumerator(), 2);
    EXPECT_EQ(transport->getDenominator(), 2);

    // A refused number posts too and re-applies the kept one.
    setClock(50000.0);
    bpm()->setValue(5.0f, kCauseUser, false, true);
    delivered();
    EXPECT_EQ(transport->getSamplePosition(), 0.0);
    EXPECT_EQ(transport->getPosition().bpm, 100.0);
}

TEST_F(Transport, OwnClockRunsOnPast31BitSamplePositions)
{
    transport->prepareToPlay(kRate, 8192);
    type(bpm(), 150.0f); // 17640 samples a beat
    const double start = 2147483648.0 - 3 * 8192.0;
    setClock(start);
    delivered();

    double previousPpq = -1.0;
    for (int i = 0; i < 12; ++i)
    {
        const double blockStart = start + i * 8192.0;
        block(8192);
        const double ppq = transport->getPosition().ppqPosition;
        EXPECT_DOUBLE_EQ(ppq, blockStart / kRate * 2.5);
        EXPECT_GT(ppq, previousPpq);
        previousPpq = ppq;
    }
    EXPECT_EQ(transport->getSamplePosition(), start + 12 * 8192.0);
    int bar = 0;
    int beat = 0;
    barAndBeat(bar, beat);
    EXPECT_EQ(bar, static_cast<int>(std::floor(previousPpq / 4.0)));
    EXPECT_GT(bar, 30000);
    // 98304 samples at 17640 a beat cross at least five beats, each told.
    EXPECT_GE(count(codesOf(delivered(), state()), kBeatChanged), 5);
}

TEST_F(Transport, TickEveryTimerCall)
{
    transport->timerCallback();
    transport->timerCallback();
    EXPECT_EQ(count(codesOf(delivered(), state()), kTransportTick), 2);
}

TEST_F(Transport, FollowsTheHostStartingWhileArmedAndStoppingWhilePlaying)
{
    transport->prepareToPlay(kRate, 512);
    container.setPlayHead(&head);
    delivered();

    head.set(120.0, 4, 4, 0.0, false);
    block(512);
    delivered();
    EXPECT_TRUE(transport->isArmed());

    setClock(7000.0);
    head.set(120.0, 4, 4, 0.5, true);
    block(512);
    EXPECT_EQ(transport->getSamplePosition(), 512.0); // rewound at the start, then advanced
    const auto started = codesOf(delivered(), state());
    EXPECT_EQ(count(started, zylCommandCode(kCommandTransportStart)), 1);
    EXPECT_TRUE(transport->isPlaying());

    CurrentPosition info;
    int bar = 0;
    int beat = 0;
    bool hostUsed = false;
    transport->copyPosition(info, bar, beat, hostUsed);
    EXPECT_TRUE(hostUsed);
    EXPECT_TRUE(info.isPlaying);
    EXPECT_EQ(info.ppqPosition, 0.5);

    // Playing on with the host: no command.
    head.set(120.0, 4, 4, 1.0, true);
    block(512);
    EXPECT_EQ(count(codesOf(delivered(), state()), zylCommandCode(kCommandTransportStart)), 0);

    head.set(120.0, 4, 4, 1.5, false);
    block(512);
    const auto stopped = delivered();
    EXPECT_EQ(count(codesOf(stopped, state()), zylCommandCode(kCommandTransportStop)), 1);
    EXPECT_TRUE(transport->isArmed());
}

TEST_F(Transport, HostPlayStateIsIgnoredWhileStopped)
{
    setState(states()->getStopped());
    container.setPlayHead(&head);
    head.set(120.0, 4, 4, 2.0, true);
    block(512);
    head.set(120.0, 4, 4, 3.0, false);
    block(512);
    delivered();
    EXPECT_TRUE(transport->isStopped());
}

TEST_F(Transport, PlayingWhileTheHostStandsStillRunsTheOwnClockAtTheHostTempo)
{
    transport->prepareToPlay(kRate, 512);
    setState(states()->getPlaying());
    container.setPlayHead(&head);
    // The stored play flag follows the transport (Playing); the host is stopped.
    head.set(60.0, 4, 4, 100.0, false);
    {
        const juce::ScopedLock lock(container.getCallbackLock());
        CurrentPosition info;
        info.isPlaying = false;
        transport->publishPosition(info);
    }
    setClock(88200.0);
    block(512);
    EXPECT_DOUBLE_EQ(transport->getPosition().ppqPosition, 2.0);
    EXPECT_TRUE(transport->isPlaying());
}

TEST_F(Transport, PushesTheHostTempoAndSignatureOnlyWhenTheyChange)
{
    transport->prepareToPlay(kRate, 512);
    container.setPlayHead(&head);
    delivered();

    head.set(140.0, 3, 8, 0.0, false);
    block(512);
    auto entries = delivered();
    EXPECT_EQ(bpm()->getValue(), 140.0f);
    EXPECT_EQ(numerator()->getValue(), 3.0f);
    EXPECT_EQ(denominator()->getValue(), 8.0f);
    EXPECT_EQ(codesOf(entries, bpm()), std::vector<int> { zylMessageCode(kValueChanged, kCauseTransport) });
    EXPECT_EQ(codesOf(entries, numerator()).size(), 1u);
    EXPECT_EQ(codesOf(entries, denominator()).size(), 1u);
    EXPECT_EQ(transport->getPosition().bpm, 140.0);
    EXPECT_EQ(transport->getNumerator(), 3);

    // The same position again: no push, no bar or beat message.
    block(512);
    block(512);
    EXPECT_TRUE(delivered().empty());

    // A new tempo alone pushes the tempo alone.
    head.set(150.5, 3, 8, 0.0, false);
    block(512);
    entries = delivered();
    EXPECT_EQ(bpm()->getValue(), 150.5f);
    EXPECT_EQ(codesOf(entries, bpm()).size(), 1u);
    EXPECT_TRUE(codesOf(entries, numerator()).empty());
    EXPECT_TRUE(codesOf(entries, denominator()).empty());
}

TEST_F(Transport, HostValuesOutOfRangeAreBroughtIntoRangeOnce)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        double bpm;
        int numerator;
        int denominator;
        float expectedBpm;
        float expectedNumerator;
        float expectedDenominator;
    };
    const Case cases[] = {
        { 0.0, 4, 4, 120.0f, 4.0f, 4.0f },    { -5.0, 4, 4, 120.0f, 4.0f, 4.0f },
        { nan, 4, 4, 120.0f, 4.0f, 4.0f },    { 10.0, 4, 4, 20.0f, 4.0f, 4.0f },
        { 5000.0, 4, 4, 999.0f, 4.0f, 4.0f }, { inf, 4, 4, 999.0f, 4.0f, 4.0f },
        { 100.0, 0, 0, 100.0f, 4.0f, 4.0f },  { 100.0, -3, -8, 100.0f, 4.0f, 4.0f },
        { 100.0, 200, 32, 100.0f, 99.0f, 16.0f },
    };
    transport->prepareToPlay(kRate, 512);
    container.setPlayHead(&head);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.bpm) + " " + std::to_string(c.numerator) + "/"
                     + std::to_string(c.denominator));
        // Start from a known, different host state.
        head.set(77.0, 5, 2, 0.0, false);
        block(512);
        delivered();

        head.set(c.bpm, c.numerator, c.denominator, 1.0, false);
        block(512);
        delivered();
        EXPECT_EQ(bpm()->getValue(), c.expectedBpm);
        EXPECT_EQ(numerator()->getValue(), c.expectedNumerator);
        EXPECT_EQ(denominator()->getValue(), c.expectedDenominator);
        EXPECT_EQ(transport->getPosition().bpm, static_cast<double>(c.expectedBpm));

        // While the host keeps the value, nothing more is pushed, refused or rewound.
        setClock(30000.0);
        for (int i = 0; i < 5; ++i)
            block(512);
        EXPECT_TRUE(delivered().empty());
        EXPECT_EQ(transport->getSamplePosition(), 30000.0 + 5 * 512.0);
    }
}

TEST_F(Transport, HostPositionsThatAreNotNumbersOrHugeGiveBoundedBarsAndBeats)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case
    {
        double ppq;
        int bar;
        int beat;
    };
    const Case cases[] = {
        { nan, 0, 0 },
        { 1.0e300, std::numeric_limits<int>::max(), 0 },
        { -1.0e300, std::numeric_limits<int>::min(), 0 },
        { -1.0, -1, 3 },
    };
    container.setPlayHead(&head);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.ppq);
        head.set(120.0, 4, 4, c.ppq, false);
        block(512);
        int bar = 0;
        int beat = 0;
        barAndBeat(bar, beat);
        EXPECT_EQ(bar, c.bar);
        if (std::isfinite(c.ppq) && std::abs(c.ppq) < 1.0e9)
        {
            EXPECT_EQ(beat, c.beat);
        }
    }
    delivered();
}

TEST_F(Transport, APlayHeadWithoutAnAnswerFallsBackToTheOwnClock)
{
    transport->prepareToPlay(kRate, 512);
    container.setPlayHead(&head);
    head.answers = false;
    setClock(88200.0);
    block(512);
    CurrentPosition info;
    int bar = 0;
    int beat = 0;
    bool hostUsed = true;
    transport->copyPosition(info, bar, beat, hostUsed);
    EXPECT_FALSE(hostUsed);
    EXPECT_DOUBLE_EQ(info.ppqPosition, 3.0); // the stored 90 bpm
    EXPECT_EQ(info.bpm, 90.0);
    EXPECT_FALSE(info.isPlaying);
    delivered();
}

// A standalone run's player hands over a play head of its own that knows only the time; such a
// position keeps the typed tempo and time signature and the own clock.
TEST_F(Transport, OnlyAPositionWithATempoOrAMusicalPositionDrivesTheTransport)
{
    using PositionInfo = juce::AudioPlayHead::PositionInfo;
    PositionInfo player;
    player.setTimeInSamples(88200);
    player.setTimeInSeconds(2.0);
    player.setHostTimeNs(987654321u);
    PositionInfo host;
    host.setBpm(140.0);
    host.setPpqPosition(9.0);

    struct Case
    {
        const char* what;
        bool answers;
        PositionInfo info;
        bool hostUsed;
        double bpm;
        int numerator;
        double ppq;
        int bar;
    };
    // The own clock stands at 2 s: 100 bpm make 3.33 quarter notes, one bar of 3/4 and a bit.
    const Case cases[] = {
        { "no answer", false, PositionInfo(), false, 100.0, 3, 2.0 * 100.0 / 60.0, 1 },
        { "empty position", true, PositionInfo(), false, 100.0, 3, 2.0 * 100.0 / 60.0, 1 },
        { "samples, seconds and host time", true, player, false, 100.0, 3, 2.0 * 100.0 / 60.0, 1 },
        { "a host's tempo and ppq", true, host, true, 140.0, 4, 9.0, 2 },
    };
    transport->prepareToPlay(kRate, 512);
    container.setPlayHead(&head);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        type(bpm(), 100.0f);
        type(numerator(), 3.0f);
        type(denominator(), 4.0f);
        head.answers = c.answers;
        head.info = c.info;
        setClock(88200.0);
        block(512);
        delivered();

        CurrentPosition info;
        int bar = -1;
        int beat = -1;
        bool hostUsed = !c.hostUsed;
        transport->copyPosition(info, bar, beat, hostUsed);
        EXPECT_EQ(hostUsed, c.hostUsed);
        EXPECT_EQ(info.bpm, c.bpm);
        EXPECT_EQ(info.timeSigNumerator, c.numerator);
        EXPECT_NEAR(info.ppqPosition, c.ppq, 1.0e-9);
        EXPECT_EQ(bar, c.bar);
        EXPECT_EQ(bpm()->getValue(), static_cast<float>(c.bpm));
        EXPECT_EQ(numerator()->getValue(), static_cast<float>(c.numerator));
        EXPECT_EQ(denominator()->getValue(), 4.0f);
    }
}

TEST_F(Transport, StoredTempoOfZeroOrNoSampleRateHoldsTheOwnClockAtZero)
{
    setClock(88200.0);
    block(512); // no prepareToPlay yet: no rate
    EXPECT_EQ(transport->getPosition().ppqPosition, 0.0);

    transport->prepareToPlay(kRate, 512);
    {
        const juce::ScopedLock lock(container.getCallbackLock());
        transport->setBpm(0.0f);
    }
    setClock(88200.0);
    block(512);
    EXPECT_EQ(transport->getPosition().ppqPosition, 0.0);
    delivered();
}

TEST(ProcessorPlayHead, TheProcessorLendsTheHostsPlayHeadToTheTreeForOneBlock)
{
    zyltest::StateTestFilter filter;
    filter.initialise();
    zyltest::drainMessageQueue();
    auto* container = filter.getModuleContainer();
    EXPECT_EQ(container->getPlayHead(), nullptr);

    FakePlayHead head;
    filter.setPlayConfigDetails(0, 2, kRate, 64);
    filter.prepareToPlay(kRate, 64);
    juce::AudioBuffer<float> buffer(2, 64);
    juce::MidiBuffer midi;
    for (auto* playHead : { static_cast<juce::AudioPlayHead*>(&head),
                            static_cast<juce::AudioPlayHead*>(nullptr) })
    {
        filter.setPlayHead(playHead);
        const juce::ScopedLock sl(filter.getCallbackLock());
        filter.processBlock(buffer, midi);
        // Lent for the block only: the tree keeps no play head after it.
        EXPECT_EQ(container->getPlayHead(), nullptr);
    }
    filter.releaseResources();
    zyltest::drainMessageQueue();
}
