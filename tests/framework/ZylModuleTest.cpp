#include "framework/ZylAudioCable.h"
#include "framework/ZylLinkParameter.h"
#include "framework/ZylLinkParameterSet.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleMap.h"
#include "framework/ZylParameterMap.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylStateTestTree.h"
#include "tests/framework/ZylTestModules.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

using zyltest::TestChildModule;
using zyltest::TestRootModule;

namespace
{
struct ModuleTree : ::testing::Test
{
    ModuleTree()
    {
        root().addParameterSink(&sink, false);
        delivered(); // the start-up resend of program 0
    }

    ~ModuleTree() override { root().removeParameterSink(&sink, false); }

    TestRootModule& root() { return *tree.root; }
    TestChildModule& first() { return *tree.root->first; }
    TestChildModule& second() { return *tree.root->second; }

    // Codes delivered since the last call, with the sender each came from.
    std::vector<ZylTestSink::Entry> delivered()
    {
        zyltest::drainMessageQueue();
        auto entries = sink.entries;
        sink.entries.clear();
        return entries;
    }

    zyltest::TestModuleTree tree;
    ZylTestSink sink;
};

// A one-shot gate between two threads.
class Gate
{
public:
    void open()
    {
        const std::lock_guard<std::mutex> guard(mutex);
        isOpen = true;
        condition.notify_all();
    }

    void wait()
    {
        std::unique_lock<std::mutex> guard(mutex);
        condition.wait(guard, [this] { return isOpen; });
    }

private:
    std::mutex mutex;
    std::condition_variable condition;
    bool isOpen = false;
};
} // namespace

TEST_F(ModuleTree, HostAndInternalIndexesFollowTheInitialisationOrder)
{
    EXPECT_EQ(first().toggle()->getAutomationIndex(), 0);
    EXPECT_EQ(first().level()->getAutomationIndex(), 1);
    EXPECT_EQ(second().toggle()->getAutomationIndex(), 2);
    EXPECT_EQ(second().level()->getAutomationIndex(), 3);
    // The root's parameter was numbered before its children's.
    EXPECT_EQ(root().getGlobalParameters()->getParameters()[0]->getAutomationIndex(), -1);
    EXPECT_EQ(first().shape()->getAutomationIndex(), -2);
    EXPECT_EQ(second().shape()->getAutomationIndex(), -3);
    EXPECT_EQ(tree.container.getHostParameterCounter().getNext(), 4);
    EXPECT_EQ(tree.container.getInternalParameterCounter().getNext(), -4);

    auto* map = tree.container.getParameterMap();
    EXPECT_EQ(map->getNumHostParameters(), 4);
    EXPECT_EQ(map->size(), 6);
    // The map holds the links, so a host index addresses the current program.
    EXPECT_EQ(map->getParameter(1), first().level());
    EXPECT_NE(dynamic_cast<ZylLinkParameter*>(map->getParameter(3)), nullptr);
    EXPECT_EQ(map->getParameter(-3), second().shape());
    EXPECT_EQ(map->getParameter(4), nullptr);
    EXPECT_EQ(map->size(), 6);
}

TEST_F(ModuleTree, ModulesAreFoundByIdAndTheFirstRegistrationKeepsAnId)
{
    EXPECT_EQ(tree.container.getModule(TestRootModule::kId), &root());
    EXPECT_EQ(tree.container.getModule(TestRootModule::kFirstChildId), &first());
    EXPECT_EQ(tree.container.getModule(TestRootModule::kSecondChildId), &second());
    EXPECT_EQ(tree.container.getModule(1000), nullptr);
    EXPECT_EQ(tree.container.getRootModule(), &root());
    EXPECT_EQ(tree.container.getModuleMap()->size(), 3);

    EXPECT_FALSE(tree.container.getModuleMap()->add(&second(), TestRootModule::kFirstChildId));
    EXPECT_EQ(tree.container.getModule(TestRootModule::kFirstChildId), &first());
}

TEST_F(ModuleTree, EveryModuleHas128ProgramsOfOneShape)
{
    for (auto* module : { static_cast<ZylModule*>(&first()), static_cast<ZylModule*>(&second()) })
    {
        ASSERT_EQ(module->getPrograms().size(), 128u);
        for (auto* program : module->getPrograms())
        {
            ASSERT_EQ(program->getParameters().size(), 2u);
            EXPECT_EQ(program->getParameters()[0]->getAutomationIndex(),
                      module->getProgramParameters()->getParameters()[0]->getAutomationIndex());
            EXPECT_NE(program->getParameterById(1), nullptr);
        }
        EXPECT_EQ(module->getCurrentProgram(), 0);
        EXPECT_EQ(module->getProgramSet(128), nullptr);
        EXPECT_EQ(module->getProgramSet(-1), nullptr);
    }
}

TEST_F(ModuleTree, SwitchingProgramsRelinksAndResendsTheNewProgram)
{
    auto* scale = first().level()->getDomain();
    auto* programFiveLevel = first().getPrograms()[5]->getParameters()[0];
    programFiveLevel->setValueObject(scale->getValues()[70], kCauseUser, false, false);
    delivered();

    auto* level = first().level();
    root().setCurrentProgram(5);
    EXPECT_EQ(root().getCurrentProgram(), 5);
    EXPECT_EQ(first().getCurrentProgram(), 5);
    EXPECT_EQ(second().getCurrentProgram(), 5);
    EXPECT_EQ(first().level(), level); // the same link, re-targeted
    EXPECT_EQ(static_cast<ZylLinkParameter*>(level)->getTarget(), programFiveLevel);
    EXPECT_EQ(level->getValueText(), L"0.70");

    // Every program parameter of the tree resends through its link, with cause 5.
    const auto entries = delivered();
    int fromFirstLevel = 0;
    for (const auto& entry : entries)
    {
        EXPECT_EQ(entry.code, 0x0105);
        if (entry.sender == level->asSender())
            ++fromFirstLevel;
        EXPECT_NE(entry.sender, programFiveLevel->asSender());
    }
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_EQ(fromFirstLevel, 1);

    // Program 0 kept its own value.
    root().setCurrentProgram(0);
    EXPECT_EQ(level->getValueText(), L"0.00");
}

TEST_F(ModuleTree, TheCurrentProgramAndIndexesOutsideTheBankSelectNothing)
{
    root().setCurrentProgram(3);
    delivered();
    for (int index : { 3, -1, 128, 1000 })
    {
        root().setCurrentProgram(index);
        EXPECT_EQ(root().getCurrentProgram(), 3) << index;
        EXPECT_EQ(first().getCurrentProgram(), 3) << index;
    }
    EXPECT_TRUE(delivered().empty());
}

TEST_F(ModuleTree, ValueChangesReachSinksFromTheLinkWithTheirCause)
{
    auto* level = first().level();
    auto* scale = level->getDomain();
    struct Case
    {
        int cause;
        int expectedCode;
        bool marksChanged;
    };
    const Case cases[] = {
        { kCauseUser, 0x0102, true },
        { kCauseHost, 0x0103, true },
        { kCauseUnspecified, 0x0105, true },
        { kCauseNotModifying, 0x0108, false },
    };
    int step = 10;
    second().setChanged(false);
    for (const auto& c : cases)
    {
        first().setChanged(false);
        first().handled.clear();
        level->setValueObject(scale->getValues()[static_cast<size_t>(step++)], c.cause, false, true);
        const auto entries = delivered();
        ASSERT_EQ(entries.size(), 1u) << c.cause;
        EXPECT_EQ(entries[0].sender, level->asSender());
        EXPECT_EQ(entries[0].code, c.expectedCode);
        EXPECT_EQ(first().isChanged(), c.marksChanged) << c.cause;
        EXPECT_FALSE(second().isChanged());
        ASSERT_EQ(first().handled.size(), 1u);
        EXPECT_EQ(first().handled[0].sender, level->asSender());
    }
}

TEST_F(ModuleTree, CommandsReachSinksThatDidNotSkipTheCommandSet)
{
    ZylTestSink withoutCommands;
    first().addParameterSink(&withoutCommands, true);
    auto* command = first().getCommandParameter();
    EXPECT_EQ(command->getName(), L"null");
    EXPECT_EQ(command->getAutomationIndex(), -1);

    command->sendMessage(zylCommandCode(kCommandSavePreset));
    const auto entries = delivered();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].sender, command->asSender());
    EXPECT_EQ(entries[0].code, 0x0D06);
    EXPECT_TRUE(withoutCommands.entries.empty());
    first().removeParameterSink(&withoutCommands, true);
}

TEST_F(ModuleTree, UpdateParametersResendsEveryGlobalAndCurrentProgramParameter)
{
    root().updateParameters();
    const auto entries = delivered();
    EXPECT_EQ(entries.size(), 7u); // root 1, each child 1 global and 2 program parameters
    for (const auto& entry : entries)
        EXPECT_EQ(entry.code, 0x0105);
}

TEST_F(ModuleTree, ResetCommandIsCarriedOutOnceAtTheEndOfTheNextBlock)
{
    tree.container.getResetParameter()->sendMessage(kResetCommand);
    zyltest::drainMessageQueue();
    EXPECT_TRUE(root().isResetPending());
    EXPECT_TRUE(first().isResetPending());
    EXPECT_TRUE(second().isResetPending());

    root().processBlock(32);
    EXPECT_EQ(first().resetsCarriedOut, 1);
    EXPECT_EQ(second().resetsCarriedOut, 1);
    EXPECT_FALSE(root().isResetPending());
    root().processBlock(32);
    EXPECT_EQ(first().resetsCarriedOut, 1);
}

TEST_F(ModuleTree, ResetCodeFromAnotherSenderIsNotHandled)
{
    first().getCommandParameter()->sendMessage(kResetCommand);
    first().level()->sendMessage(kResetCommand);
    zyltest::drainMessageQueue();
    EXPECT_FALSE(first().isResetPending());
    EXPECT_FALSE(first().handleMessage(second().getCommandParameter()->asSender(),
                                       kResetCommand, 0));
    // The low byte of the reset command is not looked at.
    EXPECT_TRUE(first().handleMessage(tree.container.getResetParameter()->asSender(), 0x1C00, 0));
}

TEST_F(ModuleTree, ResetArrivingDuringABlockWaitsForTheNextBlock)
{
    Gate inBlock;
    first().onProcess = [&] {
        inBlock.open();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    };
    tree.container.getResetParameter()->sendMessage(kResetCommand);

    std::thread audio([&] {
        const juce::ScopedLock sl(tree.container.getCallbackLock());
        root().processBlock(16);
    });
    inBlock.wait();
    zyltest::drainMessageQueue(); // blocks on the callback lock until the block ends
    audio.join();
    first().onProcess = nullptr;

    EXPECT_EQ(first().resetsCarriedOut, 0);
    EXPECT_TRUE(first().isResetPending());
    root().processBlock(16);
    EXPECT_EQ(first().resetsCarriedOut, 1);
}

TEST_F(ModuleTree, ChangeArrivingDuringABlockCountsForTheNextBlock)
{
    Gate inBlock;
    Gate changeDelivered;
    first().setChanged(false);
    first().onProcess = [&] {
        inBlock.open();
        changeDelivered.wait();
    };
    std::thread audio([&] { first().processBlock(8); });
    inBlock.wait();
    first().receiveMessage(first().level()->asSender(), 0x0102, 0);
    changeDelivered.open();
    audio.join();
    first().onProcess = nullptr;

    EXPECT_TRUE(first().isChanged());
    first().processBlock(8);
    first().processBlock(8);
    EXPECT_EQ(first().changedSeen, (std::vector<bool>{ false, true, false }));
    EXPECT_FALSE(first().isChanged());
}

TEST_F(ModuleTree, BlockChainClearsTheBuffersAndRunsTheChildrenInOrder)
{
    juce::AudioSampleBuffer audio(2, 48);
    for (int channel = 0; channel < 2; ++channel)
        juce::FloatVectorOperations::fill(audio.getWritePointer(channel), 0.5f, 48);
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, 0.5f), 3);
    tree.log.clear();

    root().processAudioMidi(audio, audio, false, midi);
    EXPECT_EQ(audio.getMagnitude(0, 48), 0.0f);
    EXPECT_TRUE(midi.isEmpty());
    EXPECT_EQ(tree.log, (std::vector<std::string>{ "process root 48", "process 10 48",
                                                   "process 20 48" }));
}

TEST_F(ModuleTree, PinsAreFoundByKindAndClearedByTheirFlags)
{
    ZylMidiCable everyBlock;
    ZylMidiCable onReset;
    juce::MidiBuffer blockEvents;
    juce::MidiBuffer resetEvents;
    everyBlock.setBuffer(&blockEvents, false);
    onReset.setBuffer(&resetEvents, false);

    auto* blockPin = first().getPinOfKind<ZylMidiCable>(0);
    auto* resetPin = first().getPinOfKind<ZylMidiCable>(1);
    ASSERT_NE(blockPin, nullptr);
    ASSERT_NE(resetPin, nullptr);
    EXPECT_EQ(first().getPinOfKind<ZylMidiCable>(2), nullptr);
    EXPECT_EQ(first().getPinOfKind<ZylAudioCable>(0), nullptr);
    blockPin->connect(&everyBlock);
    resetPin->connect(&onReset);

    const auto refill = [&] {
        blockEvents.addEvent(juce::MidiMessage::noteOn(1, 60, 0.5f), 0);
        resetEvents.addEvent(juce::MidiMessage::noteOn(1, 62, 0.5f), 0);
    };
    refill();
    first().clearResetPins();
    EXPECT_FALSE(blockEvents.isEmpty());
    EXPECT_TRUE(resetEvents.isEmpty());
    refill();
    first().clearBlockPins();
    EXPECT_TRUE(blockEvents.isEmpty());
    EXPECT_FALSE(resetEvents.isEmpty());
}

TEST_F(ModuleTree, CurrentChildLinksFollowTheSelectedChild)
{
    EXPECT_EQ(root().getCurrentChildIndex(), -1);
    EXPECT_EQ(root().getCurrentChild(), nullptr);
    root().setCurrentChild(1);
    ASSERT_NE(root().getChildGlobalParameters(), nullptr);
    EXPECT_EQ(root().getCurrentChild(), &second());
    EXPECT_EQ(root().getChildGlobalParameters()->getLinks()[0]->getTarget(), second().toggle());
    EXPECT_EQ(root().getChildProgramParameters()->getLinks()[0]->getTarget(), second().level());

    root().setCurrentChild(0);
    EXPECT_EQ(root().getChildGlobalParameters()->getLinks()[0]->getTarget(), first().toggle());
    root().setCurrentChild(2);
    EXPECT_EQ(root().getCurrentChildIndex(), 0);
}

TEST(ZylModule, ACurrentChildOfAnotherShapeGetsLinksOfItsOwnShape)
{
    // Children: the program module (one global parameter, no program parameters), the leaf
    // (one global, three program parameters) and a bare module (none).
    zyltest::StateTree tree;
    auto& root = *tree.root;
    root.setCurrentChild(1);
    ASSERT_EQ(root.getChildProgramParameters()->getLinks().size(), 3u);
    EXPECT_EQ(root.getChildProgramParameters()->getLinks()[2]->getTarget(), tree.leaf().port());

    root.setCurrentChild(2);
    EXPECT_TRUE(root.getChildGlobalParameters()->getParameters().empty());
    EXPECT_TRUE(root.getChildProgramParameters()->getParameters().empty());

    root.setCurrentChild(0);
    ASSERT_EQ(root.getChildGlobalParameters()->getLinks().size(), 1u);
    EXPECT_EQ(root.getChildGlobalParameters()->getLinks()[0]->getTarget(),
              tree.programs().getProgramParameter());
    EXPECT_EQ(root.getChildGlobalParameters()->getParameterById(0),
              root.getChildGlobalParameters()->getLinks()[0]);

    root.setCurrentChild(1);
    EXPECT_EQ(root.getChildGlobalParameters()->getLinks()[0]->getTarget(), tree.leaf().power());
    EXPECT_EQ(root.getChildProgramParameters()->getLinks().size(), 3u);
}

TEST(ZylModule, VersionTextIsEmptyUntilSet)
{
    zyltest::TestModuleTree tree;
    int major = -1;
    int minor = -1;
    int build = -1;
    tree.root->getVersion(major, minor, build);
    EXPECT_EQ(tree.root->getVersionString(), "");
    EXPECT_EQ(major + minor + build, 0);
    tree.root->setVersion(2, 5, 544);
    tree.root->getVersion(major, minor, build);
    EXPECT_EQ(tree.root->getVersionString(), "2.5.544");
    EXPECT_EQ(build, 544);
}

TEST(ZylModule, DeletingTheTreeDeletesChildrenLastToFirstAndLeavesTheContainerClean)
{
    zyltest::TestModuleTree tree;
    auto* reset = tree.container.getResetParameter();
    EXPECT_EQ(reset->getSinkList().getNumSinks(), 3);

    tree.log.clear();
    tree.root.reset();
    EXPECT_EQ(tree.log, (std::vector<std::string>{ "delete root", "delete 20", "delete 10" }));
    EXPECT_EQ(reset->getSinkList().getNumSinks(), 0);
    // A message to the reset parameter after the tree is gone reaches nobody.
    reset->sendMessage(kResetCommand);
    zyltest::drainMessageQueue();
}

TEST(ZylModule, ADeletedModuleNeverStaysASinkOfTheResetParameter)
{
    ZylModuleContainer container;
    auto* reset = container.getResetParameter();
    for (const bool clearedAfterInitialise : { false, true })
    {
        auto module = std::make_unique<ZylModule>(&container, 7, L"");
        module->initialise();
        ASSERT_TRUE(reset->getSinkList().containsSink(module.get()));
        if (clearedAfterInitialise)
            module->setInitialised(false);
        module.reset();
        EXPECT_EQ(reset->getSinkList().getNumSinks(), 0) << clearedAfterInitialise;
    }
    // A reset posted afterwards reaches nobody.
    reset->sendMessage(kResetCommand);
    zyltest::drainMessageQueue();
}

TEST(ZylModuleContainer, StartsEmptyWithItsResetParameterAndCounters)
{
    ZylModuleContainer container;

    auto* reset = container.getResetParameter();
    ASSERT_NE(reset, nullptr);
    EXPECT_EQ(reset->getId(), 0);
    EXPECT_EQ(reset->getAutomationIndex(), 0);
    EXPECT_EQ(reset->getName(), L"null");
    EXPECT_EQ(container.getParameterMap()->size(), 0);
    EXPECT_EQ(container.getFilter(), nullptr);
    EXPECT_EQ(container.getRootModule(), nullptr);

    auto& host = container.getHostParameterCounter();
    auto& internal = container.getInternalParameterCounter();
    EXPECT_EQ(host.takeNext(), 0);
    EXPECT_EQ(host.takeNext(), 1);
    EXPECT_EQ(internal.takeNext(), -1);
    EXPECT_EQ(internal.takeNext(), -2);
}
