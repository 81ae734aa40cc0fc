#include "ui/ZylHeaderPanel.h"

#include "framework/ZylDomain.h"
#include "framework/ZylEditor.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMessageSink.h"
#include "framework/ZylParameter.h"
#include "framework/ZylProgramModule.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylValue.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportStateDomain.h"
#include "tests/TestHelpers.h"
#include "tests/ZylFileWriterTestSupport.h"
#include "tests/ui/ZylScopedDefaultLookAndFeel.h"
#include "tests/ui/ZylFakeUiSeam.h"
#include "tests/ui/ZylPanelTestFilter.h"
#include "tests/ui/ZylSnapshot.h"
#include "tests/ui/ZylUiTestSupport.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylLabel.h"
#include "ui/ZylParamCombo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace
{
using Kind = ZylFakeUiSeam::Kind;

// Records what a parameter posts.
struct Recorder : ZylMessageSink
{
    void receiveMessage(void* sender, int code, int) override
    {
        messages.push_back({ sender, code });
    }
    std::vector<std::pair<void*, int>> messages;
};

// Remembers every suspension the header asks of the processor.
class SuspendRecordingFilter : public zyltest::PanelTestFilter
{
public:
    void setSuspended(bool flag) override
    {
        suspensions.push_back(flag);
        zyltest::PanelTestFilter::setSuspended(flag);
    }
    std::vector<bool> suspensions;
};

juce::ComboBox* findCombo(juce::Component& parent)
{
    for (auto* child : parent.getChildren())
    {
        if (auto* box = dynamic_cast<juce::ComboBox*>(child))
            return box;
        if (auto* inner = findCombo(*child))
            return inner;
    }
    return nullptr;
}

struct HeaderPanel : ::testing::Test
{
    HeaderPanel()
    {
        filter.prepareToPlay(44100.0, 512);
        header = std::make_unique<ZylHeaderPanel>(&editor);
        header->setSize(header->getPreferredWidth(), header->getPreferredHeight());
        zyltest::drainMessageQueue();
    }

    ~HeaderPanel() override
    {
        header.reset();
        filter.releaseResources();
    }

    ZylTransportModule& transport() { return filter.transport(); }
    ZylProgramModule& programs() { return filter.programs(); }

    void type(ZylLabel& label, const juce::String& text)
    {
        label.setText(text, juce::sendNotificationSync);
        zyltest::drainMessageQueue();
    }

    void runCommand(int command)
    {
        programs().getCommandParameter()->sendMessage(zylCommandCode(command));
        zyltest::drainMessageQueue();
    }

    juce::File file(const juce::String& name)
    {
        folder.getFile().createDirectory();
        return folder.getFile().getChildFile(name);
    }

    juce::String lastUsed(const juce::String& key)
    {
        return programs().getPropertySet()->getValue(key);
    }

    float tempo() { return transport().getBpmParameter()->getValue(); }

    static void set(ZylParameter* parameter, float value)
    {
        const juce::ScopedLock lock(parameter->getLock());
        parameter->setValue(value, kCauseUser, false, true);
    }

    // Audio blocks, then the messages they posted.
    void runBlocks(int count)
    {
        juce::AudioBuffer<float> buffer(2, 512);
        juce::MidiBuffer midi;
        for (int i = 0; i < count; ++i)
            filter.processBlock(buffer, midi);
        zyltest::drainMessageQueue();
    }

    // One audio block and the transport's display tick after it.
    void runBlockAndTick()
    {
        runBlocks(1);
        transport().getStateParameter()->sendMessage(kTransportTick);
        zyltest::drainMessageQueue();
    }

    void stopTransport()
    {
        for (int i = 0; i < 2 && !transport().isStopped(); ++i)
        {
            header->buttonClicked(header->getStopButton());
            zyltest::drainMessageQueue();
        }
        ASSERT_TRUE(transport().isStopped());
    }

    zyltest::ScopedDefaultLookAndFeel lookAndFeel;
    ZylFakeUiSeam seam;
    ZylScopedUiSeam installed { seam };
    SuspendRecordingFilter filter;
    ZylEditor editor { filter };
    std::unique_ptr<ZylHeaderPanel> header;
    juce::TemporaryFile folder { juce::String(), juce::TemporaryFile::useHiddenFile };
};
} // namespace

TEST_F(HeaderPanel, MenuItemsPostTheirCommandsAndTheFileCommandsOpenTheirDialogs)
{
    struct Case
    {
        int item;
        int code;
        Kind dialog;
        const char* title;
    };
    const Case fileItems[] = {
        { ZylHeaderPanel::kLoadBankItem, 0x1006, Kind::fileChooser, "Load Preset Bank (*.fxb)" },
        { ZylHeaderPanel::kLoadPresetItem, 0x0E06, Kind::fileChooser, "Load Preset (*.fxp)" },
        { ZylHeaderPanel::kSaveBankItem, 0x0F06, Kind::fileChooser, "Save Preset Bank (*.fxb)" },
        { ZylHeaderPanel::kSavePresetItem, 0x0D06, Kind::fileChooser, "Save Preset (*.fxp)" },
        { ZylHeaderPanel::kRenamePresetItem, 0x1106, Kind::textPrompt, "Rename preset" },
    };

    Recorder recorder;
    programs().getCommandParameter()->addSink(&recorder);
    for (const auto& c : fileItems)
    {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(ZylHeaderPanel::commandCodeForMenuItem(c.item), c.code);
        recorder.messages.clear();
        seam.calls.clear();
        header->handleMenuChoice(c.item);
        zyltest::drainMessageQueue();
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].second, c.code);
        ASSERT_EQ(seam.calls.size(), 1u) << "one dialog, cancelled: nothing else follows";
        EXPECT_EQ(seam.calls[0].kind, c.dialog);
        EXPECT_EQ(seam.calls[0].title, c.title);
    }
    programs().getCommandParameter()->removeSink(&recorder);

    const std::pair<int, int> helpItems[] = {
        { ZylHeaderPanel::kHelpItem, 0x0C06 },
        { ZylHeaderPanel::kProductHomeItem, 0x1306 },
        { ZylHeaderPanel::kOnlineManualItem, 0x1406 },
        { ZylHeaderPanel::kLatestUpdatesItem, 0x1506 },
        { ZylHeaderPanel::kAboutItem, 0x0B06 },
    };
    recorder.messages.clear();
    filter.help().getCommandParameter()->addSink(&recorder);
    for (const auto& [item, code] : helpItems)
    {
        EXPECT_EQ(ZylHeaderPanel::commandCodeForMenuItem(item), code) << item;
        header->handleMenuChoice(item);
    }
    zyltest::drainMessageQueue();
    filter.help().getCommandParameter()->removeSink(&recorder);
    ASSERT_EQ(recorder.messages.size(), std::size(helpItems));
    for (size_t i = 0; i < recorder.messages.size(); ++i)
        EXPECT_EQ(recorder.messages[i].second, helpItems[i].second);

    // A dismissed menu and unknown items post nothing.
    seam.calls.clear();
    for (int item : { 0, 112, 250 })
    {
        EXPECT_EQ(ZylHeaderPanel::commandCodeForMenuItem(item), 0);
        header->handleMenuChoice(item);
    }
    zyltest::drainMessageQueue();
    EXPECT_TRUE(seam.calls.empty());
}

TEST(HeaderPanelMenus, ListTheirItemsInOrder)
{
    auto texts = [](const juce::PopupMenu& menu) {
        juce::StringArray list;
        for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
        {
            const auto& item = it.getItem();
            list.add(item.isSeparator ? "-" : juce::String(item.itemID) + " " + item.text);
        }
        return list;
    };
    EXPECT_EQ(texts(ZylHeaderPanel::createFileMenu()).joinIntoString("|"),
              "110 Load Preset Bank...|111 Load Preset...|-|120 Save Preset Bank As...|"
              "121 Save Preset As...|-|130 Rename Preset...");
    EXPECT_EQ(texts(ZylHeaderPanel::createHelpMenu()).joinIntoString("|"),
              "210 Help...|-|220 Product home|230 Online manual|240 Latest updates|-|260 About...");
}

TEST_F(HeaderPanel, TypedTempoAndTimeSignatureAreSetOrRevertTheDisplay)
{
    struct Case
    {
        const char* typed;
        bool tempo;
        float bpm;
        int numerator;
        int denominator;
        const char* shown;
    };
    // Starting from 120.00 and 4/4 each time.
    const Case cases[] = {
        { "140", true, 140.0f, 4, 4, "140.00" },
        { "20", true, 20.0f, 4, 4, "20.00" },
        { "999", true, 999.0f, 4, 4, "999.00" },
        { "99.5", true, 99.5f, 4, 4, "99.50" },
        { "999.5", true, 120.0f, 4, 4, "120.00" },
        { "1000", true, 120.0f, 4, 4, "120.00" },
        { "19.9", true, 120.0f, 4, 4, "120.00" },
        { "fast", true, 120.0f, 4, 4, "120.00" },
        { "3/8", false, 120.0f, 3, 8, "3/8" },
        { "7", false, 120.0f, 7, 7, "7/7" },
        { "3/4/8", false, 120.0f, 3, 8, "3/8" },
        { " 6 / 8", false, 120.0f, 6, 8, "6/8" },
        { "abc", false, 120.0f, 4, 4, "4/4" },
        { "100/4", false, 120.0f, 4, 4, "4/4" },
        { "5/32", false, 120.0f, 5, 4, "5/4" },
        { "-3/2", false, 120.0f, 4, 2, "4/2" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.typed);
        set(transport().getBpmParameter(), 120.0f);
        set(transport().getNumeratorParameter(), 4.0f);
        set(transport().getDenominatorParameter(), 4.0f);
        zyltest::drainMessageQueue();
        runBlockAndTick();
        ASSERT_EQ(header->getBpmLabel()->getText(), "120.00");

        auto& label = c.tempo ? *header->getBpmLabel() : *header->getTimeSignatureLabel();
        type(label, c.typed);
        runBlockAndTick();
        EXPECT_FLOAT_EQ(tempo(), c.bpm);
        EXPECT_EQ(transport().getNumerator(), c.numerator);
        EXPECT_EQ(transport().getDenominator(), c.denominator);
        EXPECT_EQ(label.getText(), c.shown);
    }

    // The song position is a display only.
    type(*header->getSongPositionLabel(), "12");
    EXPECT_FLOAT_EQ(tempo(), 120.0f);
}

TEST_F(HeaderPanel, TransportButtonsStepTheStateAndTheStartButtonBlinksWhileArmed)
{
    struct Step
    {
        const char* what;
        bool start;
        bool blinking;
        bool lit;
    };
    const Step steps[] = {
        { "start: armed", true, true, false },
        { "start again: playing", true, false, true },
        { "stop: armed again", false, true, false },
        { "stop again: stopped", false, false, false },
    };

    stopTransport();
    EXPECT_FALSE(header->getStartButton()->isBlinking());
    EXPECT_FALSE(header->getStartButton()->getToggleState());
    for (const auto& s : steps)
    {
        SCOPED_TRACE(s.what);
        header->buttonClicked(s.start ? header->getStartButton() : header->getStopButton());
        zyltest::drainMessageQueue();
        EXPECT_EQ(header->getStartButton()->isBlinking(), s.blinking);
        if (!s.blinking)
        {
            EXPECT_EQ(header->getStartButton()->getToggleState(), s.lit);
        }
    }
}

TEST_F(HeaderPanel, SongPositionCountsFromOneWhilePlayingAndReadsZeroOtherwise)
{
    stopTransport();
    set(transport().getBpmParameter(), 120.0f);
    zyltest::drainMessageQueue();
    runBlocks(4);
    EXPECT_EQ(header->getSongPositionLabel()->getText(), "   0.   0");

    header->buttonClicked(header->getStartButton());
    zyltest::drainMessageQueue();
    header->buttonClicked(header->getStartButton());
    zyltest::drainMessageQueue();
    ASSERT_TRUE(transport().isPlaying());

    // The first beat was already reached while stopped: the display tick shows it.
    runBlockAndTick();
    EXPECT_EQ(header->getSongPositionLabel()->getText(), "   1.   1");

    // Just past two seconds at 120 beats per minute in 4/4: the second bar's first beat.
    runBlocks(173);
    EXPECT_EQ(header->getSongPositionLabel()->getText(), "   2.   1");
}

namespace
{
struct HostPlayHead : juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setBpm(96.0);
        info.setTimeSignature(juce::AudioPlayHead::TimeSignature { 3, 4 });
        info.setPpqPosition(0.0);
        info.setTimeInSamples(0);
        info.setIsPlaying(false);
        return info;
    }
};
} // namespace

TEST_F(HeaderPanel, TempoAndTimeSignatureAreEditableOnlyWhileTheHostDoesNotDriveThePosition)
{
    EXPECT_TRUE(header->getBpmLabel()->isEditableOnSingleClick());
    EXPECT_TRUE(header->getTimeSignatureLabel()->isEditableOnSingleClick());
    EXPECT_FALSE(header->getSongPositionLabel()->isEditableOnSingleClick());

    HostPlayHead head;
    filter.setPlayHead(&head);
    juce::AudioBuffer<float> buffer(2, 512);
    juce::MidiBuffer midi;
    filter.processBlock(buffer, midi);
    filter.setPlayHead(nullptr);
    zyltest::drainMessageQueue();

    EXPECT_EQ(header->getBpmLabel()->getText(), "96.00");
    EXPECT_EQ(header->getTimeSignatureLabel()->getText(), "3/4");
    EXPECT_FALSE(header->getBpmLabel()->isEditableOnSingleClick());
    EXPECT_FALSE(header->getTimeSignatureLabel()->isEditableOnSingleClick());
}

namespace
{
// The play head a standalone run's player hands over: the time, no tempo, no musical position.
struct TimeOnlyPlayHead : juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setTimeInSamples(44100);
        info.setTimeInSeconds(1.0);
        info.setHostTimeNs(123456789u);
        return info;
    }
};
} // namespace

TEST_F(HeaderPanel, APlayHeadThatKnowsOnlyTheTimeLeavesTempoAndTimeSignatureToTheUser)
{
    TimeOnlyPlayHead head;
    filter.setPlayHead(&head);
    type(*header->getBpmLabel(), "100");
    type(*header->getTimeSignatureLabel(), "3/4");
    runBlockAndTick();
    filter.setPlayHead(nullptr);

    EXPECT_EQ(header->getBpmLabel()->getText(), "100.00");
    EXPECT_EQ(header->getTimeSignatureLabel()->getText(), "3/4");
    EXPECT_FLOAT_EQ(tempo(), 100.0f);
    EXPECT_TRUE(header->getBpmLabel()->isEditableOnSingleClick());
    EXPECT_TRUE(header->getTimeSignatureLabel()->isEditableOnSingleClick());
}

TEST_F(HeaderPanel, SavedBankAndPresetLoadBackAndAreRemembered)
{
    auto* bpm = transport().getBpmParameter();
    auto setTempo = [bpm](float value) {
        const juce::ScopedLock lock(bpm->getLock());
        bpm->setValue(value, kCauseUser, false, true);
    };

    setTempo(133.0f);
    seam.fileAnswers.push_back(file("set.fxb"));
    runCommand(kCommandSaveBank);
    ASSERT_TRUE(file("set.fxb").existsAsFile());
    EXPECT_EQ(lastUsed("lastUsedFileNameWinfxb"), file("set.fxb").getFullPathName());

    const int index = programs().getCurrentProgram();
    programs().setProgramName(index, "Alpha");
    seam.fileAnswers.push_back(file("one.fxp"));
    runCommand(kCommandSavePreset);
    ASSERT_TRUE(file("one.fxp").existsAsFile());
    EXPECT_EQ(lastUsed("lastUsedFileNameWinfxp"), file("one.fxp").getFullPathName());
    EXPECT_TRUE(filter.suspensions.empty()) << "saves do not suspend";

    setTempo(150.0f);
    programs().setProgramName(index, "Beta");
    seam.fileAnswers.push_back(file("one.fxp"));
    runCommand(kCommandLoadPreset);
    EXPECT_EQ(programs().getProgramName(index), "Alpha");
    EXPECT_FLOAT_EQ(tempo(), 150.0f) << "a preset holds no global settings";
    EXPECT_EQ(filter.suspensions, (std::vector<bool> { true, false }));

    filter.suspensions.clear();
    seam.fileAnswers.push_back(file("set.fxb"));
    runCommand(kCommandLoadBank);
    EXPECT_FLOAT_EQ(tempo(), 133.0f);
    EXPECT_EQ(filter.suspensions, (std::vector<bool> { true, false }));
    EXPECT_NE(programs().getProgramName(index), "Alpha") << "the bank was saved before the rename";
    EXPECT_FALSE(filter.isSuspended());

    // The loads asked for no box; the choosers started where the files were.
    EXPECT_TRUE(seam.callsOf(Kind::messageBox).empty());
    const auto choosers = seam.callsOf(Kind::fileChooser);
    ASSERT_EQ(choosers.size(), 4u);
    EXPECT_TRUE(choosers[2].file.initialFile == folder.getFile());
    EXPECT_FALSE(choosers[2].file.save);
    EXPECT_EQ(choosers[2].file.patterns, "*.fxp");
    EXPECT_TRUE(choosers[3].file.initialFile == folder.getFile());
    EXPECT_EQ(choosers[3].file.patterns, "*.fxb");
}

TEST_F(HeaderPanel, DamagedFilesAreReportedAndChangeNothing)
{
    seam.fileAnswers.push_back(file("good.fxb"));
    runCommand(kCommandSaveBank);
    juce::MemoryBlock good;
    ASSERT_TRUE(file("good.fxb").loadFileAsData(good));

    juce::Random random(21);
    juce::MemoryBlock noise(4096);
    random.fillBitsRandomly(noise.getData(), noise.getSize());
    juce::MemoryBlock hugeChunk(good);
    // The chunk size field of a bank header.
    for (size_t i = 0; i < 4; ++i)
        hugeChunk[156 + i] = static_cast<char>(0xff);
    juce::MemoryBlock garbledXml(good);
    garbledXml[170] = '<';
    garbledXml[171] = '<';

    struct Case
    {
        const char* name;
        juce::MemoryBlock bytes;
        int command;
    };
    const Case cases[] = {
        { "noise.fxb", noise, kCommandLoadBank },
        { "short.fxb", juce::MemoryBlock(good.getData(), 100), kCommandLoadBank },
        { "huge.fxb", hugeChunk, kCommandLoadBank },
        { "garbled.fxb", garbledXml, kCommandLoadBank },
        { "bank-as-preset.fxp", good, kCommandLoadPreset },
        { "empty.fxp", juce::MemoryBlock(), kCommandLoadPreset },
        { "missing.fxb", juce::MemoryBlock(), kCommandLoadBank },
    };

    auto* bpm = transport().getBpmParameter();
    {
        const juce::ScopedLock lock(bpm->getLock());
        bpm->setValue(101.0f, kCauseUser, false, true);
    }
    const auto rememberedBank = lastUsed("lastUsedFileNameWinfxb");
    juce::MemoryBlock before;
    filter.root().saveBankToMemory(before);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        seam.calls.clear();
        if (juce::String(c.name) != "missing.fxb")
        {
            ASSERT_TRUE(file(c.name).replaceWithData(c.bytes.getData(), c.bytes.getSize()));
        }
        seam.fileAnswers.push_back(file(c.name));
        runCommand(c.command);

        const auto boxes = seam.callsOf(Kind::messageBox);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "Error");
        EXPECT_EQ(boxes[0].text, "Could not read from the specified file.");
        EXPECT_EQ(boxes[0].icon, juce::MessageBoxIconType::WarningIcon);
        EXPECT_FLOAT_EQ(tempo(), 101.0f);
        juce::MemoryBlock after;
        filter.root().saveBankToMemory(after);
        EXPECT_TRUE(after == before) << "the whole state is as it was";
        EXPECT_EQ(lastUsed("lastUsedFileNameWinfxb"), rememberedBank);
        EXPECT_TRUE(lastUsed("lastUsedFileNameWinfxp").isEmpty());
        EXPECT_FALSE(filter.isSuspended());
    }
}

TEST_F(HeaderPanel, AFailedWriteIsReportedAndNotRemembered)
{
    // A file inside a plain file cannot be written.
    ASSERT_TRUE(file("plain").replaceWithText("not a folder"));
    for (int command : { kCommandSaveBank, kCommandSavePreset })
    {
        seam.calls.clear();
        seam.fileAnswers.push_back(file("plain").getChildFile("set.fxb"));
        runCommand(command);
        const auto boxes = seam.callsOf(Kind::messageBox);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, "Error");
        EXPECT_EQ(boxes[0].text, "Could not write to the specified file.");
    }
    EXPECT_TRUE(lastUsed("lastUsedFileNameWinfxb").isEmpty());
    EXPECT_TRUE(lastUsed("lastUsedFileNameWinfxp").isEmpty());

    // Cancelling a chooser shows nothing more.
    seam.calls.clear();
    runCommand(kCommandSaveBank);
    runCommand(kCommandLoadPreset);
    EXPECT_EQ(seam.calls.size(), 2u);
    EXPECT_TRUE(seam.callsOf(Kind::messageBox).empty());
}

// A save onto a full disk shows the error box and leaves the file it would have replaced as it was.
TEST_F(HeaderPanel, ASaveToAFullDiskIsReportedAndKeepsTheOldFile)
{
    for (const auto& [command, name] : { std::pair { kCommandSaveBank, "full.fxb" },
                                         std::pair { kCommandSavePreset, "full.fxp" } })
    {
        SCOPED_TRACE(name);
        ASSERT_TRUE(file(name).replaceWithText("the old file"));
        seam.calls.clear();
        seam.fileAnswers.push_back(file(name));
        {
            zyltest::FullDisk full(zyltest::FullDisk::Where::atWrite);
            runCommand(command);
        }
        const auto boxes = seam.callsOf(Kind::messageBox);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Could not write to the specified file.");
        EXPECT_EQ(file(name).loadFileAsString(), "the old file");
    }
}

namespace
{
#if ! JUCE_WINDOWS
// Points HOME, where JUCE finds the home folder and (through "~") the documents folder, at a
// folder of the test's own for the scope.
class ScopedHomeFolder
{
public:
    explicit ScopedHomeFolder(const juce::File& home)
    {
        if (const char* old = std::getenv("HOME"))
            saved = old;
        hadHome = std::getenv("HOME") != nullptr;
        setenv("HOME", home.getFullPathName().toRawUTF8(), 1);
    }
    ~ScopedHomeFolder()
    {
        if (hadHome)
            setenv("HOME", saved.c_str(), 1);
        else
            unsetenv("HOME");
    }

private:
    std::string saved;
    bool hadHome = false;
};
#endif
} // namespace

// A fresh account has no documents folder; a remembered file's folder may have gone. The choosers
// start in a folder that exists all the same, so that a bare file name typed there can be saved.
TEST_F(HeaderPanel, ChoosersStartInTheDocumentsFolderOrElseTheHomeFolder)
{
#if JUCE_WINDOWS
    GTEST_SKIP() << "the home folder follows HOME on Linux and macOS only";
#else
    struct Case
    {
        const char* what;
        bool documents;
        const char* remembered; // in the home folder; empty for none
        const char* startFolder;
        const char* startName;
    };
    const Case cases[] = {
        { "a fresh home", false, "", "", "untitled.fxb" },
        { "a home with documents", true, "", "Documents", "untitled.fxb" },
        { "remembered in a folder that has gone", true, "gone/old.fxb", "Documents", "old.fxb" },
        { "remembered in a folder that has gone, fresh home", false, "gone/old.fxb", "", "old.fxb" },
    };
    int number = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const auto home = file("home" + juce::String(++number));
        ASSERT_TRUE(home.createDirectory());
        if (c.documents)
        {
            ASSERT_TRUE(home.getChildFile("Documents").createDirectory());
        }
        const ScopedHomeFolder scopedHome(home);
        programs().getPropertySet()->setValue(
            "lastUsedFileNameWinfxb",
            *c.remembered != 0 ? home.getChildFile(c.remembered).getFullPathName() : juce::String());

        seam.calls.clear();
        runCommand(kCommandSaveBank);
        runCommand(kCommandLoadBank);
        const auto choosers = seam.callsOf(Kind::fileChooser);
        ASSERT_EQ(choosers.size(), 2u);
        const auto& save = choosers[0].file;
        const auto start = home.getChildFile(c.startFolder);
        EXPECT_TRUE(save.save);
        EXPECT_TRUE(save.warnAboutOverwriting);
        EXPECT_EQ(save.initialFile.getFullPathName(),
                  start.getChildFile(c.startName).getFullPathName());
        EXPECT_FALSE(save.initialFile.exists());
        EXPECT_EQ(choosers[1].file.initialFile.getFullPathName(), start.getFullPathName());

        // What the chooser answers for a bare name typed at its start.
        const auto typed = save.initialFile.getSiblingFile("first.fxb");
        seam.fileAnswers.push_back(typed);
        runCommand(kCommandSaveBank);
        EXPECT_TRUE(seam.callsOf(Kind::messageBox).empty());
        EXPECT_TRUE(typed.existsAsFile());
    }
#endif
}

TEST_F(HeaderPanel, RenameThroughThePromptShowsInTheComboAndInTheSavedBank)
{
    const int index = programs().getCurrentProgram();
    const auto oldName = programs().getProgramName(index);

    runCommand(kCommandRenamePreset);
    auto prompts = seam.callsOf(Kind::textPrompt);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, "New preset name:");
    EXPECT_EQ(prompts[0].editorName, "programName");
    EXPECT_EQ(prompts[0].initialText, oldName);
    EXPECT_EQ(prompts[0].buttons, juce::StringArray({ "      OK      ", "   Cancel   " }));
    EXPECT_EQ(programs().getProgramName(index), oldName) << "cancelled";

    seam.promptAnswers.push_back(juce::CharPointer_UTF8("Nocturne f\xc3\xbcr Pad"));
    runCommand(kCommandRenamePreset);
    const juce::String newName(juce::CharPointer_UTF8("Nocturne f\xc3\xbcr Pad"));
    EXPECT_EQ(programs().getProgramName(index), newName);
    auto* combo = findCombo(*header->getProgramCombo());
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->getText().contains(newName)) << combo->getText();

    seam.fileAnswers.push_back(file("renamed.fxb"));
    runCommand(kCommandSaveBank);
    zyltest::PanelTestFilter other;
    ASSERT_TRUE(other.root().loadBankFromFile(file("renamed.fxb")));
    EXPECT_EQ(other.programs().getProgramName(index), newName);
}

TEST_F(HeaderPanel, PictureShowsTheIconsAndOneBoxBehindTheDisplays)
{
    header->buttonClicked(header->getStartButton());
    zyltest::drainMessageQueue();
    const int height = header->getPreferredHeight();
    const auto image = zyltest::renderComponent(*header, 800, height);
    zyltest::maybeWriteSnapshot(*header, 800, height, "header");

    // Each button shows its light icon in its middle (the stop square, the disk's body).
    for (auto* button : { header->getStopButton(), header->getFileButton() })
    {
        SCOPED_TRACE(button->getName().toStdString());
        const auto centre = button->getBounds().getCentre();
        EXPECT_GT(image.getPixelAt(centre.x, centre.y).getBrightness(), 0.7f);
    }

    // The box behind the displays runs 5 pixels past the song position, in the combo colour.
    const auto box = lookAndFeel.lookAndFeel.findColour(juce::ComboBox::backgroundColourId);
    const auto* song = header->getSongPositionLabel();
    const int y = song->getBounds().getCentreY();
    EXPECT_TRUE(zyltest::coloursNear(image.getPixelAt(song->getRight() + 2, y), box, 8));
    EXPECT_FALSE(zyltest::coloursNear(image.getPixelAt(song->getRight() + 8, y), box, 8));
}
