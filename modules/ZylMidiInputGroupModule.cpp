#include "modules/ZylMidiInputGroupModule.h"

#include "modules/ZylMidiFromDeviceDomain.h"
#include "modules/ZylMidiInputDeviceManager.h"
#include "modules/ZylMidiInputDomainSet.h"
#include "modules/ZylMidiInputModule.h"

ZylMidiInputGroupModule::ZylMidiInputGroupModule(ZylModuleContainer* owner,
                                                 ZylMidiPortBackend* portBackend)
    : ZylModule(owner, kModuleId, L""), backend(portBackend)
{
}

ZylMidiInputGroupModule::~ZylMidiInputGroupModule()
{
    if (isInitialised())
        removeParameterSink(this, false);
    // The base deletes the children only after this group's members are gone, so the children
    // leave the device manager's callbacks now, while it still exists.
    for (int i = 0; i < static_cast<int>(getChildren().size()); ++i)
        if (auto* input = getInputModule(i))
            input->detachFromDeviceManager();
}

void ZylMidiInputGroupModule::initialise()
{
    ZylModule::initialise();
    registerInModuleMap();
    domainSet = adoptDomainSet(std::make_unique<ZylMidiInputDomainSet>());
    deviceManager = std::make_unique<ZylMidiInputDeviceManager>(backend);
    auto* child = addChild(std::make_unique<ZylMidiInputModule>(getContainer(), this));
    child->initialise();
    setCurrentProgram(0);
    addParameterSink(this, false);
}

void ZylMidiInputGroupModule::prepareToPlay(double sampleRate, int blockSize)
{
    ZylModule::prepareToPlay(sampleRate, blockSize);
}

std::unique_ptr<juce::XmlElement> ZylMidiInputGroupModule::createExtXml(bool programOnly,
                                                                        int /*programIndex*/) const
{
    if (programOnly || deviceManager == nullptr)
        return nullptr;
    return deviceManager->createXml();
}

void ZylMidiInputGroupModule::restoreExtXml(const juce::XmlElement& element, bool programOnly,
                                            int /*programIndex*/, bool /*notify*/)
{
    if (programOnly || deviceManager == nullptr)
        return;
    deviceManager->restoreFromXml(element.getFirstChildElement());
    refreshDeviceValues();
}

ZylMidiInputDomainSet* ZylMidiInputGroupModule::getDomainSet() const
{
    return domainSet;
}

ZylMidiInputModule* ZylMidiInputGroupModule::getInputModule(int index) const
{
    const auto& list = getChildren();
    if (index < 0 || index >= static_cast<int>(list.size()))
        return nullptr;
    return dynamic_cast<ZylMidiInputModule*>(list[static_cast<size_t>(index)]);
}

void ZylMidiInputGroupModule::refreshDeviceValues()
{
    if (deviceManager == nullptr || domainSet == nullptr)
        return;
    std::vector<std::wstring> names;
    deviceManager->getEnabledInputNames(names);
    domainSet->getDeviceDomain()->setDeviceNames(names);
}
