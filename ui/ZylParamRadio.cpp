#include "ui/ZylParamRadio.h"

#include "framework/ZylDebug.h"
#include "framework/ZylDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "framework/ZylValue.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylLabel.h"

#include <algorithm>

namespace
{
constexpr int kRadioGroup = 1;
constexpr int kAllEdgesConnected = juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                                   | juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom;
} // namespace

ZylParamRadio::ZylParamRadio(ZylEditor* owner) : ZylParamControl(owner)
{
    for (int number = 1; number <= kIconCount; ++number)
        icons.push_back(loadIcon("radio" + juce::String(number) + ".svg"));
}

ZylParamRadio::~ZylParamRadio()
{
    setParameter(nullptr);
    buttons.clear();
    label = nullptr;
    deleteAllChildren();
}

void ZylParamRadio::layoutButtons(int& w, int& h, bool measureOnly) const
{
    w = kButtonSize * static_cast<int>(buttons.size());
    h = 2 * kButtonSize;
    if (measureOnly)
        return;
    int x = 0;
    for (auto* button : buttons)
    {
        button->setBounds(x, 0, kButtonSize, kButtonSize);
        x += kButtonSize;
    }
    if (label != nullptr)
        label->setBounds(0, kButtonSize, w, kButtonSize);
}

void ZylParamRadio::paint(juce::Graphics& /*g*/)
{
}

void ZylParamRadio::resized()
{
    int w = 0;
    int h = 0;
    layoutButtons(w, h, false);
}

int ZylParamRadio::getPreferredHeight() const
{
    int w = 0;
    int h = 0;
    layoutButtons(w, h, true);
    return h;
}

int ZylParamRadio::getPreferredWidth() const
{
    int w = 0;
    int h = 0;
    layoutButtons(w, h, true);
    return w;
}

void ZylParamRadio::rebuild(bool /*keepSelection*/)
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    for (auto* button : buttons)
        button->removeListener(this);
    buttons.clear();
    label = nullptr;
    deleteAllChildren();

    label = new ZylLabel(juce::String(), juce::String(parameter->getName().c_str()));
    label->setJustificationType(juce::Justification::centred);
    label->setTooltip(juce::String(parameter->getDescription().c_str()));
    addAndMakeVisible(label);

    if (auto* domain = parameter->getDomain())
        for (auto* value : domain->getValues())
        {
            const auto place = buttons.size();
            auto* button = new ZylDrawableButton(juce::String(value->getName().c_str()));
            button->setClickingTogglesState(true);
            button->setRadioGroupId(kRadioGroup);
            button->setImages(place < icons.size() ? icons[place].get() : nullptr);
            const auto description = value->getDescription();
            button->setTooltip(juce::String((description.empty() && place >= icons.size()
                                                 ? value->getName()
                                                 : description)
                                                .c_str()));
            button->setConnectedEdges(kAllEdgesConnected);
            button->addListener(this);
            addAndMakeVisible(button);
            buttons.push_back(button);
        }
    resized();
}

void ZylParamRadio::updateValue()
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    const int index = parameter->getIndex();
    // A disabled parameter cannot be changed through any of its buttons, not only through the
    // one that is on.
    const bool enabled = parameter->isEnabled();
    for (size_t place = 0; place < buttons.size(); ++place)
    {
        auto* button = buttons[place];
        if (static_cast<int>(place) == index)
            button->setToggleState(true, juce::dontSendNotification);
        button->setEnabled(enabled);
    }
    if (index < 0 || index >= static_cast<int>(buttons.size()))
        for (auto* button : buttons)
            button->setToggleState(false, juce::dontSendNotification);
}

void ZylParamRadio::buttonClicked(juce::Button* clicked)
{
    auto* parameter = getParameter();
    const auto found = std::find(buttons.begin(), buttons.end(), clicked);
    // The radio group reports the buttons it turns off as clicks too; only the one turned on
    // is the user's choice.
    if (parameter == nullptr || found == buttons.end() || !clicked->getToggleState())
        return;
    const auto position = static_cast<size_t>(found - buttons.begin());
    const juce::ScopedLock sl(parameter->getLock());
    auto* domain = parameter->getDomain();
    if (domain == nullptr || position >= domain->getValues().size())
    {
        zylDebugLine("ZylParamRadio parameter index overflow - change message too old?");
        updateValue();
        return;
    }
    parameter->setValueObject(domain->getValues()[position], kCauseUser, false, true);
    updateValue();
}
