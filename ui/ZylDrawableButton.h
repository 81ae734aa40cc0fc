#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// An image button on a text-button face that can blink: while blinking, its toggle state flips
// on every timer tick (on at the first), so the face alternates between the button colour and
// the button-on colour.
class ZylDrawableButton : public juce::DrawableButton, public juce::Timer
{
public:
    explicit ZylDrawableButton(const juce::String& buttonName);
    ~ZylDrawableButton() override;

    virtual bool isBlinking() const;
    // on: starts blinking every intervalMs unless already blinking (the first interval stays).
    // off: stops blinking and turns the toggle off; a button that is not blinking is left as is.
    virtual void setBlinking(bool on, int intervalMs);

    // One blink step.
    void timerCallback() override;

private:
    bool blinking = false;
    bool blinkPhase = false;
};
