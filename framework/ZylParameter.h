#pragma once

#include "framework/ZylMessageSink.h"
#include "framework/ZylMessageSource.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <string>

class ZylDomain;
class ZylParameterSet;
class ZylValue;

// One setting of a module, bound to a domain. Every read or change of the value runs under
// getLock() (the domain's lock, recursive). Messages the parameter posts carry the parameter as
// sender, passed as its ZylParameter* (use asSender() when comparing).
//
// List domains (fixed or dynamic values) are set with setValueObject; typed-number domains
// (neither) with setValue. Causes: see ZylMessageCodes.h; a cause of 0 is sent as kCauseState.
class ZylParameter : public ZylMessageSource, public ZylMessageSink
{
public:
    ZylParameter() = default;
    ~ZylParameter() override = default;

    virtual int getId() const = 0;
    virtual void setValue(float x, int cause, bool force, bool notify) = 0;
    virtual void setValueObject(ZylValue* value, int cause, bool force, bool notify) = 0;
    // Null on a typed-number domain and on a filtered view that shows no value.
    virtual ZylValue* getValueObject() const = 0;
    virtual int getIndex() const = 0;
    // List domains: the view position of the current value (0 when there is none); typed-number
    // domains: the number itself.
    virtual float getValue() const = 0;
    virtual ZylDomain* getDomain() const = 0;
    virtual std::wstring getName() const = 0;
    virtual void setName(const std::wstring& text) = 0;
    virtual std::wstring getShortName() const = 0;
    // namePrefix + getName() + nameSuffix: the name the host sees.
    virtual std::wstring getFullName() const = 0;
    virtual std::wstring getDescription() const = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool flag, bool notify) = 0;
    // A "pv" element, or null when a list parameter has no current value to write.
    virtual std::unique_ptr<juce::XmlElement> createXml() const = 0;
    virtual void restoreFromXml(const juce::XmlElement& element, bool force, bool notify) = 0;
    virtual ZylParameterSet* getOwnerSet() const = 0;
    virtual juce::CriticalSection& getLock() const = 0;
    // 0, 1, 2 ... for parameters the host sees; -1, -2 ... for internal ones.
    virtual int getAutomationIndex() const = 0;
    virtual bool isWheelAssigned() const = 0;
    virtual void setWheelAssigned(bool flag) = 0;
    virtual ZylParameter* getModulationParameter() const = 0;
    virtual void setModulationParameter(ZylParameter* parameter) = 0;
    // Posts code with this parameter as source and sender (commands, module notifications). A
    // code that zylCoalescesUndeliveredRepeats names is not queued again while an equal one from
    // this parameter still waits for delivery.
    virtual void sendMessage(int code) = 0;
    virtual void notifyValueChanged(int cause) = 0;
    virtual void notifyDomainValueChanged(int cause) = 0;
    virtual void notifyDomainValuesChanged(int cause) = 0;
    virtual void notifyWheelAssignmentChanged() = 0;
    virtual void notifyValueRejected(int cause) = 0;
    virtual void notifyEnabledChanged(int cause) = 0;
    virtual void notifyGestureChanged(int cause) = 0;
    virtual std::wstring getNamePrefix() const = 0;
    virtual void setNamePrefix(const std::wstring& text) = 0;
    virtual std::wstring getNameSuffix() const = 0;
    virtual void setNameSuffix(const std::wstring& text) = 0;
    // Re-applies the current value with force and notification: posts one value change, cause 5.
    virtual void resendValue() = 0;
    virtual bool isGestureActive() const = 0;
    virtual void setGestureActive(bool flag) = 0;

    // The pointer that this parameter's messages carry as sender.
    void* asSender() noexcept { return static_cast<ZylParameter*>(this); }
    const void* asSender() const noexcept { return static_cast<const ZylParameter*>(this); }

    bool hasListValues() const;

    // A normalised number from the host (0..1). Numbers outside 0..1 are clamped and NaN is
    // ignored, so that no host input can select a missing value. Typed-number domains take the
    // number itself; list domains the value at that position, when it is not the current one.
    void setHostValue(float normalised, int cause);

    // The name of the current value; empty when there is none. Typed numbers are printed.
    std::wstring getValueText() const;

    // One mouse-wheel movement: up (deltaY > 0) steps towards the first value, down towards the
    // last, by 1, or on a rotary domain by a 25th of the list (at least 1); running past an end
    // selects that end. Cause kCauseUser. Nothing happens for deltaY 0, for typed-number domains
    // and for a list without values (a filtered view showing nothing). Returns whether a value
    // was set.
    bool applyWheelStep(float deltaY);

    JUCE_DECLARE_NON_COPYABLE(ZylParameter)
};
