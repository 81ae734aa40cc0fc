#pragma once

#include "framework/ZylMessageCodes.h"
#include "framework/ZylRealDomain.h"
#include "framework/ZylValue.h"

#include <memory>
#include <string>
#include <vector>

// A typed-number domain like the tempo: the list holds only the default (data 120) and numbers
// from 20 to 999 are accepted.
class ZylTypedTestDomain : public ZylRealDomain
{
public:
    ZylTypedTestDomain() : ZylRealDomain(nullptr)
    {
        auto* value = addValue(
            std::make_unique<ZylValue>(this, 0, 0.0f, 120.0, L"", L"", L"", nullptr, 0));
        setDefaultValue(value);
    }

    std::wstring getShortName() const override { return L"Tempo"; }
    bool hasFixedValues() const override { return false; }
    bool hasDynamicValues() const override { return false; }
    int getControlType() const override { return kControlNone; }
    bool isValidNumber(float x) const override { return x >= 20.0f && x <= 999.0f; }
};

// A list rebuilt at run time, values identified by name (like the MIDI device lists).
class ZylDynamicTestDomain : public ZylRealDomain
{
public:
    explicit ZylDynamicTestDomain(const std::vector<std::wstring>& names) : ZylRealDomain(nullptr)
    {
        fill(names);
    }

    std::wstring getShortName() const override { return L"Device"; }
    bool hasFixedValues() const override { return false; }
    bool hasDynamicValues() const override { return true; }

    // Rebuilds the list under the lock and ends the rebuild before releasing it.
    void setNames(const std::vector<std::wstring>& names)
    {
        const juce::ScopedLock sl(getLock());
        clearValues();
        fill(names);
        listRebuilt();
    }

private:
    void fill(const std::vector<std::wstring>& names)
    {
        for (const auto& name : names)
            addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, name, L"", L"", nullptr, 0));
        distributePositions();
        renumberIds();
        renumberIndexes();
        setDefaultValue(getValues().empty() ? nullptr : getValues().front());
    }
};
