#include "ui/ZylComboBox.h"

ZylComboBox::ZylComboBox(const juce::String& name) : juce::ComboBox(name)
{
    setWantsKeyboardFocus(true);
}

void ZylComboBox::mouseEnter(const juce::MouseEvent& event)
{
    juce::ComboBox::mouseEnter(event);
    repaint();
}

void ZylComboBox::mouseExit(const juce::MouseEvent& event)
{
    juce::ComboBox::mouseExit(event);
    repaint();
}

void ZylComboBox::mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel)
{
    juce::Component::mouseWheelMove(event, wheel);
}
