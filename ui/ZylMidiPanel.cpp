#include "ui/ZylMidiPanel.h"

#include "framework/ZylDomain.h"
#include "framework/ZylEditor.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "modules/ZylMidiFromDeviceDomain.h"
#include "modules/ZylMidiInputDomainSet.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylMidiOutputDomainSet.h"
#include "modules/ZylMidiOutputGroupModule.h"
#include "modules/ZylMidiOutputModule.h"
#include "ui/ZylArtArchives.h"
#include "ui/ZylGuiHelpers.h"
#include "ui/ZylMidiDeviceSelectorComponent.h"
#include "ui/ZylSpacer.h"
#include "ui/ZylUiSeam.h"

namespace
{
constexpr int kLabelWidth = 45;
constexpr int kBoxWidth = 140;
constexpr int kSpacerWidth = 250;
constexpr int kSpacerHeight = 10;

ZylMessageSource* inputDeviceDomain(ZylMidiInputGroupModule* group)
{
    return group != nullptr ? group->getDomainSet()->getDeviceDomain() : nullptr;
}

ZylMessageSource* outputDeviceDomain(ZylMidiOutputGroupModule* group)
{
    return group != nullptr
               ? group->getDomainSet()->getDomains()[ZylMidiOutputDomainSet::kDevicePlace]
               : nullptr;
}
} // namespace

ZylMidiPanel::ZylMidiPanel(ZylEditor* owner, int width) : ZylParamPanel(owner, "Midi", width)
{
    midiIcon = createDrawableFromArchive(ZylArtArchives::kMidiIcon, "midi.svg");
    setIcon(midiIcon.get());

    auto* inputGroup = getInputGroupModule();
    auto* outputGroup = getOutputGroupModule();
    auto* input = inputGroup != nullptr ? inputGroup->getInputModule(0) : nullptr;
    auto* output = outputGroup != nullptr ? outputGroup->getOutputModule(0) : nullptr;

    addPanel(new ZylSpacer(kSpacerWidth, kSpacerHeight, true));
    if (input != nullptr)
    {
        addParameterControl(input->getDeviceParameter(), kLabelWidth, kBoxWidth);
        addParameterControl(input->getChannelParameter(), kLabelWidth, kBoxWidth);
        addParameterControl(input->getTrackParameter(), kLabelWidth, kBoxWidth);
    }
    addPanel(new ZylSpacer(kSpacerWidth, kSpacerHeight, true));
    if (output != nullptr)
    {
        addParameterControl(output->getDeviceParameter(), kLabelWidth, kBoxWidth);
        addParameterControl(output->getChannelParameter(), kLabelWidth, kBoxWidth);
    }

    if (auto* domain = inputDeviceDomain(inputGroup))
        domain->addSink(this);
    if (auto* domain = outputDeviceDomain(outputGroup))
        domain->addSink(this);
    if (inputGroup != nullptr)
        inputGroup->addParameterSink(this, false);
    if (outputGroup != nullptr)
        outputGroup->addParameterSink(this, false);
}

ZylMidiPanel::~ZylMidiPanel()
{
    auto* inputGroup = getInputGroupModule();
    auto* outputGroup = getOutputGroupModule();
    if (inputGroup != nullptr)
        inputGroup->removeParameterSink(this, false);
    if (outputGroup != nullptr)
        outputGroup->removeParameterSink(this, false);
    if (auto* domain = inputDeviceDomain(inputGroup))
        domain->removeSink(this);
    if (auto* domain = outputDeviceDomain(outputGroup))
        domain->removeSink(this);
    setIcon(nullptr);
}

ZylMidiInputGroupModule* ZylMidiPanel::getInputGroupModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? dynamic_cast<ZylMidiInputGroupModule*>(
               container->getModule(ZylMidiInputGroupModule::kModuleId))
                                : nullptr;
}

ZylMidiOutputGroupModule* ZylMidiPanel::getOutputGroupModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? dynamic_cast<ZylMidiOutputGroupModule*>(
               container->getModule(ZylMidiOutputGroupModule::kModuleId))
                                : nullptr;
}

void ZylMidiPanel::receiveMessage(void*, int code, int)
{
    if (code == kMidiSettingsCommand)
        showMidiSettings();
}

void ZylMidiPanel::showMidiSettings()
{
    // The dialog runs a modal loop that keeps delivering messages: a second command arriving
    // meanwhile would open a dialog inside the dialog.
    if (showingMidiSettings)
        return;
    auto* inputGroup = getInputGroupModule();
    auto* outputGroup = getOutputGroupModule();
    if (inputGroup == nullptr || outputGroup == nullptr || inputGroup->getDeviceManager() == nullptr
        || outputGroup->getDeviceManager() == nullptr)
        return;

    const juce::ScopedValueSetter<bool> showing(showingMidiSettings, true);
    {
        ZylMidiDeviceSelectorComponent selector(*inputGroup->getDeviceManager(),
                                                *outputGroup->getDeviceManager());
        selector.setSize(kDialogWidth, kDialogHeight);
        ZylUiSeam::DialogRequest request;
        request.title = "Midi Settings";
        request.content = &selector;
        request.centreAround = getEditor();
        ZylUiSeam::get().runModalDialog(request);
    }
    inputGroup->refreshDeviceValues();
    outputGroup->refreshDeviceValues();
}
