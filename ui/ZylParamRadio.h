#pragma once

#include "ui/ZylParamControl.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

class ZylDrawableButton;
class ZylLabel;

// The control of a parameter with a handful of values: one image button per value in a row
// (radio icons 1 to 5), exactly one of them on, with the parameter's name centred under them.
// Values beyond the fifth get buttons without an icon; their tooltips name them.
class ZylParamRadio : public ZylParamControl, public juce::Button::Listener
{
public:
    static constexpr int kButtonSize = 19;
    static constexpr int kIconCount = 5;

    explicit ZylParamRadio(ZylEditor* owner);
    ~ZylParamRadio() override;

    // The size into w and h; places the buttons and the label unless measureOnly.
    virtual void layoutButtons(int& w, int& h, bool measureOnly) const;

    void paint(juce::Graphics& g) override;
    void resized() override;
    int getPreferredHeight() const override;
    int getPreferredWidth() const override;
    void rebuild(bool keepSelection) override;
    void updateValue() override;

    void buttonClicked(juce::Button* clicked) override;

private:
    std::vector<ZylDrawableButton*> buttons;
    std::vector<std::unique_ptr<juce::Drawable>> icons;
    ZylLabel* label = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylParamRadio)
};
