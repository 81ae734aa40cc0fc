#include "modules/ZylTimeSigDenominatorDomain.h"

ZylTimeSigDenominatorDomain::ZylTimeSigDenominatorDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 4.0, L"4", L"", L"", nullptr, 0));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylTimeSigDenominatorDomain::getShortName() const { return L"4/.."; }

std::wstring ZylTimeSigDenominatorDomain::getName() const { return L"TS Denominator"; }

std::wstring ZylTimeSigDenominatorDomain::getDescription() const { return L"Time signature denominator"; }

bool ZylTimeSigDenominatorDomain::hasFixedValues() const { return false; }

int ZylTimeSigDenominatorDomain::getControlType() const { return kControlNone; }

bool ZylTimeSigDenominatorDomain::isValidNumber(float x) const
{
    return x >= kMinDenominator && x <= kMaxDenominator;
}
