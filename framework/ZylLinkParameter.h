#pragma once

#include "framework/ZylParameter.h"

#include <atomic>

class ZylLinkParameterSet;

// A stand-in for a re-targetable parameter: a module's view of its current program. Everything
// outside the module holds the link, so a program switch only re-targets it. Every operation is
// the target's, except the owner set and the mouse-wheel flag, which are the link's own. The
// link hears only its target and passes each of its messages on with itself as sender.
//
// The target may be read on any thread while the message thread re-targets the link (under the
// processor's callback lock), so it is kept atomically. Without a target the link reads as an
// empty parameter and ignores changes.
class ZylLinkParameter : public ZylParameter
{
public:
    // Created by ZylLinkParameterSet only.
    ZylLinkParameter(ZylLinkParameterSet* owner, ZylParameter* initialTarget);
    ~ZylLinkParameter() override;

    int getId() const override;
    void setValue(float x, int cause, bool force, bool notify) override;
    void setValueObject(ZylValue* value, int cause, bool force, bool notify) override;
    ZylValue* getValueObject() const override;
    int getIndex() const override;
    float getValue() const override;
    ZylDomain* getDomain() const override;
    std::wstring getName() const override;
    void setName(const std::wstring& text) override;
    std::wstring getShortName() const override;
    std::wstring getFullName() const override;
    std::wstring getDescription() const override;
    bool isEnabled() const override;
    void setEnabled(bool flag, bool notify) override;
    std::unique_ptr<juce::XmlElement> createXml() const override;
    void restoreFromXml(const juce::XmlElement& element, bool force, bool notify) override;
    ZylParameterSet* getOwnerSet() const override;
    juce::CriticalSection& getLock() const override;
    int getAutomationIndex() const override;
    bool isWheelAssigned() const override;
    void setWheelAssigned(bool flag) override;
    ZylParameter* getModulationParameter() const override;
    void setModulationParameter(ZylParameter* parameter) override;
    void sendMessage(int code) override;
    void notifyValueChanged(int cause) override;
    void notifyDomainValueChanged(int cause) override;
    void notifyDomainValuesChanged(int cause) override;
    void notifyWheelAssignmentChanged() override;
    void notifyValueRejected(int cause) override;
    void notifyEnabledChanged(int cause) override;
    void notifyGestureChanged(int cause) override;
    std::wstring getNamePrefix() const override;
    void setNamePrefix(const std::wstring& text) override;
    std::wstring getNameSuffix() const override;
    void setNameSuffix(const std::wstring& text) override;
    void resendValue() override;
    bool isGestureActive() const override;
    void setGestureActive(bool flag) override;

    // Moves the registration from the old target to the new one while holding both targets'
    // locks (taken in address order), so a change made under either lock is never half-seen. A
    // gesture active on the old target ends there; when the link's gesture state changes with
    // the target, the link posts kGestureChanged as its own.
    void setTarget(ZylParameter* newTarget);
    ZylParameter* getTarget() const;

    void receiveMessage(void* sender, int code, int timeMs) override;

private:
    ZylLinkParameterSet* ownerSet;
    std::atomic<ZylParameter*> target { nullptr };
    bool wheelAssigned = false;
    // Handed out by getLock while there is no target.
    mutable juce::CriticalSection ownLock;
};
