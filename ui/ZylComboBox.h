#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A combo box that takes keyboard focus, redraws on hover, and leaves the mouse wheel to its
// parent (the editor steps the wheel-assigned parameter).
class ZylComboBox : public juce::ComboBox
{
public:
    explicit ZylComboBox(const juce::String& name);

    void mouseEnter(const juce::MouseEvent& event) override;
    void mouseExit(const juce::MouseEvent& event) override;
    void mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;
};
