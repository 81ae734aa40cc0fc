#include "ui/ZylParamPanel.h"

#include "framework/ZylDomain.h"
#include "framework/ZylParameter.h"
#include "ui/ZylParamCombo.h"
#include "ui/ZylParamRadio.h"
#include "ui/ZylParamRotary.h"
#include "ui/ZylParamToggle.h"

ZylParamPanel::ZylParamPanel(ZylEditor* owner, const juce::String& panelTitle, int width)
    : ZylPanel(owner, panelTitle, width, 0, false)
{
}

ZylParamPanel::~ZylParamPanel() = default;

void ZylParamPanel::resized()
{
    ZylPanel::resized();
    layoutControls(getWidth(), false);
}

int ZylParamPanel::getPreferredHeight() const
{
    return layoutControls(getPreferredWidth(), true);
}

void ZylParamPanel::addParameterControl(ZylParameter* parameter, int labelWidth, int boxWidth)
{
    auto* domain = parameter != nullptr ? parameter->getDomain() : nullptr;
    if (domain == nullptr)
        return;
    ZylParamControl* control = nullptr;
    switch (domain->getControlType())
    {
    case kControlCombo:
        control = new ZylParamCombo(getEditor(), labelWidth, boxWidth);
        break;
    case kControlRotary:
        control = new ZylParamRotary(getEditor());
        break;
    case kControlRadio:
        control = new ZylParamRadio(getEditor());
        break;
    case kControlToggle:
        control = new ZylParamToggle(getEditor(), labelWidth);
        break;
    default:
        return;
    }
    control->setParameter(parameter);
    items.push_back(control);
    addAndMakeVisible(control);
}

void ZylParamPanel::setControlParameter(ZylParameter* parameter, int i)
{
    jassert(i >= 0 && i < static_cast<int>(items.size()));
    if (i < 0 || i >= static_cast<int>(items.size()))
        return;
    if (auto* control = dynamic_cast<ZylParamControl*>(items[static_cast<size_t>(i)]))
        control->setParameter(parameter);
}

void ZylParamPanel::addPanel(ZylPanel* panel)
{
    jassert(panel != nullptr);
    if (panel == nullptr)
        return;
    items.push_back(panel);
    addAndMakeVisible(panel);
}

int ZylParamPanel::layoutControls(int width, bool measureOnly) const
{
    if (items.empty())
        return kEmptyHeight;

    int x = kRowLeft;
    int y = 0;
    ZylPanel* previous = nullptr;
    for (auto* item : items)
    {
        const int w = item->getPreferredWidth();
        const int h = item->getPreferredHeight();
        const int margin = item->getLayoutMargin();
        if (previous == nullptr)
        {
            x = kRowLeft + item->getLayoutIndent();
            y = margin;
        }
        else if (x + w > width || previous->isLineBreakAfter())
        {
            x = kRowLeft + item->getLayoutIndent();
            y += previous->getPreferredHeight() + previous->getLayoutMargin() + margin;
        }
        if (!measureOnly)
            item->setBounds(x, y, w, h);
        x += w + margin;
        previous = item;
    }
    return y + previous->getPreferredHeight() + kBottomGap;
}
