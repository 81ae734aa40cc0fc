#include "framework/ZylRealParameter.h"

#include "framework/ZylDebug.h"
#include "framework/ZylDomain.h"
#include "framework/ZylHelpers.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameterEpoch.h"
#include "framework/ZylStateXml.h"
#include "framework/ZylValue.h"

#include <cmath>

namespace
{
// Defaults for attributes missing from a "pv" element.
constexpr int kMissingParameterId = -9999;

void* domainSender(ZylDomain* domain)
{
    return static_cast<void*>(domain);
}
} // namespace

ZylRealParameter::ZylRealParameter(ZylParameterSet* owner, int parameterId, int hostIndex,
                                   ZylDomain* valueDomain, bool ownsDomain,
                                   const std::wstring& parameterName)
    : id(parameterId),
      domain(valueDomain),
      ownedDomain(ownsDomain ? valueDomain : nullptr),
      name(parameterName),
      ownerSet(owner),
      automationIndex(hostIndex)
{
    jassert(domain != nullptr);
    domain->addSink(this);
    domain->addListObserver(this);

    const juce::ScopedLock sl(domain->getLock());
    auto* defaultValue = domain->getDefaultValue();
    if (!hasListValues())
    {
        index = 0;
        value = defaultValue != nullptr ? static_cast<float>(defaultValue->getData()) : 0.0f;
    }
    else
    {
        index = domain->getIndexOf(defaultValue, false);
    }
    ZylParameterEpoch::advance();
}

ZylRealParameter::~ZylRealParameter()
{
    domain->removeListObserver(this);
    domain->removeSink(this);
    // ownedDomain goes after this body: the parameter is gone from its list by then.
}

int ZylRealParameter::getId() const
{
    return id;
}

void ZylRealParameter::setValue(float x, int cause, bool force, bool notify)
{
    const juce::ScopedLock sl(getLock());
    if (!force && x == value)
        return;

    if (std::isfinite(x) && domain->isValidNumber(x))
    {
        value = x;
        ZylParameterEpoch::advance();
        if (notify)
            notifyValueChanged(cause);
    }
    else if (notify)
    {
        notifyValueRejected(cause);
    }
}

void ZylRealParameter::setValueObject(ZylValue* newValue, int cause, bool force, bool notify)
{
    const juce::ScopedLock sl(getLock());
    if (!force && newValue == getValueObject())
        return;

    const int newIndex = shownPlaceOf(newValue);
    if (newIndex < 0)
        return;

    index = newIndex;
    displayText = newValue->getName();
    selectedId = newValue->getId();
    hasSelectedId = true;
    value = domain->getPositionOf(newValue, false);
    ZylParameterEpoch::advance();

    if (notify)
        notifyValueChanged(cause);
}

ZylValue* ZylRealParameter::getValueObject() const
{
    const juce::ScopedLock sl(getLock());
    if (!hasListValues())
        return nullptr;
    const auto& values = domain->getValues();
    if (index >= 0 && index < static_cast<int>(values.size()))
        return values[static_cast<size_t>(index)];
    return domain->getDefaultValue();
}

int ZylRealParameter::getIndex() const
{
    const juce::ScopedLock sl(getLock());
    return domain->getIndexOf(getValueObject(), false);
}

float ZylRealParameter::getValue() const
{
    const juce::ScopedLock sl(getLock());
    if (hasListValues() && getValueObject() == nullptr)
        return 0.0f;
    return value;
}

ZylDomain* ZylRealParameter::getDomain() const
{
    return domain;
}

std::wstring ZylRealParameter::getName() const
{
    return name.empty() ? domain->getShortName() : name;
}

void ZylRealParameter::setName(const std::wstring& text)
{
    name = text;
}

std::wstring ZylRealParameter::getShortName() const
{
    return domain->getName();
}

std::wstring ZylRealParameter::getFullName() const
{
    return namePrefix + getName() + nameSuffix;
}

std::wstring ZylRealParameter::getDescription() const
{
    return domain->getDescription();
}

bool ZylRealParameter::isEnabled() const
{
    return enabled;
}

void ZylRealParameter::setEnabled(bool flag, bool notify)
{
    enabled = flag;
    if (notify)
        notifyEnabledChanged(kCauseUnspecified);
}

std::unique_ptr<juce::XmlElement> ZylRealParameter::createXml() const
{
    const juce::ScopedLock sl(getLock());
    std::unique_ptr<juce::XmlElement> element;

    if (domain->hasFixedValues() || domain->hasDynamicValues())
    {
        // A filtered view that shows nothing has no current value: writing nothing lets a later
        // load keep whatever the parameter holds instead of storing a value that never existed.
        const auto* current = getValueObject();
        if (current == nullptr)
            return nullptr;
        element = std::make_unique<juce::XmlElement>("pv");
        element->setAttribute("i", id);
        if (domain->hasFixedValues())
            element->setAttribute("v", current->getId());
        else
            element->setAttribute("v", juce::String(current->getName().c_str()));
        return element;
    }

    element = std::make_unique<juce::XmlElement>("pv");
    element->setAttribute("i", id);
    element->setAttribute("v", static_cast<double>(value));
    return element;
}

void ZylRealParameter::restoreFromXml(const juce::XmlElement& element, bool force, bool notify)
{
    const juce::ScopedLock sl(getLock());
    if (readIntAttribute(element, "i", kMissingParameterId, kMissingParameterId) != id)
        return;

    if (domain->hasFixedValues())
    {
        const auto valueId = element.hasAttribute("v") ? parseStateInt(element.getStringAttribute("v"))
                                                       : std::optional<int>(0);
        if (auto* found = valueId ? domain->findById(*valueId) : nullptr)
            setValueObject(found, kCauseState, force, notify);
        else
            zylDebugLine("unknown index value id=" + element.getStringAttribute("v", "0"));
    }
    else if (domain->hasDynamicValues())
    {
        const auto text = element.getStringAttribute("v");
        if (auto* found = domain->findByName(toStdWString(text)))
            setValueObject(found, kCauseState, force, notify);
        else
            zylDebugLine("unknown display value id=" + text);
    }
    else
    {
        setValue(static_cast<float>(element.getDoubleAttribute("v", 0.0)), kCauseState, force,
                 notify);
    }
}

ZylParameterSet* ZylRealParameter::getOwnerSet() const
{
    return ownerSet;
}

juce::CriticalSection& ZylRealParameter::getLock() const
{
    return domain->getLock();
}

int ZylRealParameter::getAutomationIndex() const
{
    return automationIndex;
}

bool ZylRealParameter::isWheelAssigned() const
{
    return wheelAssigned;
}

void ZylRealParameter::setWheelAssigned(bool flag)
{
    if (flag == wheelAssigned)
        return;
    wheelAssigned = flag;
    notifyWheelAssignmentChanged();
}

ZylParameter* ZylRealParameter::getModulationParameter() const
{
    return modulationParameter;
}

void ZylRealParameter::setModulationParameter(ZylParameter* parameter)
{
    modulationParameter = parameter;
}

void ZylRealParameter::sendMessage(int code)
{
    if (zylCoalescesUndeliveredRepeats(code))
        postCoalescedMessage(asSender(), code);
    else
        postMessage(asSender(), code);
}

void ZylRealParameter::notifyValueChanged(int cause)
{
    sendMessage(zylMessageCode(kValueChanged, cause));
}

void ZylRealParameter::notifyDomainValueChanged(int cause)
{
    domain->postMessage(domainSender(domain), zylMessageCode(kDomainValueChanged, cause));
}

void ZylRealParameter::notifyDomainValuesChanged(int cause)
{
    domain->postMessage(domainSender(domain), zylMessageCode(kDomainValuesChanged, cause));
}

void ZylRealParameter::notifyWheelAssignmentChanged()
{
    sendMessage(kWheelAssignmentChanged);
}

void ZylRealParameter::notifyValueRejected(int cause)
{
    notifyValueChanged(cause);
}

void ZylRealParameter::notifyEnabledChanged(int cause)
{
    sendMessage(zylMessageCode(kEnabledChanged, cause));
}

void ZylRealParameter::notifyGestureChanged(int cause)
{
    sendMessage(zylMessageCode(kGestureChanged, cause));
}

std::wstring ZylRealParameter::getNamePrefix() const
{
    return namePrefix;
}

void ZylRealParameter::setNamePrefix(const std::wstring& text)
{
    namePrefix = text;
}

std::wstring ZylRealParameter::getNameSuffix() const
{
    return nameSuffix;
}

void ZylRealParameter::setNameSuffix(const std::wstring& text)
{
    nameSuffix = text;
}

void ZylRealParameter::resendValue()
{
    const juce::ScopedLock sl(getLock());
    if (!hasListValues())
        setValue(value, kCauseUnspecified, true, true);
    else
        setValueObject(getValueObject(), kCauseUnspecified, true, true);
}

bool ZylRealParameter::isGestureActive() const
{
    const juce::ScopedLock sl(getLock());
    return gestureActive;
}

void ZylRealParameter::setGestureActive(bool flag)
{
    const juce::ScopedLock sl(getLock());
    if (flag == gestureActive)
        return;
    gestureActive = flag;
    notifyGestureChanged(kCauseUnspecified);
}

int ZylRealParameter::shownPlaceOf(const ZylValue* candidate) const
{
    if (candidate == nullptr)
        return -1;
    const int place = domain->getIndexOf(candidate, false);
    const auto& values = domain->getValues();
    // A value of another domain may carry an index that happens to fall within this list.
    if (place < 0 || place >= static_cast<int>(values.size())
        || values[static_cast<size_t>(place)] != candidate)
        return -1;
    return place;
}

ZylValue* ZylRealParameter::findValueAfterRebuild() const
{
    if (domain->hasFixedValues() && hasSelectedId)
    {
        auto* kept = domain->findById(selectedId);
        if (shownPlaceOf(kept) >= 0)
            return kept;
    }
    if (auto* sameName = domain->findByName(displayText))
        return sameName;
    return domain->getDefaultValue();
}

void ZylRealParameter::receiveMessage(void* sender, int code, int /*timeMs*/)
{
    if (sender != domainSender(domain))
        return;

    const int event = zylMessageEvent(code);
    if (event == zylMessageEvent(kDomainValueChanged))
    {
        {
            const juce::ScopedLock sl(getLock());
            if (hasListValues())
                setValueObject(findValueAfterRebuild(), zylMessageLowByte(code), true, true);
        }
        sendMessage(code);
    }
    else if (event == zylMessageEvent(kDomainListRebuilt)
             || event == zylMessageEvent(kDomainValuesChanged))
    {
        sendMessage(code);
    }
}

void ZylRealParameter::valueListRebuilt(ZylDomain& rebuilt)
{
    jassert(&rebuilt == domain);
    juce::ignoreUnused(rebuilt);
    const juce::ScopedLock sl(getLock());
    if (hasListValues())
        setValueObject(findValueAfterRebuild(), kCauseListRebuilt, true, true);
}
