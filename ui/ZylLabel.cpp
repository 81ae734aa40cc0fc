#include "ui/ZylLabel.h"

ZylLabel::ZylLabel(const juce::String& name, const juce::String& text)
    : juce::Label(name, text)
{
    setFont(getLookAndFeel().getPopupMenuFont());
}
