#pragma once

#include "framework/ZylDomain.h"
#include "framework/ZylDomainCommand.h"
#include "framework/ZylValue.h"

#include <memory>
#include <vector>

// The domain that owns its values and commands. Vocabulary subclasses fill the list in their
// constructor: addValue in list order, distributePositions, renumberIds, renumberIndexes,
// setDefaultValue. A subclass that rebuilds its list later does so under getLock() and calls
// listRebuilt() before releasing it. Value pointers stay valid until the list is cleared.
class ZylRealDomain : public ZylDomain
{
public:
    explicit ZylRealDomain(ZylDomainSet* owningSet);
    ~ZylRealDomain() override;

    ZylDomainSet* getDomainSet() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    const ZylValueList& getValues() const override;
    bool hasFixedValues() const override;
    bool hasDynamicValues() const override;
    void distributePositions() override;
    // The first value gets start, each next one the previous plus step (single precision).
    void assignPositions(float start, float step) override;
    void assignSequentialData() override;
    void renumberIndexes() override;
    void renumberIds() override;
    // Locate value by its index (renumber after every change of the list) and step n places;
    // null past either end, for null, and for a value that is not in this list at its index.
    ZylValue* getNext(ZylValue* value, int n) const override;
    ZylValue* getPrevious(ZylValue* value, int n) const override;
    ZylValue* findById(int id) const override;
    // The last value whose position is <= x; null when none is (or x is not a number).
    ZylValue* findByPosition(float x) const override;
    ZylValue* findByData(double x) const override;
    ZylValue* findByName(const std::wstring& text) const override;
    ZylValue* findByNumericName(double x) const override;
    ZylValue* getDefaultValue() const override;
    juce::CriticalSection& getLock() const override;
    ZylDomainCommand* findCommand(int id) const override;
    // Posts zylCommandCode(id) unless the command is null or its id is 0.
    void postCommand(ZylDomainCommand* command) override;
    int getControlType() const override;
    bool isValidNumber(float x) const override;
    void clearValues() override;
    void clearCommands() override;
    // A "dom" element with "n" = getShortName() and one "val" child per value in list order.
    std::unique_ptr<juce::XmlElement> createXml() const override;
    // Hands the i-th child element to the i-th value until either runs out (matched by place).
    void restoreFromXml(const juce::XmlElement* element, bool notify) override;
    const ZylDomainCommandList& getCommands() const override;
    int getIndexOf(const ZylValue* value, bool linked) const override;
    float getPositionOf(const ZylValue* value, bool linked) const override;

    // Appends a value to the list; the domain owns it from now on.
    template <class ValueType>
    ValueType* addValue(std::unique_ptr<ValueType> value)
    {
        auto* raw = value.get();
        ownedValues.push_back(std::move(value));
        values.push_back(raw);
        return raw;
    }

    // Appends a command; the domain owns it from now on.
    ZylDomainCommand* addCommand(std::unique_ptr<ZylDomainCommand> command);

    // value must be one of this domain's values (or null).
    void setDefaultValue(ZylValue* value) noexcept { defaultValue = value; }

    static ZylValue* stepThrough(const ZylValueList& list, int fromIndex, int n);
    static ZylValue* findByPositionIn(const ZylValueList& list, float x);
    static ZylValue* findByNameIn(const ZylValueList& list, const std::wstring& text);
    static ZylValue* findByNumericNameIn(const ZylValueList& list, double x);

private:
    ZylDomainSet* domainSet;
    std::vector<std::unique_ptr<ZylValue>> ownedValues;
    ZylValueList values; // the same values in the same order, for getValues
    ZylValue* defaultValue = nullptr;
    mutable juce::CriticalSection lock;
    std::vector<std::unique_ptr<ZylDomainCommand>> ownedCommands;
    ZylDomainCommandList commands;
};
