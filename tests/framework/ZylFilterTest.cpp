#include "framework/ZylHostParameter.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameterMap.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylRealParameter.h"
#include "framework/ZylUnitScaleDomain.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylStateTestFilter.h"
#include "tests/framework/ZylTestDomain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using zyltest::StateTestFilter;

namespace
{
// What the host hears through the processor's listener interface.
class HostListener : public juce::AudioProcessorListener
{
public:
    struct Event
    {
        std::string kind;
        int index;
        float value;
    };

    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        events.push_back({ "value", index, value });
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails& details) override
    {
        if (details.programChanged)
            ++programChanges;
    }
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        events.push_back({ "begin", index, 0.0f });
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        events.push_back({ "end", index, 0.0f });
    }

    std::vector<Event> events;
    int programChanges = 0;
};

struct Filter : ::testing::Test
{
    Filter()
    {
        filter.initialise();
        zyltest::drainMessageQueue();
        filter.addListener(&host);
    }
    ~Filter() override { filter.removeListener(&host); }

    std::vector<HostListener::Event> heard()
    {
        zyltest::drainMessageQueue();
        auto events = host.events;
        host.events.clear();
        return events;
    }

    zyltest::LeafModule& leaf() { return *filter.root().leaf; }

    juce::MemoryBlock bank()
    {
        juce::MemoryBlock block;
        filter.root().saveBankToMemory(block);
        return block;
    }

    StateTestFilter filter;
    HostListener host;
};

constexpr int kPowerIndex = 0;
constexpr int kLevelIndex = 1;
constexpr int kPortIndex = 2;
constexpr int kMixIndex = 3;
constexpr int kNumHostParameters = 4;
} // namespace

TEST_F(Filter, ShowsOnlyOutputsAndFixedAnswers)
{
    EXPECT_EQ(filter.getName(), "lumenfold");
    EXPECT_EQ(filter.getTotalNumInputChannels(), 0);
    EXPECT_EQ(filter.getTotalNumOutputChannels(), 2);
    EXPECT_EQ(filter.getInputChannelName(1), "in1");
    EXPECT_EQ(filter.getOutputChannelName(0), "out0");
    EXPECT_TRUE(filter.isInputChannelStereoPair(0));
    EXPECT_TRUE(filter.isOutputChannelStereoPair(1));
    EXPECT_TRUE(filter.acceptsMidi());
    EXPECT_TRUE(filter.producesMidi());
    EXPECT_EQ(filter.getTailLengthSeconds(), 0.0);
    EXPECT_TRUE(filter.hasEditor());
}

TEST_F(Filter, HostParametersAreAddressedByIndexWithReservedIndexesBeyond)
{
    ASSERT_EQ(filter.getNumParameters(), kNumHostParameters);
    EXPECT_EQ(filter.getParameterName(kPowerIndex), "Power");
    EXPECT_EQ(filter.getParameterName(kLevelIndex), "Level");
    EXPECT_EQ(filter.getParameterName(kPortIndex), "Port");
    EXPECT_EQ(filter.getParameterName(kMixIndex), "%");
    EXPECT_EQ(filter.getParameterText(kPortIndex), "Port A");

    for (int index : { kNumHostParameters, 40, -1 })
    {
        EXPECT_EQ(filter.getParameterName(index), "Rsrvd" + juce::String(index));
        EXPECT_EQ(filter.getParameterText(index), "Reserved");
        EXPECT_EQ(filter.getParameter(index), 0.0f);
        filter.setParameter(index, 0.5f);
    }
    EXPECT_TRUE(heard().empty());

    filter.setParameter(kLevelIndex, 0.5f);
    EXPECT_FLOAT_EQ(filter.getParameter(kLevelIndex), 50.0f / 101.0f);
    EXPECT_EQ(filter.getParameterText(kLevelIndex), "0.50");
    EXPECT_EQ(leaf().level()->getValueObject()->getName(), L"0.50");
}

TEST_F(Filter, OneAdapterPerHostIndexForwardsToTheIndexBasedCalls)
{
    const auto& adapters = filter.getParameters();
    ASSERT_EQ(adapters.size(), kNumHostParameters);
    auto* port = adapters[kPortIndex];
    EXPECT_EQ(port->getName(100), "Port");
    EXPECT_EQ(port->getName(2), "Po");
    EXPECT_TRUE(port->isDiscrete());
    EXPECT_EQ(port->getNumSteps(), 3);
    EXPECT_EQ(port->getText(0.7f, 100), juce::String(juce::CharPointer_UTF8("Gymnop\xc3\xa9" "die no. 1")));
    EXPECT_FLOAT_EQ(port->getValueForText("Port B"), 1.0f / 3.0f);
    EXPECT_EQ(port->getDefaultValue(), 0.0f);

    port->setValue(0.4f);
    EXPECT_EQ(leaf().port()->getValueObject()->getName(), L"Port B");
    EXPECT_EQ(port->getCurrentValueAsText(), "Port B");
    EXPECT_FLOAT_EQ(port->getValue(), 1.0f / 3.0f);
    // The change came from the host: it is not told back.
    EXPECT_TRUE(heard().empty());
}

TEST_F(Filter, InterfaceChangesReachTheHostAndHostChangesAreNotEchoed)
{
    auto* level = leaf().level();
    level->setValueObject(level->getDomain()->getValues()[20], kCauseUser, false, true);
    auto events = heard();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, "value");
    EXPECT_EQ(events[0].index, kLevelIndex);
    EXPECT_FLOAT_EQ(events[0].value, 20.0f / 101.0f);
    // Only the listeners are told: the value stays where the interface put it.
    EXPECT_EQ(level->getValueObject(), level->getDomain()->getValues()[20]);

    level->setValueObject(level->getDomain()->getValues()[30], kCauseHost, false, true);
    filter.setParameter(kPowerIndex, 0.9f);
    EXPECT_TRUE(heard().empty());

    // Parameters the host does not see are not told either.
    leaf().tempo()->setValue(150.0f, kCauseUser, false, true);
    EXPECT_TRUE(heard().empty());
}

TEST_F(Filter, MessagesFromSendersOutsideTheTreeAreIgnored)
{
    // A parameter of another tree that happens to carry a host index of this one.
    ZylUnitScaleDomain scale(nullptr);
    ZylRealParameter foreign(nullptr, 0, kLevelIndex, &scale, false, L"Foreign");
    foreign.setValueObject(scale.getValues()[70], kCauseUser, false, false);
    foreign.setGestureActive(true);
    filter.receiveMessage(foreign.asSender(), zylMessageCode(kValueChanged, kCauseUser), 0);
    filter.receiveMessage(foreign.asSender(), zylMessageCode(kGestureChanged, kCauseState), 0);
    EXPECT_TRUE(heard().empty());

    // Senders that are no parameter at all, as modules and domains post.
    ZylTestDomain domain;
    int plain = 0;
    for (void* sender : { static_cast<void*>(static_cast<ZylDomain*>(&domain)),
                          static_cast<void*>(&plain) })
    {
        filter.receiveMessage(sender, zylMessageCode(kValueChanged, kCauseUser), 0);
        filter.receiveMessage(sender, zylMessageCode(kGestureChanged, kCauseState), 0);
    }
    EXPECT_TRUE(heard().empty());
    EXPECT_EQ(plain, 0);
}

// The gesture events the host heard, as "begin1", "end1" ...
std::vector<std::string> gesturesOf(const std::vector<HostListener::Event>& events)
{
    std::vector<std::string> gestures;
    for (const auto& event : events)
        if (event.kind != "value")
            gestures.push_back(event.kind + std::to_string(event.index));
    return gestures;
}

TEST_F(Filter, GesturesFollowTheParameterFlagAndReachTheHostPaired)
{
    auto* level = leaf().level();
    level->setGestureActive(true);
    EXPECT_EQ(gesturesOf(heard()), (std::vector<std::string>{ "begin1" }));
    // A repeated message while the gesture is open tells the host nothing new.
    level->notifyGestureChanged(kCauseUnspecified);
    EXPECT_TRUE(gesturesOf(heard()).empty());
    level->setGestureActive(false);
    EXPECT_EQ(gesturesOf(heard()), (std::vector<std::string>{ "end1" }));

    // A gesture over before its messages are delivered leaves nothing open.
    level->setGestureActive(true);
    level->setGestureActive(false);
    EXPECT_TRUE(gesturesOf(heard()).empty());
}

TEST_F(Filter, ProgramSwitchInTheMiddleOfAGestureEndsItOnTheHostOnce)
{
    auto* level = leaf().level();
    level->setGestureActive(true);
    heard();

    for (const int cause : { kCauseUser, kCauseHost })
    {
        SCOPED_TRACE(cause);
        if (!level->isGestureActive())
        {
            level->setGestureActive(true);
            EXPECT_EQ(gesturesOf(heard()), (std::vector<std::string>{ "begin1" }));
        }
        const int program = leaf().getCurrentProgram() + 1;
        filter.root().programs->selectProgram(program, cause);
        EXPECT_EQ(gesturesOf(heard()), (std::vector<std::string>{ "end1" }));
        EXPECT_FALSE(level->isGestureActive());
        EXPECT_FALSE(leaf().programParameter(program - 1, 0)->isGestureActive());

        // The drag that was under way ends on the new program: nothing more for the host.
        level->setGestureActive(false);
        EXPECT_TRUE(gesturesOf(heard()).empty());

        // Later gestures pair up as before.
        level->setGestureActive(true);
        heard();
        level->setGestureActive(false);
        level->setGestureActive(true);
        heard();
        level->setGestureActive(false);
        EXPECT_EQ(gesturesOf(heard()), (std::vector<std::string>{ "end1" }));
        level->setGestureActive(true);
        EXPECT_EQ(gesturesOf(heard()), (std::vector<std::string>{ "begin1" }));
    }
    level->setGestureActive(false);
    EXPECT_EQ(gesturesOf(heard()), (std::vector<std::string>{ "end1" }));
}

TEST(FilterTeardown, AGestureStillOpenOnTheHostIsEndedOnce)
{
    HostListener host;
    {
        StateTestFilter filter;
        filter.initialise();
        zyltest::drainMessageQueue();
        filter.addListener(&host);
        filter.root().leaf->level()->setGestureActive(true);
        filter.root().leaf->port()->setGestureActive(true);
        zyltest::drainMessageQueue();
    }
    zyltest::drainMessageQueue();
    EXPECT_EQ(gesturesOf(host.events),
              (std::vector<std::string>{ "begin1", "begin2", "end1", "end2" }));
}

TEST_F(Filter, IsTheTreesHostLink)
{
    ZylHostLink& link = filter;
    EXPECT_EQ(filter.getModuleContainer()->getFilter(), &link);
    EXPECT_EQ(&link.getHostCallbackLock(), &filter.getCallbackLock());
    EXPECT_EQ(&filter.getModuleContainer()->getCallbackLock(), &filter.getCallbackLock());
    link.setSuspended(true);
    EXPECT_TRUE(filter.juce::AudioProcessor::isSuspended());
    EXPECT_TRUE(link.isSuspended());
    link.setSuspended(false);
    EXPECT_FALSE(filter.juce::AudioProcessor::isSuspended());
    const int before = host.programChanges;
    link.notifyHostDisplayChanged();
    heard();
    EXPECT_GT(host.programChanges, before);
}

TEST_F(Filter, ProgramsGoThroughTheProgramModule)
{
    EXPECT_EQ(filter.getNumPrograms(), 128);
    EXPECT_EQ(filter.getCurrentProgram(), 0);
    filter.changeProgramName(4, "Bass");
    EXPECT_EQ(filter.getProgramName(4), "Bass");

    filter.setCurrentProgram(4);
    EXPECT_EQ(filter.getCurrentProgram(), 4);
    EXPECT_EQ(leaf().getCurrentProgram(), 4);
    heard();

    // A switch from the interface updates the host's display once the message is handled.
    const int before = host.programChanges;
    filter.root().programs->selectProgram(6, kCauseUser);
    heard();
    EXPECT_EQ(leaf().getCurrentProgram(), 6);
    EXPECT_GT(host.programChanges, before);
}

TEST_F(Filter, StateCallsSuspendProcessingAndRestoreTheFlag)
{
    juce::MemoryBlock state;
    filter.getStateInformation(state);
    EXPECT_FALSE(filter.isSuspended());
    EXPECT_FALSE(filter.juce::AudioProcessor::isSuspended());

    filter.setSuspended(true);
    filter.getStateInformation(state);
    EXPECT_TRUE(filter.isSuspended());
    EXPECT_TRUE(filter.juce::AudioProcessor::isSuspended());
    filter.setSuspended(false);
    EXPECT_FALSE(filter.juce::AudioProcessor::isSuspended());
}

TEST_F(Filter, StateRoundTripsThroughTheHostCalls)
{
    leaf().level()->setValueObject(leaf().level()->getDomain()->getValues()[60], kCauseUser, false,
                                   true);
    filter.changeProgramName(0, "Keys");
    juce::MemoryBlock state;
    filter.getStateInformation(state);
    juce::MemoryBlock programState;
    filter.getCurrentProgramStateInformation(programState);

    StateTestFilter other;
    other.initialise();
    other.setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    juce::MemoryBlock again;
    other.getStateInformation(again);
    EXPECT_EQ(again, state);
    EXPECT_EQ(other.getProgramName(0), "Keys");
    EXPECT_FALSE(other.isSuspended());

    other.setCurrentProgram(3);
    other.setCurrentProgramStateInformation(programState.getData(),
                                            static_cast<int>(programState.getSize()));
    EXPECT_EQ(other.getProgramName(3), "Keys");
    EXPECT_EQ(other.root().leaf->level()->getValueObject()->getName(), L"0.60");

    // The whole tree resent its values: the host hears the loaded ones.
    other.addListener(&host);
    other.setStateInformation(state.getData(), static_cast<int>(state.getSize()));
    zyltest::drainMessageQueue();
    other.removeListener(&host);
    bool levelHeard = false;
    for (const auto& event : host.events)
        levelHeard = levelHeard || (event.kind == "value" && event.index == kLevelIndex);
    EXPECT_TRUE(levelHeard);
}

TEST_F(Filter, ForeignOrDamagedStatesChangeNothing)
{
    const auto before = bank();
    const std::string cases[] = { "", "<fxb/>", "\xff\xfe", "<fxb><mod n=\"lumenfold\" v=\"3.0.0\"/></fxb>" };
    for (const auto& data : cases)
    {
        filter.setStateInformation(data.data(), static_cast<int>(data.size()));
        filter.setCurrentProgramStateInformation(data.data(), static_cast<int>(data.size()));
        EXPECT_EQ(bank(), before);
        EXPECT_FALSE(filter.isSuspended());
    }
    filter.setStateInformation(nullptr, 0);
    EXPECT_EQ(bank(), before);
}

TEST_F(Filter, DrivesTheTreeThroughPrepareAndProcessWithItsOwnBuffers)
{
    leaf().level()->setValueObject(leaf().level()->getDomain()->getValues()[25], kCauseUser, false,
                                   true);
    const float level = leaf().level()->getValue();

    filter.setPlayConfigDetails(0, 2, 48000.0, 64);
    filter.prepareToPlay(48000.0, 64);
    EXPECT_EQ(leaf().preparedRate, 48000.0);
    EXPECT_EQ(leaf().preparedBlockSize, 64);

    juce::AudioBuffer<float> buffer(2, 64);
    buffer.clear();
    juce::MidiBuffer midi;
    for (int block = 0; block < 3; ++block)
    {
        midi.clear();
        const juce::ScopedLock sl(filter.getCallbackLock());
        filter.processBlock(buffer, midi);
    }
    EXPECT_EQ(leaf().blocks, 3);
    EXPECT_EQ(buffer.getSample(0, 0), level);
    EXPECT_EQ(buffer.getSample(1, 63), level);
    ASSERT_EQ(midi.getNumEvents(), 1);
    EXPECT_TRUE((*midi.begin()).getMessage().isNoteOn());

    filter.releaseResources();
    buffer.clear();
    filter.processBlock(buffer, midi);
    EXPECT_EQ(buffer.getSample(0, 0), 0.0f) << "no cable once released";
}

TEST_F(Filter, FileCallsUseTheCurrentProgram)
{
    auto folder = juce::File::createTempFile("lumenfold-filter");
    folder.createDirectory();
    filter.changeProgramName(2, "Two");
    filter.setCurrentProgram(2);
    const auto file = folder.getChildFile("two.fxp");
    ASSERT_TRUE(filter.saveProgramToFile(file));
    filter.setCurrentProgram(8);
    ASSERT_TRUE(filter.loadProgramFromFile(file));
    EXPECT_EQ(filter.getProgramName(8), "Two");

    const auto bankFile = folder.getChildFile("bank.fxb");
    ASSERT_TRUE(filter.saveBankToFile(bankFile));
    EXPECT_TRUE(filter.loadBankFromFile(bankFile));
    EXPECT_FALSE(filter.loadBankFromFile(file));
    folder.deleteRecursively();
}
