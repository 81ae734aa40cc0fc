#include "ui/MidiInputListBox.h"
#include "ui/MidiOutputListBox.h"
#include "ui/ZylMidiDeviceSelectorComponent.h"

#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiOutputDeviceManager.h"
#include "tests/TestHelpers.h"
#include "tests/ui/ZylScopedDefaultLookAndFeel.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"
#include "tests/ui/ZylSnapshot.h"
#include "tests/ui/ZylUiTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct MidiDeviceSelector : ::testing::Test
{
    MidiDeviceSelector()
    {
        backend.inputNames = { "Keys In", "Pads In" };
        backend.outputNames = { "Synth Out", "Drums Out" };
    }

    std::unique_ptr<ZylMidiDeviceSelectorComponent> makeSelector()
    {
        auto selector = std::make_unique<ZylMidiDeviceSelectorComponent>(inputs, outputs);
        selector->setSize(570, 350);
        return selector;
    }

    // A click on a row of the list at x, as the list's row component reports it.
    static void click(ZylMidiPortListBox& list, int row, int x, int clicks)
    {
        const auto now = juce::Time::getCurrentTime();
        const juce::Point<float> at(static_cast<float>(x), 10.0f);
        const juce::MouseEvent event(juce::Desktop::getInstance().getMainMouseSource(), at,
                                     juce::ModifierKeys(), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, &list,
                                     &list, now, at, now, clicks, false);
        if (clicks == 2)
            list.listBoxItemDoubleClicked(row, event);
        else
            list.listBoxItemClicked(row, event);
    }

    // Whether the row's tick box shows a tick: the tick's dark strokes darken the box's centre.
    static bool showsTick(ZylMidiPortListBox& list, int row)
    {
        const int h = ZylMidiPortListBox::kRowHeight;
        juce::Image image(juce::Image::ARGB, 250, h, true);
        {
            juce::Graphics g(image);
            list.paintListBoxItem(row, g, 250, h, false);
        }
        // Compared with an unticked box painted by the look-and-feel directly.
        juce::Image unticked(juce::Image::ARGB, 250, h, true);
        {
            juce::Graphics g(unticked);
            const float t = static_cast<float>(h - h / 4);
            const int x = h + 5;
            list.getLookAndFeel().drawTickBox(g, list, static_cast<float>(x) - t,
                                              (static_cast<float>(h) - t) / 2.0f, t, t, false,
                                              true, true, false);
        }
        int differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < h + 5; ++x)
                if (image.getPixelAt(x, y) != unticked.getPixelAt(x, y))
                    ++differing;
        return differing > 10;
    }

    zyltest::ScopedDefaultLookAndFeel lookAndFeel;
    ZylFakeMidiPortBackend backend;
    ZylMidiInputDeviceManager inputs { &backend };
    ZylMidiOutputDeviceManager outputs { &backend };
};
} // namespace

TEST_F(MidiDeviceSelector, ListsThePresentPortsByNameAndShowsTheEmptyTextWithoutPorts)
{
    auto selector = makeSelector();
    EXPECT_EQ(selector->getInputList()->getName(), "midi");
    EXPECT_EQ(selector->getOutputList()->getName(), "midiout");
    EXPECT_EQ(selector->getInputList()->getItems(), backend.inputNames);
    EXPECT_EQ(selector->getOutputList()->getItems(), backend.outputNames);
    EXPECT_EQ(selector->getInputList()->getBounds(), juce::Rectangle<int>(30, 50, 250, 273));
    EXPECT_EQ(selector->getOutputList()->getBounds(), juce::Rectangle<int>(292, 50, 250, 273));

    ZylFakeMidiPortBackend none;
    ZylMidiInputDeviceManager noInputs(&none);
    ZylMidiOutputDeviceManager noOutputs(&none);
    ZylMidiDeviceSelectorComponent empty(noInputs, noOutputs);
    EXPECT_EQ(empty.getInputList()->getNumRows(), 0);
    EXPECT_EQ(empty.getInputList()->getEmptyText(), "(no midi inputs available)");
    EXPECT_EQ(empty.getOutputList()->getNumRows(), 0);
    EXPECT_EQ(empty.getOutputList()->getEmptyText(), "(no midi outputs available)");

    // The empty text shows in grey in the list's top half, and only there.
    auto greyPixels = [](ZylMidiPortListBox& list, int top, int bottom) {
        const auto image = zyltest::renderComponent(list, 250, 273);
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                if (zyltest::coloursNear(image.getPixelAt(x, y), juce::Colour(0xff808080), 24))
                    ++count;
        return count;
    };
    EXPECT_GT(greyPixels(*empty.getInputList(), 0, 136), 30);
    EXPECT_EQ(greyPixels(*empty.getInputList(), 140, 272), 0);
    EXPECT_EQ(greyPixels(*selector->getInputList(), 60, 136), 0)
        << "below the rows of a list with ports";

    // Without a backend there are no ports either.
    ZylMidiInputDeviceManager detached(nullptr);
    ZylMidiOutputDeviceManager detachedOut(nullptr);
    ZylMidiDeviceSelectorComponent bare(detached, detachedOut);
    EXPECT_EQ(bare.getInputList()->getNumRows(), 0);
}

TEST_F(MidiDeviceSelector, TickColumnClicksAndDoubleClicksSwitchPortsNameClicksOnlySelect)
{
    struct Case
    {
        const char* what;
        int x;
        int clicks;
        bool switches;
    };
    const Case cases[] = {
        { "click in the tick box", 12, 1, true },
        { "click at the column's last pixel", 25, 1, true },
        { "click on the name", 26, 1, false },
        { "click far right", 200, 1, false },
        { "double click on the name", 120, 2, true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        inputs.disableAllInputs();
        outputs.disableAllOutputs();
        auto selector = makeSelector();

        click(*selector->getInputList(), 1, c.x, c.clicks);
        click(*selector->getOutputList(), 0, c.x, c.clicks);
        EXPECT_EQ(inputs.isMidiInputEnabled("Pads In"), c.switches);
        EXPECT_FALSE(inputs.isMidiInputEnabled("Keys In"));
        EXPECT_EQ(outputs.isMidiOutputEnabled("Synth Out"), c.switches);
        EXPECT_EQ(selector->getInputList()->getSelectedRow(), c.clicks == 1 ? 1 : -1);

        // The same gesture again switches back.
        click(*selector->getInputList(), 1, c.x, c.clicks);
        EXPECT_FALSE(inputs.isMidiInputEnabled("Pads In"));
    }
}

TEST_F(MidiDeviceSelector, TickingOpensThePortThroughTheManagerAndUntickingClosesIt)
{
    auto selector = makeSelector();
    auto& inputList = *selector->getInputList();

    inputList.flipEnablement(0);
    ASSERT_EQ(backend.openInputs().size(), 1u);
    EXPECT_EQ(backend.openInputs()[0].first, "Keys In");
    EXPECT_TRUE(backend.openInputs()[0].second) << "an opened input is started";
    EXPECT_TRUE(showsTick(inputList, 0));
    EXPECT_FALSE(showsTick(inputList, 1));

    selector->getOutputList()->flipEnablement(1);
    EXPECT_EQ(backend.openOutputCount(), 1);
    EXPECT_TRUE(outputs.isMidiOutputEnabled("Drums Out"));

    inputList.flipEnablement(0);
    selector->getOutputList()->flipEnablement(1);
    EXPECT_TRUE(backend.openInputs().empty());
    EXPECT_EQ(backend.openOutputCount(), 0);
    EXPECT_FALSE(showsTick(inputList, 0));

    // Rows outside the list do nothing.
    inputList.flipEnablement(-1);
    inputList.flipEnablement(2);
    EXPECT_TRUE(backend.openInputs().empty());
}

TEST_F(MidiDeviceSelector, APortThatFailsToOpenStaysUnticked)
{
    auto selector = makeSelector();
    backend.failOpen = true;
    selector->getInputList()->flipEnablement(0);
    EXPECT_FALSE(inputs.isMidiInputEnabled("Keys In"));
    EXPECT_FALSE(showsTick(*selector->getInputList(), 0));
}

TEST_F(MidiDeviceSelector, TicksFollowPortsOpenedElsewhereAndNewPortsAppearInTheNextSelector)
{
    auto selector = makeSelector();
    inputs.setMidiInputEnabled("Pads In", true);
    zyltest::drainMessageQueue();
    EXPECT_TRUE(showsTick(*selector->getInputList(), 1));

    // A port plugged in while the selector is shown waits for the next one.
    backend.inputNames.add("Late In");
    inputs.setMidiInputEnabled("Late In", true);
    zyltest::drainMessageQueue();
    EXPECT_EQ(selector->getInputList()->getNumRows(), 2);

    auto next = makeSelector();
    ASSERT_EQ(next->getInputList()->getNumRows(), 3);
    EXPECT_TRUE(showsTick(*next->getInputList(), 2));

    // The selector stops listening when it goes: a later broadcast reaches nothing.
    selector.reset();
    next.reset();
    inputs.setMidiInputEnabled("Late In", false);
    zyltest::drainMessageQueue();
}

TEST_F(MidiDeviceSelector, Snapshots)
{
    inputs.setMidiInputEnabled("Pads In", true);
    outputs.setMidiOutputEnabled("Synth Out", true);
    auto twoPorts = makeSelector();
    twoPorts->getInputList()->selectRow(0);
    zyltest::maybeWriteSnapshot(*twoPorts, 570, 350, "midi-settings-two-ports");

    ZylFakeMidiPortBackend none;
    ZylMidiInputDeviceManager noInputs(&none);
    ZylMidiOutputDeviceManager noOutputs(&none);
    ZylMidiDeviceSelectorComponent empty(noInputs, noOutputs);
    zyltest::maybeWriteSnapshot(empty, 570, 350, "midi-settings-no-ports");
}
