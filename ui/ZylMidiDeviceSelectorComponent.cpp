#include "ui/ZylMidiDeviceSelectorComponent.h"

#include "ui/ZylGuiHelpers.h"
#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiOutputDeviceManager.h"
#include "ui/MidiInputListBox.h"
#include "ui/MidiOutputListBox.h"
#include "ui/ZylLabel.h"

namespace
{
constexpr float kFrameCorner = 6.0f;
constexpr int kFrameInset = 10;

std::unique_ptr<ZylLabel> makeListLabel(const juce::String& name, const juce::String& text,
                                        juce::Component& list)
{
    auto label = std::make_unique<ZylLabel>(name, text);
    label->setJustificationType(juce::Justification::top);
    label->attachToComponent(&list, false);
    return label;
}
} // namespace

ZylMidiDeviceSelectorComponent::ZylMidiDeviceSelectorComponent(
    ZylMidiInputDeviceManager& inputManager, ZylMidiOutputDeviceManager& outputManager)
    : inputDeviceManager(inputManager), outputDeviceManager(outputManager)
{
    inputList = std::make_unique<MidiInputListBox>(inputDeviceManager);
    addAndMakeVisible(*inputList);
    outputList = std::make_unique<MidiOutputListBox>(outputDeviceManager);
    addAndMakeVisible(*outputList);

    inputLabel = makeListLabel("lm", "ACTIVE MIDI INPUTS  ", *inputList);
    outputLabel = makeListLabel("lmout", "ACTIVE MIDI OUTPUTS  ", *outputList);

    inputDeviceManager.addChangeListener(this);
    outputDeviceManager.addChangeListener(this);
    changeListenerCallback(nullptr);
}

ZylMidiDeviceSelectorComponent::~ZylMidiDeviceSelectorComponent()
{
    inputDeviceManager.removeChangeListener(this);
    outputDeviceManager.removeChangeListener(this);
    // The labels detach from their lists as they go; they go first.
    inputLabel.reset();
    outputLabel.reset();
}

void ZylMidiDeviceSelectorComponent::resized()
{
    if (inputList != nullptr)
        inputList->setBounds(kListX, kListY, kListWidth, kListHeight);
    if (outputList != nullptr)
        outputList->setBounds(inputList != nullptr ? inputList->getWidth() + kListGap : kListX,
                              kListY, kListWidth, kListHeight);
    repaint();
}

void ZylMidiDeviceSelectorComponent::paint(juce::Graphics& g)
{
    fillStriped(g,
                juce::LookAndFeel::getDefaultLookAndFeel().findColour(
                    juce::ComboBox::backgroundColourId),
                getWidth(), getHeight());

    g.setColour(findColour(juce::AlertWindow::backgroundColourId).brighter(0.5f).withAlpha(0.5f));
    g.fillRoundedRectangle(juce::Rectangle<int>(kFrameInset, kFrameInset,
                                                getWidth() - 2 * kFrameInset,
                                                getHeight() - 2 * kFrameInset)
                               .toFloat(),
                           kFrameCorner);
}

void ZylMidiDeviceSelectorComponent::changeListenerCallback(juce::ChangeBroadcaster*)
{
    for (juce::ListBox* list : { static_cast<juce::ListBox*>(inputList.get()),
                                 static_cast<juce::ListBox*>(outputList.get()) })
    {
        if (list != nullptr)
        {
            list->updateContent();
            list->repaint();
        }
    }
    resized();
}
