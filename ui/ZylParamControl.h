#pragma once

#include "ui/ZylPanel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <string>

class ZylEditor;
class ZylParameter;

// The base of the parameter widgets: a small panel bound to one parameter (and to its modulation
// parameter, when it has one). It listens to the parameter's messages and turns them into three
// refresh operations of the concrete control: rebuild (the list of choices changed), updateValue
// (value, enabled state or names changed) and updateWheelButton (the wheel assignment changed).
//
// Message thread only. Every read of the parameter happens under its lock (its domain's), the
// modulation parameter's lock inside it.
class ZylParamControl : public ZylPanel
{
public:
    // The layout style read by the rotary control: 2 puts its label left of the wheel button.
    static constexpr int kLabelBesideStyle = 2;

    explicit ZylParamControl(ZylEditor* owner);
    // Unbinds the parameter. A concrete control unbinds in its own destructor already, while its
    // widgets still exist.
    ~ZylParamControl() override;

    int getPreferredHeight() const override = 0;
    int getPreferredWidth() const override = 0;

    virtual ZylParameter* getParameter() const;
    // keepSelection: the values stayed where they were, only their names changed.
    virtual void rebuild(bool keepSelection) = 0;
    virtual void updateValue() = 0;
    virtual void updateWheelButton();
    virtual void setLayoutStyle(int style);
    virtual int getLayoutStyle() const;
    virtual void updateModulation();
    // Binds the control to parameter (null unbinds): stops listening to the old parameter and
    // its modulation parameter, rebuilds unless the new parameter has the same domain as the old
    // one, shows the value and the wheel assignment, and listens to the new parameter (and its
    // modulation parameter).
    virtual void setParameter(ZylParameter* parameter);

    void receiveMessage(void* sender, int code, int timeMs) override;

    ZylParameter* getModulationParameter() const noexcept { return boundModulation; }

    // An icon of the interface art; null (with a debug line) when it cannot be read.
    static std::unique_ptr<juce::Drawable> loadIcon(const juce::String& entryName);

    // Text shared by the controls' wheel buttons.
    static constexpr const char* kWheelTooltip = "Assign this parameter to the mouse wheel";

protected:
    // Whether the bound parameter's modulation parameter stands at a value other than its
    // first: a modulated parameter cannot be edited by hand. False without a parameter.
    bool isModulated() const;

    // The modulation popup shared by the combo and rotary controls: one item per value of the
    // modulation parameter's domain. The menu runs asynchronously; the choice is resolved by
    // the name of the value it showed, so that a list rebuilt meanwhile never selects another
    // value than the one the user saw. onChosen runs after a value was set.
    void showModulationMenu(juce::Component& target, std::function<void()> onChosen);

    // Sets the modulation parameter to the value named valueName, when its list still holds
    // one; returns whether it did. The menu's choice ends here.
    bool chooseModulationValue(const std::wstring& valueName);

private:
    ZylParameter* boundParameter = nullptr;
    ZylParameter* boundModulation = nullptr;
    int layoutStyle = 4;

    JUCE_DECLARE_NON_COPYABLE(ZylParamControl)
};
