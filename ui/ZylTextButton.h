#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A text button with an empty name and tooltip; its own type so that the toggle control can be
// told apart from other buttons.
class ZylTextButton : public juce::TextButton
{
public:
    ZylTextButton();
};
