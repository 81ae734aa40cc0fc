// The repaint pump: a repaint asked of a window on the desktop reaches its paint, also where the
// display gives no vertical blank (Windows programs under Wine on a virtual display). The test
// runs in the Windows builds: on Linux a desktop window in a process that is not a JUCE
// application ends it at the first X error (only an application installs JUCE's handlers), and
// the Linux window paints on its own timer anyway.
#include "app/ZylRepaintPump.h"

#if JUCE_WINDOWS

#include <gtest/gtest.h>

#include <memory>

namespace
{
struct CountingWindow : juce::Component
{
    int paints = 0;
    void paint(juce::Graphics& g) override
    {
        ++paints;
        g.fillAll(juce::Colours::darkgrey);
    }
};

// Runs JUCE's dispatch loop until the window has painted more than `than` times, or the time is
// up.
bool paintedMoreThan(const CountingWindow& window, int than, int milliseconds)
{
    for (int waited = 0; waited < milliseconds && window.paints <= than; waited += 20)
        juce::MessageManager::getInstance()->runDispatchLoopUntil(20);
    return window.paints > than;
}
} // namespace

TEST(RepaintPump, RepaintsOfAWindowOnTheDesktopArePainted)
{
    auto window = std::make_unique<CountingWindow>();
    window->setBounds(40, 40, 200, 120);
    window->addToDesktop(0);
    ZylRepaintPump pump(*window);
    window->setVisible(true);
    ASSERT_TRUE(paintedMoreThan(*window, 0, 5000)) << "the window was never painted";

    // Each repaint asked for later reaches the screen, within a second or so whatever the
    // display does.
    for (int round = 0; round < 3; ++round)
    {
        const int before = window->paints;
        window->repaint();
        EXPECT_TRUE(paintedMoreThan(*window, before, 3000)) << "repaint " << round;
    }
    window->removeFromDesktop();
}
#endif
