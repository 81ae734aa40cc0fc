#pragma once

#include "ui/ZylLookAndFeel.h"

// The program's look-and-feel with the product's two scheme colours: a dark grey base and a
// warm yellow for texts and highlights. The product editor installs it as the framework default,
// so every window, panel, widget and dialog of the program draws with it. Message thread only.
class ZylLumenfoldLookAndFeel : public ZylLookAndFeel
{
public:
    // Grey darkened by 0.9: (67, 67, 67).
    static juce::Colour baseColour();
    // 0xFF6ACDFE turned to hue 0.14 and saturation 0.8: (254, 221, 51).
    static juce::Colour secondColour();

    ZylLumenfoldLookAndFeel();
    ~ZylLumenfoldLookAndFeel() override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZylLumenfoldLookAndFeel)
};
