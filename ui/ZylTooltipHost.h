#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The tooltip window of a component tree, kept only while the pointer is busy.
//
// juce::TooltipWindow finds the component under the pointer by asking the display for the
// pointer position, on its own timer every 123 ms and on the desktop's every 100 ms (the global
// mouse listener it adds starts that one). With the pointer resting, these are most of what wakes
// an idle program. So the host builds the window at construction and again at the next sign of
// the user: a mouse event over the tree or its children, or a change of keyboard focus (a dialog
// or a menu that opens takes the focus, also when the keyboard opened it). It lets the window go
// once the pointer has rested for kRestMs (or the rest given) while no tip shows and no modal
// component (a dialog, a dropped-down menu) is up. A tip still appears after the window's delay
// and stays while the pointer rests on it.
//
// Message thread only; the tree must outlive the host.
class ZylTooltipHost : public juce::MouseListener,
                       public juce::FocusChangeListener,
                       private juce::Timer
{
public:
    static constexpr int kRestMs = 2000;

    explicit ZylTooltipHost(juce::Component& tree, int restMs = kRestMs);
    ~ZylTooltipHost() override;

    // Null while the pointer rests.
    juce::TooltipWindow* getWindow() const noexcept;

    // The end of a rest: lets the window go unless it shows a tip or a modal component is up,
    // in which case the next check comes a rest later. The rest timer calls it.
    void pointerRested();

    // Every mouse event over the tree: builds the window when there is none and starts the rest
    // over.
    void mouseMove(const juce::MouseEvent&) override;
    void mouseEnter(const juce::MouseEvent&) override;
    void mouseExit(const juce::MouseEvent&) override;
    void mouseDown(const juce::MouseEvent&) override;
    void mouseDrag(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;
    void mouseDoubleClick(const juce::MouseEvent&) override;
    void mouseWheelMove(const juce::MouseEvent&, const juce::MouseWheelDetails&) override;
    void mouseMagnify(const juce::MouseEvent&, float) override;
    // The same for a change of keyboard focus anywhere in the program.
    void globalFocusChanged(juce::Component* focusedComponent) override;

private:
    void userActed();
    void timerCallback() override;

    juce::Component& tree;
    const int restMs;
    std::unique_ptr<juce::TooltipWindow> window;

    JUCE_DECLARE_NON_COPYABLE(ZylTooltipHost)
};
