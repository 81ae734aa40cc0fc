#include "ui/ZylViewport.h"

ZylViewport::ZylViewport(const juce::String& name) : juce::Viewport(name)
{
}

void ZylViewport::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(kGroundColour));
}

void ZylViewport::mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel)
{
    juce::Component::mouseWheelMove(event, wheel);
}
