#include "ui/ZylParamToggle.h"

#include "framework/ZylDebug.h"
#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "ui/ZylTextButton.h"

namespace
{
constexpr int kOnIndex = 1;
constexpr int kAllEdgesConnected = juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                                   | juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom;
} // namespace

ZylParamToggle::ZylParamToggle(ZylEditor* owner, int widthIn)
    : ZylParamControl(owner), width(widthIn != 0 ? widthIn : kDefaultWidth)
{
}

ZylParamToggle::~ZylParamToggle()
{
    setParameter(nullptr);
    deleteAllChildren();
    button = nullptr;
}

void ZylParamToggle::layoutButton(int& w, int& h, bool measureOnly) const
{
    w = button != nullptr ? width : 0;
    h = kHeight;
    if (button != nullptr && !measureOnly)
        button->setBounds(0, 0, width, kHeight);
}

void ZylParamToggle::paint(juce::Graphics& /*g*/)
{
}

void ZylParamToggle::resized()
{
    int w = 0;
    int h = 0;
    layoutButton(w, h, false);
}

int ZylParamToggle::getPreferredHeight() const
{
    int w = 0;
    int h = 0;
    layoutButton(w, h, true);
    return h;
}

int ZylParamToggle::getPreferredWidth() const
{
    int w = 0;
    int h = 0;
    layoutButton(w, h, true);
    return w;
}

void ZylParamToggle::rebuild(bool /*keepSelection*/)
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    if (button != nullptr)
        button->removeListener(this);
    button = nullptr;
    deleteAllChildren();

    button = new ZylTextButton();
    button->addListener(this);
    button->setButtonText(juce::String(parameter->getName().c_str()).toLowerCase());
    button->setClickingTogglesState(true);
    button->setTooltip(juce::String(parameter->getDescription().c_str()));
    button->setToggleState(parameter->getIndex() == kOnIndex, juce::dontSendNotification);
    button->setConnectedEdges(kAllEdgesConnected);
    addAndMakeVisible(button);
    resized();
}

void ZylParamToggle::updateValue()
{
    auto* parameter = getParameter();
    if (parameter == nullptr || button == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    button->setToggleState(parameter->getIndex() == kOnIndex, juce::dontSendNotification);
    button->setEnabled(parameter->isEnabled());
}

void ZylParamToggle::buttonClicked(juce::Button* clicked)
{
    auto* parameter = getParameter();
    if (clicked != button || parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    const int index = button->getToggleState() ? kOnIndex : 0;
    auto* domain = parameter->getDomain();
    if (domain == nullptr || index >= static_cast<int>(domain->getValues().size()))
    {
        zylDebugLine("ZylParamToggle parameter index overflow - change message too old?");
        // The button shows the parameter again, not the refused state.
        updateValue();
        return;
    }
    parameter->setValueObject(domain->getValues()[static_cast<size_t>(index)], kCauseUser, false,
                              true);
    updateValue();
}
