#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiOutputDeviceManager.h"
#include "tests/TestHelpers.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

namespace
{
// Counts the change messages a broadcaster delivers on the message thread.
struct ChangeCounter : juce::ChangeListener
{
    void changeListenerCallback(juce::ChangeBroadcaster*) override { ++count; }
    int count = 0;
};

// Records what a manager forwards; called on the delivering thread.
struct Collector : juce::MidiInputCallback
{
    Collector(std::vector<std::string>* sharedLog = nullptr, std::string tag = {})
        : log(sharedLog), name(std::move(tag))
    {
    }

    void handleIncomingMidiMessage(juce::MidiInput* source, const juce::MidiMessage& message) override
    {
        const std::lock_guard<std::mutex> guard(mutex);
        sources.push_back(source);
        messages.push_back(message);
        if (log != nullptr)
            log->push_back(name);
    }

    std::vector<juce::MidiMessage> received()
    {
        const std::lock_guard<std::mutex> guard(mutex);
        return messages;
    }

    std::mutex mutex;
    std::vector<juce::MidiInput*> sources;
    std::vector<juce::MidiMessage> messages;
    std::vector<std::string>* log;
    std::string name;
};

// Delivers the messages from a thread of its own, as a MIDI driver does, and waits for it.
void deliverFromDriverThread(ZylFakeMidiPortBackend& backend,
                             const std::vector<std::pair<juce::String, juce::MidiMessage>>& list)
{
    std::thread driver([&] {
        for (const auto& [port, message] : list)
            backend.deliver(port, message);
    });
    driver.join();
}

std::vector<std::wstring> enabledInputs(const ZylMidiInputDeviceManager& manager)
{
    std::vector<std::wstring> names { L"stale" };
    manager.getEnabledInputNames(names);
    return names;
}

std::vector<std::wstring> enabledOutputs(const ZylMidiOutputDeviceManager& manager)
{
    std::vector<std::wstring> names { L"stale" };
    manager.getEnabledOutputNames(names);
    return names;
}

struct MidiInputManager : ::testing::Test
{
    MidiInputManager()
    {
        backend.inputNames = { "Keys", "Pads", "Keys" };
        manager.addChangeListener(&changes);
    }

    ~MidiInputManager() override { manager.removeChangeListener(&changes); }

    int changesDelivered()
    {
        zyltest::drainMessageQueue();
        const int count = changes.count;
        changes.count = 0;
        return count;
    }

    ZylFakeMidiPortBackend backend;
    ZylMidiInputDeviceManager manager { &backend };
    ChangeCounter changes;
};

struct MidiOutputManager : ::testing::Test
{
    MidiOutputManager()
    {
        backend.outputNames = { "Synth A", "Synth B" };
        manager.addChangeListener(&changes);
    }

    ~MidiOutputManager() override { manager.removeChangeListener(&changes); }

    int changesDelivered()
    {
        zyltest::drainMessageQueue();
        const int count = changes.count;
        changes.count = 0;
        return count;
    }

    ZylFakeMidiPortBackend backend;
    ZylMidiOutputDeviceManager manager { &backend };
    ChangeCounter changes;
};

const juce::MidiMessage kNote = juce::MidiMessage::noteOn(1, 60, static_cast<juce::uint8>(100));
} // namespace

TEST_F(MidiInputManager, OpensPortsByExactNameAndTellsListenersOfEveryAttempt)
{
    manager.setMidiInputEnabled("Pads", true);
    manager.setMidiInputEnabled("Keys", true);
    EXPECT_EQ(enabledInputs(manager), (std::vector<std::wstring> { L"Pads", L"Keys" }));
    EXPECT_EQ(backend.openInputs(),
              (std::vector<std::pair<juce::String, bool>> { { "Pads", true }, { "Keys", true } }));
    EXPECT_EQ(changesDelivered(), 1); // coalesced by the broadcaster

    // Already open: nothing happens, not even a broadcast.
    backend.openAttempts = 0;
    manager.setMidiInputEnabled("Keys", true);
    manager.setMidiInputEnabled("Drums", false);
    EXPECT_EQ(backend.openAttempts, 0);
    EXPECT_EQ(changesDelivered(), 0);

    // Missing (case matters) or failing ports leave the list as it was but are still told.
    manager.setMidiInputEnabled("pads", true);
    EXPECT_EQ(changesDelivered(), 1);
    backend.inputNames.add("Drums");
    backend.failOpen = true;
    manager.setMidiInputEnabled("Drums", true);
    EXPECT_EQ(changesDelivered(), 1);
    EXPECT_FALSE(manager.isMidiInputEnabled("Drums"));
    EXPECT_FALSE(manager.isMidiInputEnabled("pads"));
    EXPECT_EQ(enabledInputs(manager), (std::vector<std::wstring> { L"Pads", L"Keys" }));

    manager.setMidiInputEnabled("Pads", false);
    EXPECT_EQ(changesDelivered(), 1);
    EXPECT_EQ(enabledInputs(manager), (std::vector<std::wstring> { L"Keys" }));
    EXPECT_EQ(backend.openInputs().size(), 1u);
}

TEST_F(MidiInputManager, OnlyTheCurrentPortReachesTheCallbacksAndActiveSensingNever)
{
    Collector collector;
    manager.addMidiInputCallback(&collector);
    manager.setMidiInputEnabled("Keys", true);
    manager.setMidiInputEnabled("Pads", true);

    // No current input: everything is dropped.
    deliverFromDriverThread(backend, { { "Keys", kNote } });
    EXPECT_TRUE(collector.received().empty());

    manager.setCurrentInput("Keys");
    EXPECT_EQ(manager.getCurrentInputName(), "Keys");
    ASSERT_NE(manager.getCurrentInput(), nullptr);
    EXPECT_EQ(manager.getCurrentInput()->getName(), "Keys");

    const auto sensing = juce::MidiMessage(0xfe);
    const auto clock = juce::MidiMessage::midiClock();
    const auto start = juce::MidiMessage::midiStart();
    const auto fromPads = juce::MidiMessage::noteOn(2, 40, static_cast<juce::uint8>(90));
    deliverFromDriverThread(backend, { { "Keys", kNote },
                                       { "Keys", sensing },
                                       { "Pads", fromPads },
                                       { "Keys", clock },
                                       { "Keys", start } });
    const auto received = collector.received();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_TRUE(received[0].isNoteOn());
    EXPECT_TRUE(received[1].isMidiClock());
    EXPECT_TRUE(received[2].isMidiStart());
    EXPECT_EQ(collector.sources.front(), nullptr); // a test port has no system port behind it

    // A name that no opened port has leaves no current input.
    manager.setCurrentInput("Drums");
    EXPECT_EQ(manager.getCurrentInput(), nullptr);
    EXPECT_EQ(manager.getCurrentInputName(), "");

    manager.removeMidiInputCallback(&collector);
    manager.removeMidiInputCallback(&collector); // not registered: ignored
}

TEST_F(MidiInputManager, ClosingTheCurrentPortClearsItAndReopeningDoesNotRestoreIt)
{
    Collector collector;
    manager.addMidiInputCallback(&collector);
    manager.setMidiInputEnabled("Keys", true);
    manager.setCurrentInput("Keys");

    manager.setMidiInputEnabled("Keys", false);
    EXPECT_EQ(manager.getCurrentInput(), nullptr);
    EXPECT_FALSE(backend.deliver("Keys", kNote)); // the port is gone

    manager.setMidiInputEnabled("Keys", true);
    EXPECT_EQ(manager.getCurrentInput(), nullptr);
    deliverFromDriverThread(backend, { { "Keys", kNote } });
    EXPECT_TRUE(collector.received().empty());

    manager.setCurrentInput("Keys");
    deliverFromDriverThread(backend, { { "Keys", kNote } });
    EXPECT_EQ(collector.received().size(), 1u);
    manager.removeMidiInputCallback(&collector);
}

TEST_F(MidiInputManager, CallbacksRunInRegistrationOrderAndReRegisteringMovesToTheEnd)
{
    std::vector<std::string> log;
    Collector first(&log, "first");
    Collector second(&log, "second");
    manager.addMidiInputCallback(&first);
    manager.addMidiInputCallback(&second);
    manager.addMidiInputCallback(&first);
    manager.addMidiInputCallback(nullptr);
    manager.setMidiInputEnabled("Pads", true);
    manager.setCurrentInput("Pads");

    deliverFromDriverThread(backend, { { "Pads", kNote } });
    EXPECT_EQ(log, (std::vector<std::string> { "second", "first" }));
    manager.removeMidiInputCallback(&first);
    manager.removeMidiInputCallback(&second);
}

TEST_F(MidiInputManager, DeliveryWhileTheMessageThreadClosesThePortIsSafe)
{
    Collector collector;
    manager.addMidiInputCallback(&collector);
    std::atomic<bool> running { true };
    std::thread driver([&] {
        while (running.load())
            backend.deliver("Keys", kNote);
    });
    for (int round = 0; round < 200; ++round)
    {
        manager.setMidiInputEnabled("Keys", true);
        manager.setCurrentInput("Keys");
        manager.setMidiInputEnabled("Keys", false);
    }
    running.store(false);
    driver.join();
    manager.removeMidiInputCallback(&collector);
    EXPECT_EQ(manager.getCurrentInput(), nullptr);
}

TEST_F(MidiInputManager, XmlListsOpenedPortsAndRestoresThosePresentNow)
{
    const auto empty = manager.createXml();
    EXPECT_EQ(empty->toString(juce::XmlElement::TextFormat().withoutHeader().singleLine()),
              "<midiInputDeviceManager/>");

    manager.setMidiInputEnabled("Pads", true);
    manager.setMidiInputEnabled("Keys", true);
    const auto saved = manager.createXml();
    EXPECT_EQ(saved->toString(juce::XmlElement::TextFormat().withoutHeader().singleLine()),
              "<midiInputDeviceManager><midiInput name=\"Pads\"/><midiInput name=\"Keys\"/>"
              "</midiInputDeviceManager>");

    // Another machine: only "Keys" is present, "Drums" is open and gets closed first.
    ZylFakeMidiPortBackend other;
    other.inputNames = { "Keys", "Drums" };
    ZylMidiInputDeviceManager restored(&other);
    restored.setMidiInputEnabled("Drums", true);
    restored.setCurrentInput("Drums");
    restored.restoreFromXml(saved.get());
    EXPECT_EQ(enabledInputs(restored), (std::vector<std::wstring> { L"Keys" }));
    EXPECT_EQ(restored.getCurrentInput(), nullptr);

    // Tag names in any case; other children and nameless entries are skipped.
    const auto mixed = juce::parseXML("<MIDIINPUTDEVICEMANAGER><other name=\"Drums\"/>"
                                      "<MidiInput/><MIDIINPUT name=\"Drums\"/>"
                                      "<midiInput name=\"Keys\"/></MIDIINPUTDEVICEMANAGER>");
    restored.restoreFromXml(mixed.get());
    EXPECT_EQ(enabledInputs(restored), (std::vector<std::wstring> { L"Drums", L"Keys" }));

    const auto foreign = juce::parseXML("<midiOutputDeviceManager><midiInput name=\"Keys\"/>"
                                        "</midiOutputDeviceManager>");
    restored.restoreFromXml(foreign.get());
    EXPECT_TRUE(enabledInputs(restored).empty());
    restored.setMidiInputEnabled("Keys", true);
    restored.restoreFromXml(nullptr);
    EXPECT_TRUE(enabledInputs(restored).empty());
    EXPECT_TRUE(other.openInputs().empty());
}

TEST(MidiInputManagerWithoutBackend, HasNoPortsAndFailsHarmlessly)
{
    ZylMidiInputDeviceManager manager(nullptr);
    manager.setMidiInputEnabled("Keys", true);
    manager.setCurrentInput("Keys");
    EXPECT_FALSE(manager.isMidiInputEnabled("Keys"));
    EXPECT_EQ(manager.getCurrentInput(), nullptr);
    ZylMidiOutputDeviceManager outputs(nullptr);
    outputs.setMidiOutputEnabled("Synth", true);
    outputs.sendMessageNow("Synth", kNote);
    EXPECT_EQ(outputs.indexOfOutput("Synth"), -1);
}

TEST(MidiInputManagerLifetime, DestroyingWithOpenPortsStopsAndClosesThem)
{
    ZylFakeMidiPortBackend backend;
    backend.inputNames = { "Keys", "Pads" };
    {
        ZylMidiInputDeviceManager manager(&backend);
        manager.setMidiInputEnabled("Keys", true);
        manager.setMidiInputEnabled("Pads", true);
        manager.setCurrentInput("Pads");
    }
    EXPECT_TRUE(backend.openInputs().empty());
}

TEST_F(MidiOutputManager, SendsAtOnceThroughPortsOpenedByName)
{
    manager.setMidiOutputEnabled("Synth B", true);
    manager.setMidiOutputEnabled("Synth A", true);
    EXPECT_EQ(changesDelivered(), 1);
    EXPECT_EQ(manager.indexOfOutput("Synth B"), 0);
    EXPECT_EQ(manager.indexOfOutput("Synth A"), 1);
    EXPECT_TRUE(manager.isMidiOutputEnabled("Synth A"));

    manager.sendMessageNowByIndex(1, kNote);
    manager.sendMessageNow("Synth B", juce::MidiMessage::allNotesOff(3));
    // Indexes outside the list and names that are not open send nothing.
    for (int index : { -1, 2, 1000 })
        manager.sendMessageNowByIndex(index, kNote);
    manager.sendMessageNow("Synth C", kNote);
    manager.sendMessageNow("synth a", kNote);

    const auto sent = backend.sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].port, "Synth A");
    EXPECT_TRUE(sent[0].message.isNoteOn());
    EXPECT_EQ(sent[1].port, "Synth B");
    EXPECT_TRUE(sent[1].message.isAllNotesOff());

    // Closing the first moves the second to index 0.
    manager.setMidiOutputEnabled("Synth B", false);
    EXPECT_EQ(manager.indexOfOutput("Synth A"), 0);
    EXPECT_EQ(manager.indexOfOutput("Synth B"), -1);
    EXPECT_EQ(backend.openOutputCount(), 1);
    EXPECT_EQ(changesDelivered(), 1);
    manager.sendMessageNowByIndex(0, kNote);
    EXPECT_EQ(backend.sent().back().port, "Synth A");
}

TEST_F(MidiOutputManager, FailedOpensChangeNothingButAreTold)
{
    manager.setMidiOutputEnabled("Synth A", true);
    changesDelivered();
    manager.setMidiOutputEnabled("Synth A", true); // already open
    manager.setMidiOutputEnabled("Synth B", false); // not open
    EXPECT_EQ(changesDelivered(), 0);

    manager.setMidiOutputEnabled("Missing", true);
    EXPECT_EQ(changesDelivered(), 1);
    backend.failOpen = true;
    manager.setMidiOutputEnabled("Synth B", true);
    EXPECT_EQ(changesDelivered(), 1);
    EXPECT_EQ(enabledOutputs(manager), (std::vector<std::wstring> { L"Synth A" }));
}

TEST_F(MidiOutputManager, XmlListsOpenedPortsAndRestoresThosePresentNow)
{
    EXPECT_EQ(manager.createXml()->toString(
                  juce::XmlElement::TextFormat().withoutHeader().singleLine()),
              "<midiOutputDeviceManager/>");
    manager.setMidiOutputEnabled("Synth B", true);
    manager.setMidiOutputEnabled("Synth A", true);
    const auto saved = manager.createXml();
    EXPECT_EQ(saved->toString(juce::XmlElement::TextFormat().withoutHeader().singleLine()),
              "<midiOutputDeviceManager><midiOutput name=\"Synth B\"/>"
              "<midiOutput name=\"Synth A\"/></midiOutputDeviceManager>");

    ZylFakeMidiPortBackend other;
    other.outputNames = { "Synth A", "Thru" };
    ZylMidiOutputDeviceManager restored(&other);
    restored.setMidiOutputEnabled("Thru", true);
    restored.restoreFromXml(saved.get());
    EXPECT_EQ(enabledOutputs(restored), (std::vector<std::wstring> { L"Synth A" }));
    EXPECT_EQ(other.openOutputCount(), 1);

    const auto mixed = juce::parseXML("<MIDIOUTPUTDEVICEMANAGER><MidiOutput name=\"Thru\"/>"
                                      "<midiInput name=\"Synth A\"/></MIDIOUTPUTDEVICEMANAGER>");
    restored.restoreFromXml(mixed.get());
    EXPECT_EQ(enabledOutputs(restored), (std::vector<std::wstring> { L"Thru" }));
    restored.restoreFromXml(nullptr);
    EXPECT_TRUE(enabledOutputs(restored).empty());
    EXPECT_EQ(other.openOutputCount(), 0);
}

TEST_F(MidiOutputManager, SendsFromAnotherThreadWhileThePortIsClosedAndReopened)
{
    std::atomic<bool> running { true };
    std::thread audio([&] {
        while (running.load())
        {
            const juce::ScopedLock sl(manager.getDeviceLock());
            manager.sendMessageNowByIndex(manager.indexOfOutput("Synth A"), kNote);
        }
    });
    for (int round = 0; round < 200; ++round)
    {
        manager.setMidiOutputEnabled("Synth A", true);
        manager.setMidiOutputEnabled("Synth A", false);
    }
    running.store(false);
    audio.join();
    for (const auto& entry : backend.sent())
        EXPECT_EQ(entry.port, "Synth A");
}
