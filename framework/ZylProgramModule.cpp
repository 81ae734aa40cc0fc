#include "framework/ZylProgramModule.h"

#include "framework/ZylHelpers.h"
#include "framework/ZylHostLink.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylProgramDomain.h"
#include "framework/ZylProgramDomainSet.h"
#include "framework/ZylRealParameter.h"
#include "framework/ZylStateXml.h"

namespace
{
constexpr const char* kValueTag = "val";
constexpr const char* kDomainTag = "dom";
constexpr const char* kMissingProgramName = "null";
} // namespace

ZylProgramModule::ZylProgramModule(ZylModuleContainer* owner) : ZylModule(owner, kModuleId, L"")
{
}

ZylProgramModule::~ZylProgramModule()
{
    if (isInitialised())
        removeParameterSink(this, false);
}

void ZylProgramModule::initialise()
{
    ZylModule::initialise();
    registerInModuleMap();
    domainSet = adoptDomainSet(std::make_unique<ZylProgramDomainSet>());
    getGlobalParameters()->createParameter(kProgramParameterId, takeInternalAutomationIndex(),
                                           domainSet->getProgramDomain());
    getGlobalParameters()->buildIndex();
    setCurrentProgram(0);
    registerParameters(getContainer()->getParameterMap());
    addParameterSink(this, false);
}

ZylProgramDomainSet* ZylProgramModule::getDomainSet() const
{
    return domainSet;
}

ZylProgramDomain* ZylProgramModule::getProgramDomain() const
{
    return domainSet != nullptr ? domainSet->getProgramDomain() : nullptr;
}

ZylParameter* ZylProgramModule::getProgramParameter() const
{
    return getGlobalParameters()->getParameterById(kProgramParameterId);
}

ZylValue* ZylProgramModule::getCurrentProgramValue() const
{
    auto* parameter = getProgramParameter();
    return parameter != nullptr ? parameter->getValueObject() : nullptr;
}

ZylValue* ZylProgramModule::getProgramValue(int index) const
{
    auto* domain = getProgramDomain();
    if (domain == nullptr || index < 0 || index >= static_cast<int>(domain->getValues().size()))
        return nullptr;
    return domain->getValues()[static_cast<size_t>(index)];
}

int ZylProgramModule::getCurrentProgram() const
{
    auto* parameter = getProgramParameter();
    if (parameter == nullptr)
        return ZylModule::getCurrentProgram();
    const juce::ScopedLock sl(parameter->getLock());
    return parameter->getIndex();
}

int ZylProgramModule::getNumPrograms() const
{
    auto* domain = getProgramDomain();
    return domain != nullptr ? static_cast<int>(domain->getValues().size()) : 0;
}

juce::String ZylProgramModule::getProgramName(int index) const
{
    auto* parameter = getProgramParameter();
    if (parameter == nullptr)
        return kMissingProgramName;
    const juce::ScopedLock sl(parameter->getLock());
    auto* value = getProgramValue(index);
    return value != nullptr ? juce::String(value->getName().c_str()) : juce::String(kMissingProgramName);
}

void ZylProgramModule::setProgramName(int index, const juce::String& newName)
{
    auto* parameter = getProgramParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    // A state holds names of up to kMaxStateTextLength characters; a longer one is cut here, so
    // that the name shown is the name saved.
    if (auto* value = getProgramValue(index))
        value->setName(toStdWString(newName.substring(0, kMaxStateTextLength)),
                       zylMessageCode(kDomainValuesChanged, kCauseHost), true);
}

void ZylProgramModule::selectProgram(int index, int cause)
{
    auto* parameter = getProgramParameter();
    auto* value = getProgramValue(index);
    if (parameter == nullptr || value == nullptr)
        return;

    const juce::ScopedLock callback(getContainer()->getCallbackLock());
    parameter->setValueObject(value, cause, false, true);
    if ((cause & 0xff) == kCauseHost)
        if (auto* root = getContainer()->getRootModule())
            root->setCurrentProgram(index);
}

void ZylProgramModule::switchTreeToCurrentProgram()
{
    const juce::ScopedLock callback(getContainer()->getCallbackLock());
    if (auto* root = getContainer()->getRootModule())
        root->setCurrentProgram(getCurrentProgram());
    if (auto* host = getContainer()->getFilter())
        host->notifyHostDisplayChanged();
}

bool ZylProgramModule::handleMessage(void* sender, int code, int timeMs)
{
    auto* parameter = getProgramParameter();
    if (parameter != nullptr && sender == parameter->asSender()
        && zylMessageLowByte(code) != kCauseHost)
    {
        switchTreeToCurrentProgram();
        return true;
    }
    return ZylModule::handleMessage(sender, code, timeMs);
}

void ZylProgramModule::stateLoaded()
{
    if (auto* parameter = getProgramParameter())
        parameter->notifyDomainValuesChanged(kCauseUnspecified);
    ZylModule::stateLoaded();
}

std::unique_ptr<juce::XmlElement> ZylProgramModule::createExtXml(bool programOnly,
                                                                 int programIndex) const
{
    auto* parameter = getProgramParameter();
    auto* domain = getProgramDomain();
    if (parameter == nullptr || domain == nullptr)
        return {};
    const juce::ScopedLock sl(parameter->getLock());
    if (programOnly)
    {
        auto* value = getProgramValue(programIndex);
        return value != nullptr ? value->createXml() : nullptr;
    }
    return domain->createXml();
}

void ZylProgramModule::restoreExtXml(const juce::XmlElement& element, bool programOnly,
                                     int programIndex, bool notify)
{
    auto* parameter = getProgramParameter();
    auto* domain = getProgramDomain();
    auto* own = element.getFirstChildElement();
    if (parameter == nullptr || domain == nullptr || own == nullptr)
        return;

    const juce::ScopedLock sl(parameter->getLock());
    if (programOnly && own->getTagName() == kValueTag)
    {
        if (auto* value = getProgramValue(programIndex))
            value->restoreFromXml(own, notify);
    }
    else if (own->getTagName() == kDomainTag)
    {
        domain->restoreFromXml(own, notify);
    }
}
