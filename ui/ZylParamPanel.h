#pragma once

#include "ui/ZylPanel.h"

#include <vector>

class ZylEditor;
class ZylParameter;

// A panel showing a group of parameters: its owner adds parameters one by one, and the panel
// creates the control that fits each domain's control type. The controls and any other panels
// added (spacers, nested views) flow left to right in rows that wrap at the panel's width,
// starting right of the icon column. The preferred height is what the flow needs at the
// preferred width.
class ZylParamPanel : public ZylPanel
{
public:
    // Left edge of every row: the icon column and its separator stand left of it.
    static constexpr int kRowLeft = 42;
    static constexpr int kEmptyHeight = 20;
    static constexpr int kBottomGap = 10;

    ZylParamPanel(ZylEditor* owner, const juce::String& panelTitle, int width);
    ~ZylParamPanel() override;

    void resized() override;
    int getPreferredHeight() const override;

    // Creates, binds and appends the control for parameter's control type: a combo box (list),
    // a rotary knob (continuous), radio buttons, or a toggle as wide as labelWidth (65 when 0).
    // Typed-number parameters, and any other control type, get nothing.
    virtual void addParameterControl(ZylParameter* parameter, int labelWidth, int boxWidth);
    // Rebinds item i (counting only the items added) when it is a parameter control.
    virtual void setControlParameter(ZylParameter* parameter, int i);
    // Flows the items into width; places them unless measureOnly. Returns the height needed.
    virtual int layoutControls(int width, bool measureOnly) const;
    // Appends a panel (spacer, nested panel) to the flow; the panel owns it as a child.
    virtual void addPanel(ZylPanel* panel);

    const std::vector<ZylPanel*>& getItems() const noexcept { return items; }

private:
    std::vector<ZylPanel*> items;

    JUCE_DECLARE_NON_COPYABLE(ZylParamPanel)
};
