#include "ui/ZylParamCombo.h"

#include "framework/ZylDebug.h"
#include "framework/ZylDomain.h"
#include "framework/ZylDomainCommand.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "framework/ZylValue.h"
#include "ui/ZylComboBox.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylLabel.h"

namespace
{
constexpr int kAllEdgesConnected = juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                                   | juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom;

ZylDrawableButton* makeIconButton(const juce::String& name, const juce::Drawable* icon,
                                  bool togglesOnClick, const juce::String& tooltip)
{
    auto* button = new ZylDrawableButton(name);
    button->setImages(icon);
    button->setClickingTogglesState(togglesOnClick);
    button->setTooltip(tooltip);
    button->setConnectedEdges(kAllEdgesConnected);
    return button;
}
} // namespace

ZylParamCombo::ZylParamCombo(ZylEditor* owner, int labelWidthIn, int comboWidthIn)
    : ZylParamControl(owner),
      labelWidth(labelWidthIn != 0 ? labelWidthIn : kDefaultLabelWidth),
      comboWidth(comboWidthIn != 0 ? comboWidthIn : kDefaultComboWidth),
      wheelIcon(loadIcon("mousewheel.svg")),
      modulateIcon(loadIcon("modulate.svg")),
      decreaseIcon(loadIcon("decrease.svg")),
      increaseIcon(loadIcon("increase.svg"))
{
    label = new ZylLabel(juce::String(), juce::String());
    label->setJustificationType(juce::Justification::right);
    addAndMakeVisible(label);

    wheelButton = makeIconButton("wheelButton", wheelIcon.get(), true, kWheelTooltip);
    addAndMakeVisible(wheelButton);
    modulationButton = makeIconButton("modulationButton", modulateIcon.get(), false,
                                      "Select LFO for modulation of this parameter");
    addAndMakeVisible(modulationButton);
    combo = new ZylComboBox("combo");
    addAndMakeVisible(combo);
    decreaseButton = makeIconButton("decreaseButton", decreaseIcon.get(), false, {});
    addAndMakeVisible(decreaseButton);
    increaseButton = makeIconButton("increaseButton", increaseIcon.get(), false, {});
    addAndMakeVisible(increaseButton);

    combo->addListener(this);
    for (auto* button : { wheelButton, modulationButton, decreaseButton, increaseButton })
        button->addListener(this);

    resized();
    updateModulationButtons();
}

ZylParamCombo::~ZylParamCombo()
{
    setParameter(nullptr);
    deleteAllChildren();
    label = nullptr;
    wheelButton = modulationButton = decreaseButton = increaseButton = nullptr;
    combo = nullptr;
}

void ZylParamCombo::paint(juce::Graphics& /*g*/)
{
}

void ZylParamCombo::resized()
{
    const int w = labelWidth;
    label->setBounds(0, 0, w, kRowHeight);
    wheelButton->setBounds(w + 6, 0, kRowHeight, kRowHeight);

    int x = w + 24;
    int width = comboWidth;
    auto* parameter = getParameter();
    if (parameter != nullptr && parameter->getModulationParameter() != nullptr)
    {
        modulationButton->setBounds(w + 24, 0, kRowHeight, kRowHeight);
        modulationButton->setVisible(true);
        x = w + 42;
        width = comboWidth - kRowHeight;
    }
    else
    {
        modulationButton->setVisible(false);
    }
    combo->setBounds(x, 0, width, kRowHeight);
    decreaseButton->setBounds(x + width - 1, 0, kRowHeight, kRowHeight);
    increaseButton->setBounds(x + width + 17, 0, kRowHeight, kRowHeight);
}

int ZylParamCombo::getPreferredHeight() const
{
    return increaseButton->getHeight();
}

int ZylParamCombo::getPreferredWidth() const
{
    return increaseButton->getRight() + 1;
}

int ZylParamCombo::getLayoutMargin() const
{
    return -2;
}

void ZylParamCombo::updateWheelButton()
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    wheelButton->setToggleState(parameter->isWheelAssigned(), juce::dontSendNotification);
}

void ZylParamCombo::updateModulation()
{
    // The modulation button takes its place only for a parameter that has a modulation
    // parameter.
    resized();
    updateModulationButtons();
}

void ZylParamCombo::updateModulationButtons()
{
    const bool on = isModulated();
    modulationButton->setToggleState(on, juce::dontSendNotification);
    for (juce::Component* widget : { static_cast<juce::Component*>(combo),
                                     static_cast<juce::Component*>(increaseButton),
                                     static_cast<juce::Component*>(decreaseButton),
                                     static_cast<juce::Component*>(wheelButton) })
        widget->setEnabled(!on);
}

void ZylParamCombo::rebuild(bool keepSelection)
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());

    // The open popup lists the old items; an id chosen there would pick whatever value now
    // stands at that place.
    if (!keepSelection && combo->isPopupActive())
        combo->hidePopup();

    const int selectedId = combo->getSelectedId();
    label->setText(juce::String(), juce::dontSendNotification);
    combo->clear(juce::sendNotificationAsync);

    label->setText(juce::String(parameter->getName().c_str()).toLowerCase(),
                   juce::dontSendNotification);
    label->setTooltip(juce::String(parameter->getDescription().c_str()));

    if (auto* domain = parameter->getDomain())
    {
        for (auto* value : domain->getValues())
            combo->addItem(juce::String(value->getLabel().c_str()),
                           domain->getIndexOf(value, false) + 1);
        const auto& commands = domain->getCommands();
        if (!commands.empty())
        {
            combo->addSeparator();
            for (auto* command : commands)
                combo->addItem(juce::String(command->getLabel().c_str()),
                               combo->getNumItems() + 1);
        }
    }
    shownId = 0;
    if (keepSelection)
    {
        combo->setSelectedId(selectedId, juce::dontSendNotification);
        shownId = combo->getSelectedId();
    }
}

void ZylParamCombo::updateValue()
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    combo->setSelectedItemIndex(parameter->getIndex(), juce::sendNotificationAsync);
    shownId = combo->getSelectedId();
    auto* value = parameter->getValueObject();
    combo->setTooltip(value != nullptr ? juce::String(value->getDescription().c_str())
                                       : juce::String());
    setEnabled(parameter->isEnabled());
    updateModulationButtons();
}

void ZylParamCombo::comboBoxChanged(juce::ComboBox* /*box*/)
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    const int id = combo->getSelectedId();
    // Nothing chosen, or the item this control selected itself to show the value: only a
    // selection the user made is written to the parameter.
    if (id <= 0 || id == shownId)
        return;
    auto* domain = parameter->getDomain();
    if (domain == nullptr)
        return;

    const auto& commands = domain->getCommands();
    const int valueCount = combo->getNumItems() - static_cast<int>(commands.size());
    if (id > valueCount)
    {
        combo->setSelectedItemIndex(parameter->getIndex(), juce::sendNotificationAsync);
        shownId = combo->getSelectedId();
        const int place = id - valueCount - 1;
        if (place >= 0 && place < static_cast<int>(commands.size()))
            domain->postCommand(commands[static_cast<size_t>(place)]);
        return;
    }

    const auto& values = domain->getValues();
    if (id - 1 < static_cast<int>(values.size()))
    {
        parameter->setValueObject(values[static_cast<size_t>(id - 1)], kCauseUser, false, true);
        updateValue();
        return;
    }
    zylDebugLine("ZylParamCombo parameter index overflow - change message too old?");
}

void ZylParamCombo::step(int direction)
{
    auto* parameter = getParameter();
    const juce::ScopedLock sl(parameter->getLock());
    auto* domain = parameter->getDomain();
    auto* current = parameter->getValueObject();
    if (domain == nullptr || current == nullptr)
        return;
    auto* target = direction < 0 ? domain->getPrevious(current, 1) : domain->getNext(current, 1);
    if (target == nullptr)
        return;
    parameter->setValueObject(target, kCauseUser, false, true);
    updateValue();
}

void ZylParamCombo::buttonClicked(juce::Button* button)
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    if (button == decreaseButton)
    {
        step(-1);
    }
    else if (button == increaseButton)
    {
        step(1);
    }
    else if (button == wheelButton)
    {
        const juce::ScopedLock sl(parameter->getLock());
        parameter->setWheelAssigned(wheelButton->getToggleState());
    }
    else if (button == modulationButton)
    {
        juce::Component::SafePointer<ZylParamCombo> self(this);
        showModulationMenu(*modulationButton, [self] {
            if (self != nullptr)
                self->updateModulationButtons();
        });
    }
}
