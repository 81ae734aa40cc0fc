#pragma once

#include "framework/ZylParameter.h"
#include "framework/ZylValueListObserver.h"

#include <memory>
#include <string>

// The parameter that holds a value. Created and owned by a parameter set; registered with its
// own domain for its whole life, as an observer, so that it re-selects its value inside every
// rebuild of the domain's list, and as a sink, so that it passes the domain's messages on as
// its own.
//
// The current value of a list domain is kept as its place in the domain's list (index), its
// view position (value) and its name (displayText); the id of the selected value is kept too,
// so that after a rebuild the same value is found again even when another value has the same
// name.
class ZylRealParameter : public ZylParameter, public ZylValueListObserver
{
public:
    // ownsDomain: the parameter takes the domain over and deletes it after itself. No message is
    // posted: typed-number domains start at the default's number, list domains at the default
    // value with the float 0 until the first set or resendValue.
    ZylRealParameter(ZylParameterSet* ownerSet, int id, int automationIndex, ZylDomain* domain,
                     bool ownsDomain, const std::wstring& name);
    ~ZylRealParameter() override;

    int getId() const override;
    // Typed numbers only: stores x when the domain accepts it (finite and isValidNumber); a
    // refused number keeps the stored one and posts the same value-changed message, so that a
    // widget showing the refused number re-reads the old one.
    void setValue(float x, int cause, bool force, bool notify) override;
    // Ignores values that the domain does not show (null, hidden by a filter, foreign).
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
    // Reads a "pv" element whose "i" is this parameter's id; values are found by id (fixed),
    // by name (dynamic) or read as a number, and set with cause kCauseState.
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
    // Posts nothing when a list parameter has no value to re-apply (an empty filtered view).
    void resendValue() override;
    bool isGestureActive() const override;
    void setGestureActive(bool flag) override;

    // Hears only its own domain: a value changed (re-select, then pass the code on), value list
    // rebuilt or value names changed (pass the code on; the rebuild re-selected already).
    void receiveMessage(void* sender, int code, int timeMs) override;

    // Inside the domain's rebuild, under its lock: keeps the selected value (by id, then by
    // name, else the default) and posts the change with kCauseListRebuilt, forced, so that the
    // sinks hear 0x0104 before the domain's kDomainListRebuilt.
    void valueListRebuilt(ZylDomain& rebuilt) override;

private:
    // The place of the value in the list the domain shows now; -1 for null, a value the view
    // hides and a value of another domain.
    int shownPlaceOf(const ZylValue* candidate) const;

    // The value to keep after the domain rebuilt its list: the selected value when the list
    // still shows it, else the value of the same name, else the default (may be null).
    ZylValue* findValueAfterRebuild() const;

    int id;
    ZylDomain* domain;
    std::unique_ptr<ZylDomain> ownedDomain;
    int index = 0;
    float value = 0.0f;
    std::wstring displayText;
    bool hasSelectedId = false;
    int selectedId = 0;
    std::wstring name;
    ZylParameterSet* ownerSet;
    int automationIndex;
    bool enabled = true;
    bool wheelAssigned = false;
    ZylParameter* modulationParameter = nullptr;
    std::wstring namePrefix;
    std::wstring nameSuffix;
    bool gestureActive = false;
};
