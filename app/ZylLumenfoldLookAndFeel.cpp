#include "app/ZylLumenfoldLookAndFeel.h"

juce::Colour ZylLumenfoldLookAndFeel::baseColour()
{
    return juce::Colour(0xff808080).darker(0.9f);
}

juce::Colour ZylLumenfoldLookAndFeel::secondColour()
{
    return juce::Colour(0xff6acdfe).withHue(0.14f).withSaturation(0.8f);
}

ZylLumenfoldLookAndFeel::ZylLumenfoldLookAndFeel()
{
    setColourScheme(baseColour(), secondColour());
}

ZylLumenfoldLookAndFeel::~ZylLumenfoldLookAndFeel() = default;
