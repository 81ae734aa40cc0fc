#include "ui/ZylTextButton.h"

ZylTextButton::ZylTextButton() : juce::TextButton(juce::String(), juce::String())
{
}
