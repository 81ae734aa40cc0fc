#pragma once

#include "ui/ZylParamControl.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <string>

class ZylDrawableButton;
class ZylLabel;
class ZylSlider;
class ZylValue;

// The control of a continuous parameter (gain, percentages, ranges): a knob whose positions are
// the places of the domain's values, a value box showing the current value's name where a number
// can be typed, the wheel-assignment button, the modulation button (only for a parameter that
// has a modulation parameter) and the label, under the knob or, in the label-beside style, left
// of the wheel button. A rounded shape behind the knob joins it to the value box.
class ZylParamRotary : public ZylParamControl,
                       public juce::Button::Listener,
                       public juce::Slider::Listener,
                       public juce::Label::Listener
{
public:
    explicit ZylParamRotary(ZylEditor* owner);
    ~ZylParamRotary() override;

    virtual void updateModulationButtons();
    // Computes the control's size into width and height; places the widgets unless measureOnly
    // (placing changes the children only, so the preferred-size getters can measure).
    virtual void layout(int& width, int& height, bool measureOnly) const;

    void paint(juce::Graphics& g) override;
    void resized() override;
    int getPreferredHeight() const override;
    int getPreferredWidth() const override;
    void rebuild(bool keepSelection) override;
    void updateValue() override;
    void updateWheelButton() override;
    void updateModulation() override;

    void buttonClicked(juce::Button* button) override;
    void sliderValueChanged(juce::Slider* slider) override;
    void sliderDragStarted(juce::Slider* slider) override;
    void sliderDragEnded(juce::Slider* slider) override;
    void labelTextChanged(juce::Label* labelThatChanged) override;

private:
    // The value a typed text selects in the parameter's domain, or null when it selects none
    // (the caller holds the parameter's lock). Only names that begin with a number take part:
    // a text equal to one of those numbers selects its first value; a number beyond the lowest
    // or highest of them selects that end; text that does not begin with a number, and a number
    // between values, selects nothing. Decimals are read with '.' (or ',' when the text has no
    // '.') whatever the process locale.
    ZylValue* findTypedValue(const juce::String& text) const;

    ZylLabel* label = nullptr;
    ZylDrawableButton* wheelButton = nullptr;
    ZylDrawableButton* modulationButton = nullptr;
    ZylLabel* valueBox = nullptr;
    ZylSlider* knob = nullptr;
    std::unique_ptr<juce::Drawable> wheelIcon;
    std::unique_ptr<juce::Drawable> modulateIcon;
    juce::Path decoration;
    bool dragging = false;

    JUCE_DECLARE_NON_COPYABLE(ZylParamRotary)
};
