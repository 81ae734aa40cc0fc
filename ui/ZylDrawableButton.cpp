#include "ui/ZylDrawableButton.h"

ZylDrawableButton::ZylDrawableButton(const juce::String& buttonName)
    : juce::DrawableButton(buttonName, juce::DrawableButton::ImageOnButtonBackground)
{
    const auto face = getLookAndFeel().findColour(juce::TextButton::buttonColourId);
    setColour(juce::DrawableButton::backgroundColourId, face);
    setColour(juce::DrawableButton::backgroundOnColourId, face);
}

ZylDrawableButton::~ZylDrawableButton()
{
    stopTimer();
}

bool ZylDrawableButton::isBlinking() const
{
    return blinking;
}

void ZylDrawableButton::setBlinking(bool on, int intervalMs)
{
    if (on)
    {
        if (blinking)
            return;
        blinking = true;
        blinkPhase = false;
        startTimer(intervalMs);
        return;
    }
    if (!blinking)
        return;
    blinking = false;
    stopTimer();
    setToggleState(false, juce::dontSendNotification);
}

void ZylDrawableButton::timerCallback()
{
    blinkPhase = !blinkPhase;
    setToggleState(blinkPhase, juce::dontSendNotification);
}
