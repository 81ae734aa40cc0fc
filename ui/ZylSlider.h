#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A slider that leaves the mouse wheel to its parent instead of moving.
class ZylSlider : public juce::Slider
{
public:
    explicit ZylSlider(const juce::String& name = {});
    ZylSlider(SliderStyle style, TextEntryBoxPosition textBoxPosition);

    void mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;
};
