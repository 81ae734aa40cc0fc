#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A label in the look-and-feel's menu font, taken at construction (from the default
// look-and-feel, since the label has no parent yet).
class ZylLabel : public juce::Label
{
public:
    ZylLabel(const juce::String& name, const juce::String& text);
};
