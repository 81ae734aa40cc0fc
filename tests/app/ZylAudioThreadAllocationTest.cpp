// The audio thread allocates nothing: every source of notes is driven through the product
// processor, and after a warm-up the blocks make no heap call but what posting their change
// messages costs (each message, and the system queue's room for them; the messages are
// delivered and freed later, on the message thread), and they free nothing.
#include "app/ZylLumenfoldFilter.h"
#include "app/ZylLumenfoldModule.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMessageSink.h"
#include "framework/ZylMessageSource.h"
#include "framework/ZylModuleContainer.h"
#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylMidiOutputDeviceManager.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylTransportModule.h"
#include "space/ZylCell.h"
#include "space/ZylCellStates.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceModule.h"
#include "tests/TestAllocationCounter.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylParameterTestSupport.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"
#include "tests/space/ZylSpaceTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace
{
constexpr double kAllocationRate = 44100.0;
constexpr int kAllocationBlock = 512;
constexpr int kAllocationWarmUpBlocks = 200;
constexpr int kAllocationCountedBlocks = 200;

// Keeps the optimiser from leaving out a new and delete pair whose block nobody reads.
std::vector<int>* volatile allocationTestEscape = nullptr;
std::vector<int>* volatile allocationTestOtherEscape = nullptr;

TEST(AllocationCounter, CountsTheCallingThreadOnly)
{
    std::atomic<bool> go { false };
    std::atomic<std::int64_t> otherThread { -1 };
    std::thread other([&] {
        while (!go)
            std::this_thread::yield();
        const zyltest::ScopedAllocationCounter counter;
        allocationTestOtherEscape = new std::vector<int>(3);
        delete allocationTestOtherEscape;
        otherThread = counter.getAllocations();
    });
    juce::Array<int> grown;
    {
        const zyltest::ScopedAllocationCounter counter;
        go = true;
        allocationTestEscape = new std::vector<int>(100);
        while (otherThread < 0)
            std::this_thread::yield();
        delete allocationTestEscape;
        EXPECT_EQ(counter.getAllocations(), 2); // the vector and its storage, not the thread's
        EXPECT_EQ(counter.getFrees(), 2);
        for (int i = 0; i < 100; ++i)
            grown.add(i);
        // JUCE's containers grow through realloc.
        if (zyltest::ScopedAllocationCounter::countsCAllocations())
        {
            EXPECT_GT(counter.getAllocations(), 2);
        }
    }
    other.join();
    EXPECT_EQ(otherThread, 2);
    EXPECT_EQ(grown.size(), 100);
}

// Counts the change messages that reach the processor's parameters' sinks, and apart those
// that are not the transport's bar and beat changes.
class AllocationTestSink : public ZylMessageSink
{
public:
    void receiveMessage(void*, int code, int) override
    {
        ++received;
        if (code != kBarChanged && code != kBeatChanged)
            ++notBarOrBeat;
    }
    std::int64_t received = 0;
    std::int64_t notBarOrBeat = 0;
};

// The heap calls that posting some messages makes on this platform, into a drained queue, as a
// block posts them: the message each, and what the system queue does to hold them.
struct AllocationPostCost
{
    std::int64_t allocations = 0;
    std::int64_t frees = 0;
};

AllocationPostCost allocationCostOfPosts(int count)
{
    static std::vector<AllocationPostCost> known;
    if (count < static_cast<int>(known.size()))
        return known[static_cast<size_t>(count)];
    AllocationTestSink sink;
    ZylMessageSource source;
    source.addSink(&sink);
    // The first post of a source also creates the weak reference its messages carry.
    source.postMessage(nullptr, 0);
    zyltest::drainMessageQueue();
    for (int k = static_cast<int>(known.size()); k <= count; ++k)
    {
        AllocationPostCost cost;
        {
            const zyltest::ScopedAllocationCounter counter;
            for (int i = 0; i < k; ++i)
                source.postMessage(nullptr, 0);
            cost = { counter.getAllocations(), counter.getFrees() };
        }
        zyltest::drainMessageQueue();
        known.push_back(cost);
    }
    source.removeSink(&sink);
    return known[static_cast<size_t>(count)];
}

// The fake ports, with what the output ports record for the test left out of the count.
class AllocationTestPorts : public ZylFakeMidiPortBackend
{
public:
    std::unique_ptr<ZylMidiOutputPort> openOutput(const juce::String& name) override
    {
        auto port = ZylFakeMidiPortBackend::openOutput(name);
        if (port == nullptr)
            return nullptr;
        return std::make_unique<Uncounted>(std::move(port));
    }

private:
    class Uncounted : public ZylMidiOutputPort
    {
    public:
        explicit Uncounted(std::unique_ptr<ZylMidiOutputPort> port) : inner(std::move(port)) {}
        juce::String getName() const override { return inner->getName(); }
        void sendMessageNow(const juce::MidiMessage& message) override
        {
            const zyltest::ScopedAllocationPause pause;
            inner->sendMessageNow(message);
        }

    private:
        std::unique_ptr<ZylMidiOutputPort> inner;
    };
};

// The product processor prepared as a device would prepare it, with a host MIDI buffer and an
// audio buffer that live as long as the run, as a host's do.
struct AllocationRig
{
    AllocationRig()
    {
        ports.inputNames = { "Port A" };
        ports.outputNames = { "Out A" };
        filter.initialise();
        // Its ticks are posted on the message thread: the sink would count them as the blocks'.
        root().getTransportModule()->stopTimer();
        zyltest::drainMessageQueue();
        root().addParameterSink(&sink, false);
        host.ensureSize(4096);
        filter.prepareToPlay(kAllocationRate, kAllocationBlock);
        zyltest::drainMessageQueue();
    }

    ~AllocationRig()
    {
        filter.releaseResources();
        zyltest::drainMessageQueue();
        root().removeParameterSink(&sink, false);
    }

    ZylLumenfoldModule& root() const
    {
        return *static_cast<ZylLumenfoldModule*>(filter.getModuleContainer()->getRootModule());
    }
    ZylSpaceModule& space() const { return *root().getSpaceModule(); }
    ZylLiveSpace& grid() const { return *space().getGridSpace(); }
    ZylMidiInputModule& input() const { return *root().getMidiInputGroupModule()->getInputModule(0); }
    ZylMidiOutputModule& output() const { return *root().getMidiOutputGroupModule()->getOutputModule(0); }

    // What a view does on the message thread when the pointer presses a cell, and releases it.
    void press(int note)
    {
        ASSERT_TRUE(zyltest::pressNote(grid(), note)) << note;
    }

    void release()
    {
        const juce::ScopedLock lock(grid().getLock());
        grid().getPrimaryStates()->releaseAll();
        grid().getPrimaryStates()->clearPressed();
    }

    void chord(std::initializer_list<int> notes, bool on)
    {
        for (const int note : notes)
            host.addEvent(on ? juce::MidiMessage::noteOn(1, note, 0.8f) : juce::MidiMessage::noteOff(1, note), 0);
    }

    // What the two views do when they repaint: they drain the dirty cells of both layers.
    void repaint()
    {
        for (auto* live : { space().getGridSpace(), space().getPianoSpace() })
        {
            const juce::ScopedLock lock(live->getLock());
            for (auto* layer : { live->getSecondaryStates(), live->getPrimaryStates() })
                layer->getDirty().clear();
        }
    }

    // One block. The heap calls of the block itself are counted; the messages it posted are
    // delivered afterwards, as the message thread would, and what posting them costs is added
    // to the heap calls expected.
    void block(bool counted)
    {
        const auto received = sink.received;
        const auto notBarOrBeat = sink.notBarOrBeat;
        std::int64_t blockAllocations = 0;
        std::int64_t blockFrees = 0;
        if (counted)
        {
            const zyltest::ScopedAllocationCounter counter;
            filter.processBlock(audio, host);
            blockAllocations = counter.getAllocations();
            blockFrees = counter.getFrees();
        }
        else
        {
            filter.processBlock(audio, host);
        }
        host.clear();
        zyltest::drainMessageQueue();
        repaint();
        if (counted)
        {
            const auto blockPosts = sink.received - received;
            posts += blockPosts;
            loudest = juce::jmax(loudest, audio.getMagnitude(0, 0, kAllocationBlock));
            otherPosts += sink.notBarOrBeat - notBarOrBeat;
            allocations += blockAllocations;
            frees += blockFrees;
            const auto cost = allocationCostOfPosts(static_cast<int>(blockPosts));
            postAllocations += cost.allocations;
            postFrees += cost.frees;
        }
    }

    AllocationTestPorts ports;
    ZylLumenfoldFilter filter { &ports };
    AllocationTestSink sink;
    juce::AudioBuffer<float> audio { 2, kAllocationBlock };
    juce::MidiBuffer host;
    juce::Random random { 29 };
    std::int64_t allocations = 0;
    std::int64_t postAllocations = 0;
    std::int64_t frees = 0;
    std::int64_t postFrees = 0;
    std::int64_t posts = 0;
    std::int64_t otherPosts = 0;
    float loudest = 0.0f;
};

enum class AllocationReach
{
    nothing, // the source sounds nowhere: the test of its path is the count alone
    synth,   // the built-in synth sounds during the counted blocks
    port     // the output port receives messages
};

struct AllocationSource
{
    const char* name;
    // Once, on the message thread, before the warm-up.
    std::function<void(AllocationRig&)> setUp;
    // Before each block, on the message thread: host MIDI for the block, presses, port input.
    std::function<void(AllocationRig&, int)> beforeBlock;
    AllocationReach reach;
    // Whether anything changes during the counted blocks; when nothing does, the blocks post
    // nothing but the transport's bar and beat changes.
    bool changes;
};

void allocationHostChords(AllocationRig& rig, int block)
{
    if (block % 10 == 0)
        rig.chord({ 60, 64, 67 }, true);
    else if (block % 10 == 5)
        rig.chord({ 60, 64, 67 }, false);
}

void allocationSelectSources(AllocationRig& rig, const wchar_t* input, const wchar_t* output, const wchar_t* trigger)
{
    zyltest::selectByName(rig.input().getDeviceParameter(), input);
    zyltest::selectByName(rig.output().getDeviceParameter(), output);
    zyltest::selectByName(rig.space().getTriggerParameter(), trigger);
}

std::function<void(AllocationRig&)> allocationMidiTrigger(const wchar_t* mode)
{
    return [mode](AllocationRig& rig) {
        allocationSelectSources(rig, L"VST/AU host", L"Built-in synth", mode);
        rig.press(60);
    };
}

TEST(AudioThreadAllocation, NoSourceMakesTheBlocksAllocateButForTheirMessages)
{
    using R = AllocationReach;
    const AllocationSource sources[] = {
        { "idle", [](AllocationRig& rig) { allocationSelectSources(rig, L"Not connected", L"Built-in synth", L"Mouse Cl"); },
          [](AllocationRig&, int) {}, R::nothing, false },
        { "demo track playing",
          [](AllocationRig& rig) {
              allocationSelectSources(rig, L"Track", L"Built-in synth", L"Mouse Cl");
              rig.root().getTransportModule()->start();
              zyltest::drainMessageQueue();
          },
          [](AllocationRig&, int) {}, R::synth, true },
        { "host MIDI chords on and off",
          [](AllocationRig& rig) { allocationSelectSources(rig, L"VST/AU host", L"Built-in synth", L"Mouse Cl"); }, allocationHostChords,
          R::synth, true },
        { "port chords in and out",
          [](AllocationRig& rig) {
              auto* inputs = rig.root().getMidiInputGroupModule();
              auto* outputs = rig.root().getMidiOutputGroupModule();
              inputs->getDeviceManager()->setMidiInputEnabled("Port A", true);
              inputs->refreshDeviceValues();
              outputs->getDeviceManager()->setMidiOutputEnabled("Out A", true);
              outputs->refreshDeviceValues();
              zyltest::drainMessageQueue();
              allocationSelectSources(rig, L"Port A", L"Out A", L"Mouse Cl");
          },
          [](AllocationRig& rig, int block) {
              if (block % 10 == 0 || block % 10 == 5)
                  for (const int note : { 60, 64, 67 })
                      rig.ports.deliver("Port A", block % 10 == 0 ? juce::MidiMessage::noteOn(1, note, 0.8f)
                                                                  : juce::MidiMessage::noteOff(1, note));
          },
          R::port, true },
        { "held mouse chord",
          [](AllocationRig& rig) { allocationSelectSources(rig, L"Not connected", L"Built-in synth", L"Mouse Cl"); },
          [](AllocationRig& rig, int block) {
              // After the first block, which carries out the reset that a change of source asks.
              if (block == 1)
                  rig.press(60);
          },
          R::synth, false },
        { "mouse chords changing",
          [](AllocationRig& rig) { allocationSelectSources(rig, L"Not connected", L"Built-in synth", L"Mouse Cl"); },
          [](AllocationRig& rig, int block) {
              if (block % 10 == 0)
                  rig.press(block % 20 == 0 ? 60 : 65);
              else if (block % 10 == 5)
                  rig.release();
          },
          R::synth, true },
        { "MIDI chords, Midi Clk", allocationMidiTrigger(L"Midi Clk"), allocationHostChords, R::synth, true },
        { "MIDI chords, Midi Hvr", allocationMidiTrigger(L"Midi Hvr"), allocationHostChords, R::synth, true },
        { "MIDI chords, Midi Nte", allocationMidiTrigger(L"Midi Nte"), allocationHostChords, R::synth, true },
        { "MIDI chords, Midi Mod", allocationMidiTrigger(L"Midi Mod"), allocationHostChords, R::synth, true },
        { "host chord growing to every note",
          [](AllocationRig& rig) { allocationSelectSources(rig, L"VST/AU host", L"Not connected", L"Mouse Cl"); },
          [](AllocationRig& rig, int block) {
              // Nothing is held before the count starts; then one more note every other block,
              // so that the cells shown reach numbers never seen before.
              if (block >= kAllocationWarmUpBlocks && block % 2 == 0)
                  rig.chord({ (block - kAllocationWarmUpBlocks) / 2 + 21 }, true);
          },
          R::nothing, true },
        { "more notes than voices",
          [](AllocationRig& rig) { allocationSelectSources(rig, L"VST/AU host", L"Built-in synth", L"Mouse Cl"); },
          [](AllocationRig& rig, int block) {
              // 88 held notes on 64 voices, and eight random changes in every block.
              if (block % 20 == 0 || block % 20 == 10)
                  for (int note = 21; note <= 108; ++note)
                      rig.host.addEvent(block % 20 == 0 ? juce::MidiMessage::noteOn(1, note, 0.8f)
                                                        : juce::MidiMessage::noteOff(1, note),
                                        0);
              for (int i = 0; i < 8; ++i)
              {
                  const int note = 21 + rig.random.nextInt(88);
                  rig.host.addEvent(rig.random.nextBool() ? juce::MidiMessage::noteOn(1, note, 0.8f)
                                                          : juce::MidiMessage::noteOff(1, note),
                                    1 + i);
              }
          },
          R::synth, true },
    };

    for (const auto& source : sources)
    {
        SCOPED_TRACE(source.name);
        AllocationRig rig;
        source.setUp(rig);
        for (int b = 0; b < kAllocationWarmUpBlocks + kAllocationCountedBlocks; ++b)
        {
            source.beforeBlock(rig, b);
            rig.block(b >= kAllocationWarmUpBlocks);
        }
        EXPECT_EQ(rig.allocations - rig.postAllocations, 0)
            << rig.allocations << " allocations, " << rig.posts << " posts costing " << rig.postAllocations;
        EXPECT_EQ(rig.frees - rig.postFrees, 0);
        if (!source.changes)
        {
            EXPECT_EQ(rig.otherPosts, 0);
        }
        EXPECT_EQ(rig.loudest > 0.001f, source.reach == R::synth) << rig.loudest;
        EXPECT_EQ(!rig.ports.sent().empty(), source.reach == R::port);
    }
}

TEST(AudioThreadAllocation, TheFirstBlockFreesNoStandInBuffer)
{
    AllocationRig rig;
    rig.block(true);
    EXPECT_EQ(rig.frees - rig.postFrees, 0);
    EXPECT_EQ(rig.allocations - rig.postAllocations, 0) << rig.allocations << " allocations";
}
} // namespace
