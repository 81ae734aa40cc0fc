#include "space/ZylOnClickDomain.h"

#include "framework/ZylValue.h"
#include "space/ZylSpaceDomainSet.h"

#include <memory>

ZylOnClickDomain::ZylOnClickDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    trClick = addValue(std::make_unique<ZylValue>(
        this, 0, 0.0f, 0.0, L"Tr Click", L"Trigger cell",
        L"Trigger chord that has the currently clicked cell as root note. When dragging the mouse "
        L"to another cell, lumenfold triggers the newly visited cells. Also applies to triggering "
        L"by space bar.",
        nullptr, 0));
    trHold = addValue(std::make_unique<ZylValue>(
        this, 0, 0.0f, 0.0, L"Tr & Hold", L"Trigger & hold cell",
        L"Trigger chord that has the currently clicked cell as root note and keep playing it "
        L"until until the user clicks again on a new cell.  Also applies to triggering by space "
        L"bar.",
        nullptr, 0));
    setDefaultValue(trClick);
    distributePositions();
    renumberIds();
    renumberIndexes();
}

ZylOnClickDomain::~ZylOnClickDomain() = default;

std::wstring ZylOnClickDomain::getShortName() const { return L"On Click"; }

std::wstring ZylOnClickDomain::getName() const { return L"Mouse Click Mode"; }

std::wstring ZylOnClickDomain::getDescription() const
{
    return L"The On Click parameter controls how lumenfold reacts when clicking/dragging the mouse";
}
