#include "modules/ZylMidiOutputGroupModule.h"

#include "modules/ZylMidiOutputDeviceManager.h"
#include "modules/ZylMidiOutputDomainSet.h"
#include "modules/ZylMidiOutputModule.h"
#include "modules/ZylMidiToDeviceDomain.h"

ZylMidiOutputGroupModule::ZylMidiOutputGroupModule(ZylModuleContainer* owner,
                                                   ZylMidiPortBackend* portBackend)
    : ZylModule(owner, kModuleId, L""), backend(portBackend)
{
}

ZylMidiOutputGroupModule::~ZylMidiOutputGroupModule()
{
    if (isInitialised())
        removeParameterSink(this, false);
}

void ZylMidiOutputGroupModule::initialise()
{
    ZylModule::initialise();
    registerInModuleMap();
    domainSet = adoptDomainSet(std::make_unique<ZylMidiOutputDomainSet>());
    deviceManager = std::make_unique<ZylMidiOutputDeviceManager>(backend);
    auto* child = addChild(std::make_unique<ZylMidiOutputModule>(getContainer(), this));
    child->initialise();
    setCurrentProgram(0);
    addParameterSink(this, false);
}

void ZylMidiOutputGroupModule::prepareToPlay(double sampleRate, int blockSize)
{
    ZylModule::prepareToPlay(sampleRate, blockSize);
}

std::unique_ptr<juce::XmlElement> ZylMidiOutputGroupModule::createExtXml(bool programOnly,
                                                                         int /*programIndex*/) const
{
    if (programOnly || deviceManager == nullptr)
        return nullptr;
    return deviceManager->createXml();
}

void ZylMidiOutputGroupModule::restoreExtXml(const juce::XmlElement& element, bool programOnly,
                                             int /*programIndex*/, bool /*notify*/)
{
    if (programOnly || deviceManager == nullptr)
        return;
    deviceManager->restoreFromXml(element.getFirstChildElement());
    refreshDeviceValues();
}

ZylMidiOutputDomainSet* ZylMidiOutputGroupModule::getDomainSet() const
{
    return domainSet;
}

ZylMidiOutputDeviceManager* ZylMidiOutputGroupModule::getDeviceManager() const
{
    return deviceManager.get();
}

ZylMidiOutputModule* ZylMidiOutputGroupModule::getOutputModule(int index) const
{
    const auto& list = getChildren();
    if (index < 0 || index >= static_cast<int>(list.size()))
        return nullptr;
    return dynamic_cast<ZylMidiOutputModule*>(list[static_cast<size_t>(index)]);
}

void ZylMidiOutputGroupModule::refreshDeviceValues()
{
    if (deviceManager == nullptr || domainSet == nullptr)
        return;
    std::vector<std::wstring> names;
    deviceManager->getEnabledOutputNames(names);
    auto* domain = dynamic_cast<ZylMidiToDeviceDomain*>(
        domainSet->getDomains()[ZylMidiOutputDomainSet::kDevicePlace]);
    if (domain != nullptr)
        domain->setDeviceNames(names);
}
