#pragma once

#include "ui/ZylParamControl.h"

#include <juce_gui_basics/juce_gui_basics.h>

class ZylTextButton;

// The control of an on/off parameter: one text button showing the parameter's name, on while
// the parameter stands at its second value.
class ZylParamToggle : public ZylParamControl, public juce::Button::Listener
{
public:
    static constexpr int kDefaultWidth = 65;
    static constexpr int kHeight = 19;

    // width 0 takes the default.
    ZylParamToggle(ZylEditor* owner, int width = 0);
    ~ZylParamToggle() override;

    // The size into w and h; places the button unless measureOnly.
    virtual void layoutButton(int& w, int& h, bool measureOnly) const;

    void paint(juce::Graphics& g) override;
    void resized() override;
    int getPreferredHeight() const override;
    int getPreferredWidth() const override;
    void rebuild(bool keepSelection) override;
    void updateValue() override;

    void buttonClicked(juce::Button* clicked) override;

private:
    ZylTextButton* button = nullptr;
    int width;

    JUCE_DECLARE_NON_COPYABLE(ZylParamToggle)
};
