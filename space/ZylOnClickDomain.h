#pragma once

#include "framework/ZylRealDomain.h"

#include <string>

class ZylSpaceDomainSet;
class ZylValue;

// What a click on a cell does: trigger it, or trigger and hold it until the next click. Modes
// are recognised by comparing a parameter's current value object with the getters below. Ids
// are list positions and are stored in programs.
class ZylOnClickDomain : public ZylRealDomain
{
public:
    explicit ZylOnClickDomain(ZylSpaceDomainSet* owner);
    ~ZylOnClickDomain() override;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;

    ZylValue* getTrClickValue() const noexcept { return trClick; }
    ZylValue* getTrHoldValue() const noexcept { return trHold; }

private:
    ZylValue* trClick = nullptr;
    ZylValue* trHold = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylOnClickDomain)
};
