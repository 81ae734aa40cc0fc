#pragma once

#include "ui/ZylParamControl.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class ZylComboBox;
class ZylDrawableButton;
class ZylLabel;

// The control of a list parameter: a label, the wheel-assignment button, the modulation button
// (shown only when the parameter has a modulation parameter), a combo box of the domain's values
// followed by its commands, and decrease and increase buttons. All in one 19-pixel row.
class ZylParamCombo : public ZylParamControl,
                      public juce::ComboBox::Listener,
                      public juce::Button::Listener
{
public:
    static constexpr int kRowHeight = 19;
    static constexpr int kDefaultLabelWidth = 65;
    static constexpr int kDefaultComboWidth = 115;

    // labelWidth and comboWidth 0 take the defaults.
    ZylParamCombo(ZylEditor* owner, int labelWidth, int comboWidth);
    ~ZylParamCombo() override;

    virtual void updateModulationButtons();

    void paint(juce::Graphics& g) override;
    void resized() override;
    int getPreferredHeight() const override;
    int getPreferredWidth() const override;
    // Neighbouring combo controls overlap by 2 pixels in a parameter panel's row.
    int getLayoutMargin() const override;
    // Closes an open popup when the list changed under it, so that no stale item is chosen.
    void rebuild(bool keepSelection) override;
    void updateValue() override;
    void updateWheelButton() override;
    void updateModulation() override;

    void comboBoxChanged(juce::ComboBox* box) override;
    void buttonClicked(juce::Button* button) override;

private:
    int labelWidth;
    int comboWidth;
    ZylLabel* label = nullptr;
    ZylDrawableButton* wheelButton = nullptr;
    ZylDrawableButton* modulationButton = nullptr;
    ZylComboBox* combo = nullptr;
    ZylDrawableButton* decreaseButton = nullptr;
    ZylDrawableButton* increaseButton = nullptr;
    std::unique_ptr<juce::Drawable> wheelIcon;
    std::unique_ptr<juce::Drawable> modulateIcon;
    std::unique_ptr<juce::Drawable> decreaseIcon;
    std::unique_ptr<juce::Drawable> increaseIcon;
    // The item id this control itself last selected to show the parameter's value. The combo
    // box reports such a selection too, later: that echo is no user's choice and must not be
    // written back (by then the parameter may show another program's value).
    int shownId = 0;

    // Sets the value the step button leads to: the previous (-1) or next (+1) one, none past the
    // ends.
    void step(int direction);

    JUCE_DECLARE_NON_COPYABLE(ZylParamCombo)
};
