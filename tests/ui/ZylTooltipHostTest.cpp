// The tooltip host: the tooltip window (and with it the pointer polling of JUCE's tooltip and
// desktop timers) is there while the user acts and gone once the pointer rests, unless a tip
// shows or a modal component is up.
#include "tests/TestHelpers.h"
#include "tests/ui/ZylWidgetTestSupport.h"
#include "ui/ZylTooltipHost.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kShortRestMs = 40;

// Runs the message loop for about that long.
void runFor(int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil(milliseconds);
}

struct TooltipTree
{
    juce::Component tree;
    juce::Component child;
    TooltipTree()
    {
        tree.setSize(200, 100);
        child.setBounds(10, 10, 50, 20);
        tree.addAndMakeVisible(child);
    }
};
} // namespace

TEST(TooltipHost, ThereFromTheStartGoneAfterARestBackAtTheNextMouseEventOrFocusChange)
{
    TooltipTree ui;
    ZylTooltipHost host(ui.tree, kShortRestMs);
    ASSERT_NE(host.getWindow(), nullptr);

    runFor(kShortRestMs * 6);
    EXPECT_EQ(host.getWindow(), nullptr) << "the rest timer did not let the window go";

    host.mouseMove(zyltest::mouseAt(ui.child, 5.0f, 5.0f));
    EXPECT_NE(host.getWindow(), nullptr);
    host.pointerRested();
    EXPECT_EQ(host.getWindow(), nullptr);
    host.globalFocusChanged(&ui.child);
    EXPECT_NE(host.getWindow(), nullptr);
    host.pointerRested();
    juce::MouseWheelDetails wheel {};
    host.mouseWheelMove(zyltest::mouseAt(ui.child, 5.0f, 5.0f), wheel);
    EXPECT_NE(host.getWindow(), nullptr);
}

TEST(TooltipHost, EventsWhileTheWindowIsThereKeepItAndStartTheRestOver)
{
    constexpr int kSlowRestMs = 200;
    constexpr int kGapMs = 50;
    TooltipTree ui;
    ZylTooltipHost host(ui.tree, kSlowRestMs);
    auto* const window = host.getWindow();
    ASSERT_NE(window, nullptr);
    // Six gaps well within the rest, together longer than it.
    for (int i = 0; i < 6; ++i)
    {
        runFor(kGapMs);
        host.mouseMove(zyltest::mouseAt(ui.child, 6.0f + static_cast<float>(i), 5.0f));
    }
    EXPECT_EQ(host.getWindow(), window);
}

TEST(TooltipHost, AShownTipOrAModalComponentKeepsTheWindowThroughARest)
{
    TooltipTree ui;
    ZylTooltipHost host(ui.tree, kShortRestMs);

    // As while a tip shows (without the message loop, whose tooltip timer would hide it again
    // here, with no pointer over anything).
    host.getWindow()->setVisible(true);
    host.pointerRested();
    host.pointerRested();
    ASSERT_NE(host.getWindow(), nullptr) << "a shown tip went away under a resting pointer";
    host.getWindow()->setVisible(false);
    host.pointerRested();
    EXPECT_EQ(host.getWindow(), nullptr);

    juce::Component dialog;
    dialog.setSize(50, 50);
    host.mouseDown(zyltest::mouseAt(ui.child, 5.0f, 5.0f));
    dialog.enterModalState(false);
    host.pointerRested();
    EXPECT_NE(host.getWindow(), nullptr) << "the window went while a dialog was up";
    dialog.exitModalState(0);
    zyltest::drainMessageQueue();
    host.pointerRested();
    EXPECT_EQ(host.getWindow(), nullptr);
}
