#include "framework/ZylHostLink.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylProgramModule.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylStateTestTree.h"

#include <gtest/gtest.h>

#include <thread>
#include <type_traits>
#include <vector>

// The module tree (container, modules, program module) is built and driven here through a
// stand-in host link: the processor class must not be visible in this file.
class ZylFilter;

namespace
{
template <class T, class = void>
struct IsComplete : std::false_type
{
};
template <class T>
struct IsComplete<T, std::void_t<decltype(sizeof(T))>> : std::true_type
{
};
static_assert(!IsComplete<ZylFilter>::value, "the module tree is tested without the processor");

class RecordingHostLink : public ZylHostLink
{
public:
    const juce::CriticalSection& getHostCallbackLock() const override { return lock; }
    bool isSuspended() const override { return suspended; }
    void setSuspended(bool flag) override { suspended = flag; }
    void notifyHostDisplayChanged() override
    {
        ++displayChanges;
        lockHeldWhenNotified = heldByThisThread();
    }

    // Whether the lock is taken (by the calling thread: it is recursive, so only another thread
    // can tell).
    bool heldByThisThread() const
    {
        bool held = false;
        std::thread([&] {
            held = !lock.tryEnter();
            if (!held)
                lock.exit();
        }).join();
        return held;
    }

    juce::CriticalSection lock;
    bool suspended = false;
    int displayChanges = 0;
    bool lockHeldWhenNotified = false;
};
} // namespace

TEST(ZylHostLink, TheTreeUsesTheHostsCallbackLockAndTellsItOfProgramSwitches)
{
    RecordingHostLink host;
    zyltest::StateTree tree(&host);
    zyltest::drainMessageQueue();
    host.displayChanges = 0;
    EXPECT_EQ(tree.container.getFilter(), &host);
    EXPECT_EQ(&tree.container.getCallbackLock(), &host.lock);

    // From the interface: the switch follows the message, under the host's lock, and the host
    // is told to re-read its display.
    tree.programs().selectProgram(5, kCauseUser);
    zyltest::drainMessageQueue();
    EXPECT_EQ(tree.leaf().getCurrentProgram(), 5);
    EXPECT_EQ(host.displayChanges, 1);
    EXPECT_TRUE(host.lockHeldWhenNotified);

    // From the host: the tree switches before the call returns.
    tree.programs().selectProgram(9, kCauseHost);
    EXPECT_EQ(tree.leaf().getCurrentProgram(), 9);
    EXPECT_EQ(tree.leaf().inner->getCurrentProgram(), 9);
    zyltest::drainMessageQueue();
    EXPECT_EQ(host.displayChanges, 1);

    // A whole state round trip and a block, all without the processor.
    const auto saved = tree.bank();
    EXPECT_TRUE(tree.root->loadBankFromMemory(saved.getData(),
                                              static_cast<juce::int64>(saved.getSize())));
    EXPECT_EQ(tree.bank(), saved);
    juce::AudioBuffer<float> buffer(2, 16);
    juce::MidiBuffer midi;
    {
        const juce::ScopedLock sl(tree.container.getCallbackLock());
        tree.root->processAudioMidi(buffer, buffer, false, midi);
    }
    EXPECT_EQ(tree.leaf().blocks, 1);
    zyltest::drainMessageQueue();
}

TEST(ZylHostLink, WithoutAHostTheContainerStandsInWithItsOwnLock)
{
    zyltest::StateTree tree;
    EXPECT_EQ(tree.container.getFilter(), nullptr);
    RecordingHostLink other;
    EXPECT_NE(&tree.container.getCallbackLock(), &other.lock);
    tree.programs().selectProgram(3, kCauseUser);
    zyltest::drainMessageQueue();
    EXPECT_EQ(tree.leaf().getCurrentProgram(), 3);
}
