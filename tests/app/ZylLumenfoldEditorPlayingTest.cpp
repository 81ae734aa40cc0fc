// The product processor driven through processBlock with its whole editor alive: a press on the
// grid plays and lights the chord in every view, a program chosen in the header reaches every
// widget, a change from the host shows in its widget, the audio thread never paints, and
// editors opened and closed while blocks run leave nothing registered behind.
#include "app/ZylLumenfoldEditor.h"
#include "app/ZylLumenfoldFilter.h"
#include "framework/ZylDomain.h"
#include "framework/ZylHostParameter.h"
#include "framework/ZylLinkParameterSet.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylProgramModule.h"
#include "framework/ZylValue.h"
#include "modules/ZylSynthModule.h"
#include "space/ZylCell.h"
#include "space/ZylCellStates.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceModule.h"
#include "space/ZylTile.h"
#include "tests/TestHelpers.h"
#include "tests/ui/ZylFakeUiSeam.h"
#include "tests/ui/ZylSnapshot.h"
#include "tests/ui/ZylViewTestSupport.h"
#include "ui/ZylChordView.h"
#include "ui/ZylGridPanel.h"
#include "ui/ZylGridView.h"
#include "ui/ZylHeaderPanel.h"
#include "ui/ZylParamCombo.h"
#include "ui/ZylParamControl.h"
#include "ui/ZylPianoPanel.h"
#include "ui/ZylPianoView.h"
#include "ui/ZylSpacePanel.h"
#include "tests/framework/ZylParameterTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace
{
juce::String toJuce(const std::wstring& text)
{
    return juce::String(text.c_str());
}

// What a parameter widget shows next to what its parameter holds, in the widget's own terms:
// a combo box shows the value's label, a knob's value box and a radio group the value's name, a
// toggle whether the value is the second one.
struct ShownValue
{
    juce::String parameter;
    juce::String shown;
    juce::String held;
};

void collectShownValues(juce::Component& component, std::vector<ShownValue>& out)
{
    if (auto* control = dynamic_cast<ZylParamControl*>(&component))
    {
        if (auto* parameter = control->getParameter())
        {
            const juce::ScopedLock sl(parameter->getLock());
            auto* value = parameter->getValueObject();
            ShownValue item { toJuce(parameter->getName()), {}, {} };
            for (auto* child : control->getChildren())
            {
                if (auto* box = dynamic_cast<juce::ComboBox*>(child))
                {
                    item.shown = box->getText();
                    item.held = value != nullptr ? toJuce(value->getLabel()) : juce::String();
                }
                else if (auto* label = dynamic_cast<juce::Label*>(child);
                         label != nullptr && label->getName() == "valueBox")
                {
                    item.shown = label->getText();
                    item.held = value != nullptr ? toJuce(value->getName()) : juce::String();
                }
                else if (auto* button = dynamic_cast<juce::Button*>(child);
                         button != nullptr && button->getClickingTogglesState())
                {
                    // A toggle's one button, or one button of a radio group per value.
                    if (button->getName().isEmpty())
                    {
                        item.shown = button->getToggleState() ? "on" : "off";
                        item.held = parameter->getIndex() != 0 ? "on" : "off";
                    }
                    else if (button->getToggleState())
                    {
                        item.shown = button->getName();
                        item.held = value != nullptr ? toJuce(value->getName()) : juce::String();
                    }
                }
            }
            out.push_back(item);
        }
    }
    for (auto* child : component.getChildren())
        collectShownValues(*child, out);
}

// Records the thread of every repaint that reaches the editor: a component's repaint travels
// up its parents and passes each one's cached image, so one recorder on the editor hears the
// repaints of every visible component inside it. Painting itself goes on as without it.
struct RepaintThreadRecorder : juce::CachedComponentImage
{
    explicit RepaintThreadRecorder(juce::Component& c) : owner(c) {}

    void paint(juce::Graphics& g) override { owner.paintEntireComponent(g, false); }
    bool invalidateAll() override { return record(); }
    bool invalidate(const juce::Rectangle<int>&) override { return record(); }
    void releaseResources() override {}

    bool record()
    {
        const std::lock_guard<std::mutex> guard(mutex);
        threads.insert(std::this_thread::get_id());
        ++count;
        return true;
    }

    juce::Component& owner;
    std::mutex mutex;
    std::set<std::thread::id> threads;
    int count = 0;
};

// Counts the sinks registered on every parameter of the tree (in the modules' own sets, the
// links to their current programs and the container's set) and on their domains, and on the
// processor.
int countSinks(ZylFilter& filter)
{
    std::set<const ZylMessageSinkList*> lists;
    std::function<void(const ZylParameterSet*)> visitSet = [&](const ZylParameterSet* set) {
        if (set == nullptr)
            return;
        for (auto* parameter : set->getParameters())
        {
            lists.insert(&parameter->getSinkList());
            if (auto* domain = parameter->getDomain())
                lists.insert(&domain->getSinkList());
        }
        for (auto* child : set->getChildSets())
            visitSet(child);
    };
    std::function<void(const ZylModule*)> visitModule = [&](const ZylModule* module) {
        visitSet(module->getGlobalParameters());
        for (auto* program : module->getPrograms())
            visitSet(program);
        // The links to the current program, where the widgets listen.
        visitSet(module->getProgramParameters());
        visitSet(module->getChildGlobalParameters());
        visitSet(module->getChildProgramParameters());
        visitSet(module->getCommandParameters());
        for (auto* child : module->getChildren())
            visitModule(child);
    };
    auto* container = filter.getModuleContainer();
    visitModule(container->getRootModule());
    visitSet(container->getParameters());
    if (auto* reset = container->getResetParameter())
        lists.insert(&reset->getSinkList());
    int count = filter.getSinkList().getNumSinks();
    for (auto* list : lists)
        count += list->getNumSinks();
    return count;
}

// Runs audio blocks on a thread of its own, as the audio device does: under the processor's
// callback lock, about as often as real time asks.
class AudioThread
{
public:
    AudioThread(ZylFilter& f, int blockSize) : filter(f), block(blockSize)
    {
        worker = std::thread([this] { run(); });
    }
    ~AudioThread() { stop(); }

    void stop()
    {
        running = false;
        if (worker.joinable())
            worker.join();
    }

    int blocksRun() const { return blocks.load(); }
    float peak() const { return loudest.load(); }
    std::thread::id id() const { return worker.get_id(); }

private:
    void run()
    {
        juce::AudioBuffer<float> audio(2, block);
        juce::MidiBuffer midi;
        while (running)
        {
            audio.clear();
            midi.clear();
            {
                const juce::ScopedLock sl(filter.getCallbackLock());
                filter.processBlock(audio, midi);
            }
            loudest = juce::jmax(loudest.load(), audio.getMagnitude(0, block));
            ++blocks;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    ZylFilter& filter;
    int block;
    std::atomic<bool> running { true };
    std::atomic<int> blocks { 0 };
    std::atomic<float> loudest { 0.0f };
    std::thread worker;
};

struct EditorPlaying : ::testing::Test
{
    static constexpr int kBlock = 512;
    // Nothing but the synth's keep-alive sample (1e-4 in an otherwise silent block).
    static constexpr float kSilence = 2.0e-4f;

    EditorPlaying()
    {
        filter.initialise();
        filter.prepareToPlay(44100.0, kBlock);
        zyltest::drainMessageQueue();
        openEditor();
    }

    ~EditorPlaying() override
    {
        editor.reset();
        filter.releaseResources();
        zyltest::drainMessageQueue();
    }

    // The editor as the standalone window shows it: 1001 x 560, visible.
    void openEditor()
    {
        editor.reset(dynamic_cast<ZylLumenfoldEditor*>(filter.createEditor()));
        ASSERT_NE(editor, nullptr);
        editor->setSize(1001, 560);
        editor->setVisible(true);
        zyltest::drainMessageQueue();
    }

    ZylSpaceModule& space() const
    {
        return *dynamic_cast<ZylSpaceModule*>(
            filter.getModuleContainer()->getModule(ZylSpaceModule::kModuleId));
    }
    ZylGridView& grid() const { return *editor->getGridPanel()->getSpaceView(); }
    ZylPianoView& piano() const { return *editor->getPianoPanel()->getPianoView(); }
    ZylChordView& chordView() const { return *editor->getSpacePanel()->getChordView(); }


    // Audio blocks on this thread, then the messages they posted; the loudest sample.
    float blocks(int n)
    {
        float peak = 0.0f;
        for (int i = 0; i < n; ++i)
        {
            juce::AudioBuffer<float> audio(2, kBlock);
            audio.clear();
            juce::MidiBuffer midi;
            filter.processBlock(audio, midi);
            peak = juce::jmax(peak, audio.getMagnitude(0, kBlock));
        }
        zyltest::drainMessageQueue();
        return peak;
    }

    // Presses the grid on a cell of the note, as the mouse would. The layout of a space chosen
    // just before is made in the next block: run one first.
    juce::Point<int> pressGrid(int note)
    {
        auto* cell = zyltest::shownCellOf(grid(), note);
        EXPECT_NE(cell, nullptr) << note;
        if (cell == nullptr)
            return {};
        const auto p = zyltest::uncoveredPointIn(grid(), *cell);
        grid().pointerEntered();
        grid().pointerMoved(p.x, p.y);
        grid().pointerDown(p.x, p.y);
        return p;
    }

    static std::set<int> notesOf(const ZylCellSet& set)
    {
        std::set<int> notes;
        for (auto* cell : set.getCells())
            notes.insert(cell->getNote());
        return notes;
    }

    // Every widget of the editor whose shown value differs from its parameter's.
    std::vector<ShownValue> mismatchedWidgets(int& widgets) const
    {
        std::vector<ShownValue> all;
        collectShownValues(*editor, all);
        widgets = static_cast<int>(all.size());
        std::vector<ShownValue> wrong;
        for (const auto& item : all)
            if (item.shown != item.held)
                wrong.push_back(item);
        return wrong;
    }

    ZylFakeUiSeam seam;
    ZylScopedUiSeam seamInstalled { seam };
    ZylLumenfoldFilter filter;
    std::unique_ptr<ZylLumenfoldEditor> editor;
};

std::string describe(const std::vector<ShownValue>& items)
{
    juce::String text;
    for (const auto& item : items)
        text << item.parameter << ": shows \"" << item.shown << "\", holds \"" << item.held << "\"\n";
    return text.toStdString();
}
} // namespace

TEST_F(EditorPlaying, APressOnTheGridPlaysAndLightsTheChordOnGridPianoAndChordView)
{
    zyltest::selectByName(space().getSpaceParameter(), L"LH");
    zyltest::selectByName(space().getTriggerParameter(), L"Mouse Cl");
    zyltest::selectByName(space().getAssistParameter(), L"Ch Root");
    zyltest::selectByName(space().getKeyParameter(), L"C");
    zyltest::selectByName(space().getScaleParameter(), L"Chroma");
    zyltest::selectByName(space().getChordParameter(), L"M");
    EXPECT_LT(blocks(4), kSilence);

    const auto p = pressGrid(60);
    const float loudest = blocks(8);
    EXPECT_GT(loudest, 0.01f);
    EXPECT_EQ(notesOf(space().getGridSpace()->getPrimaryStates()->getActiveSounding()),
              (std::set<int> { 60, 64, 67 }));
    EXPECT_EQ(notesOf(space().getPianoSpace()->getPrimaryStates()->getActiveSounding()),
              (std::set<int> { 60, 64, 67 }));
    EXPECT_EQ(chordView().getLastRootName(), "C");
    EXPECT_EQ(chordView().getLastChordName(), "M");

    // The whole editor's picture: the sounding keys of the piano stand out from a silent one.
    const auto image = zyltest::renderComponent(*editor, 1001, 560);
    auto keyColour = [&](int note) {
        auto* key = zyltest::shownCellOf(piano(), note);
        const auto at = zyltest::uncoveredPointIn(piano(), *key);
        const auto inEditor = editor->getLocalPoint(&piano(), at);
        return image.getPixelAt(inEditor.x, inEditor.y);
    };
    EXPECT_EQ(keyColour(60), keyColour(67));
    EXPECT_NE(keyColour(60), keyColour(62));

    // Released, the chord goes out and its sound dies away within two seconds.
    grid().pointerUp(p.x, p.y);
    blocks(2);
    EXPECT_TRUE(space().getGridSpace()->getPrimaryStates()->getActiveSounding().getCells().empty());
    blocks(180);
    EXPECT_LT(blocks(4), kSilence);
}

TEST_F(EditorPlaying, AProgramChosenInTheHeaderReachesEveryPanel)
{
    int widgets = 0;
    EXPECT_EQ(describe(mismatchedWidgets(widgets)), "");
    EXPECT_GE(widgets, 15);

    auto* programs = dynamic_cast<ZylProgramModule*>(
        filter.getModuleContainer()->getModule(ZylProgramModule::kModuleId));
    ASSERT_NE(programs, nullptr);
    auto* combo = editor->getHeaderPanel()->getProgramCombo();
    ASSERT_NE(combo, nullptr);
    juce::ComboBox* box = nullptr;
    for (auto* child : combo->getChildren())
        if (auto* b = dynamic_cast<juce::ComboBox*>(child))
            box = b;
    ASSERT_NE(box, nullptr);

    const auto* gridSpaceBefore = grid().getSpace()->getSpace();
    box->setSelectedItemIndex(16, juce::sendNotificationSync);
    blocks(2);

    EXPECT_EQ(programs->getCurrentProgram(), 16);
    EXPECT_EQ(box->getText(), "LH C Major Sevenths");
    EXPECT_EQ(describe(mismatchedWidgets(widgets)), "");
    EXPECT_EQ(toJuce(space().getSpaceParameter()->getValueObject()->getName()), "LH");
    // The grid shows the new space.
    EXPECT_NE(grid().getSpace()->getSpace(), gridSpaceBefore);

    // And back by the wheel-free way too: the program module's own switch.
    programs->selectProgram(0, kCauseUser);
    blocks(2);
    EXPECT_EQ(box->getText(), programs->getProgramName(0));
    EXPECT_EQ(describe(mismatchedWidgets(widgets)), "");
}

TEST_F(EditorPlaying, AChangeFromTheHostShowsInItsWidgetAndIsNotEchoed)
{
    auto* gain = dynamic_cast<ZylSynthModule*>(
                     filter.getModuleContainer()->getModule(ZylSynthModule::kModuleId))
                     ->getGainParameter();
    ASSERT_NE(gain, nullptr);
    int hostIndex = -1;
    for (int i = 0; i < filter.getNumParameters(); ++i)
        if (filter.getHostParameter(i) != nullptr
            && filter.getHostParameter(i)->getDomain() == gain->getDomain())
            hostIndex = i;
    ASSERT_GE(hostIndex, 0);
    auto* adapter = filter.getHostParameterAdapter(hostIndex);
    ASSERT_NE(adapter, nullptr);

    struct HostListener : juce::AudioProcessorListener
    {
        void audioProcessorParameterChanged(juce::AudioProcessor*, int, float) override { ++changes; }
        void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
        int changes = 0;
    } host;
    filter.addListener(&host);

    auto* last = gain->getDomain()->getValues().back();
    adapter->setValue(last->getPosition());
    blocks(1);
    filter.removeListener(&host);

    EXPECT_EQ(gain->getValueObject(), last);
    int widgets = 0;
    EXPECT_EQ(describe(mismatchedWidgets(widgets)), "");
    EXPECT_EQ(host.changes, 0);
}

TEST_F(EditorPlaying, BlocksOnTheAudioThreadRepaintNothingThemselves)
{
    zyltest::selectByName(space().getSpaceParameter(), L"LH");
    zyltest::selectByName(space().getAssistParameter(), L"Ch Root");
    zyltest::selectByName(space().getChordParameter(), L"M");
    blocks(2);
    auto* recorder = new RepaintThreadRecorder(*editor);
    editor->setCachedComponentImage(recorder);

    pressGrid(62);
    {
        AudioThread audio(filter, kBlock);
        const auto until = juce::Time::getMillisecondCounter() + 400;
        while (juce::Time::getMillisecondCounter() < until || audio.blocksRun() < 20)
        {
            zyltest::drainMessageQueue();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        audio.stop();
        EXPECT_GT(audio.peak(), 0.01f);
    }
    zyltest::drainMessageQueue();

    EXPECT_EQ(notesOf(space().getGridSpace()->getPrimaryStates()->getActiveSounding()),
              (std::set<int> { 62, 66, 69 }));
    EXPECT_EQ(chordView().getLastRootName(), "D");
    EXPECT_GT(recorder->count, 0);
    EXPECT_EQ(recorder->threads, (std::set<std::thread::id> { std::this_thread::get_id() }));
    editor->setCachedComponentImage(nullptr);
}

TEST_F(EditorPlaying, TwentyEditorsOpenedAndClosedWhileBlocksRunLeaveNoSinkBehind)
{
    editor.reset();
    zyltest::drainMessageQueue();
    const int sinksWithoutEditor = countSinks(filter);

    AudioThread audio(filter, kBlock);
    for (int round = 0; round < 20; ++round)
    {
        openEditor();
        EXPECT_GT(countSinks(filter), sinksWithoutEditor);
        const auto p = pressGrid(60 + round % 12);
        for (int i = 0; i < 3; ++i)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
            zyltest::drainMessageQueue();
        }
        if (round % 2 == 0)
            grid().pointerUp(p.x, p.y);
        editor.reset();
        zyltest::drainMessageQueue();
        EXPECT_EQ(countSinks(filter), sinksWithoutEditor) << round;
    }
    audio.stop();
    EXPECT_GT(audio.blocksRun(), 20);
    zyltest::drainMessageQueue();
    EXPECT_EQ(countSinks(filter), sinksWithoutEditor);
}

TEST_F(EditorPlaying, Snapshots)
{
    zyltest::maybeWriteSnapshot(*editor, 1001, 560, "editor-start");

    zyltest::selectByName(space().getSpaceParameter(), L"LH");
    zyltest::selectByName(space().getKeyParameter(), L"D");
    zyltest::selectByName(space().getScaleParameter(), L"Major");
    blocks(2);
    pressGrid(62);
    blocks(4);
    EXPECT_FALSE(space().getGridSpace()->getPrimaryStates()->getActiveSounding().getCells().empty());
    zyltest::maybeWriteSnapshot(*editor, 1001, 560, "editor-lh-d-major-chord");
}
