#include "ui/ZylSlider.h"

ZylSlider::ZylSlider(const juce::String& name) : juce::Slider(name)
{
}

ZylSlider::ZylSlider(SliderStyle style, TextEntryBoxPosition textBoxPosition)
    : juce::Slider(style, textBoxPosition)
{
}

void ZylSlider::mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel)
{
    juce::Component::mouseWheelMove(event, wheel);
}
