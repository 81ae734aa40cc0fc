#include "modules/ZylTimeSigNumeratorDomain.h"

ZylTimeSigNumeratorDomain::ZylTimeSigNumeratorDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 4.0, L"4", L"", L"", nullptr, 0));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylTimeSigNumeratorDomain::getShortName() const { return L"../4"; }

std::wstring ZylTimeSigNumeratorDomain::getName() const { return L"TS Numerator"; }

std::wstring ZylTimeSigNumeratorDomain::getDescription() const { return L"Time signature numerator"; }

bool ZylTimeSigNumeratorDomain::hasFixedValues() const { return false; }

int ZylTimeSigNumeratorDomain::getControlType() const { return kControlNone; }

bool ZylTimeSigNumeratorDomain::isValidNumber(float x) const
{
    return x >= kMinNumerator && x <= kMaxNumerator;
}
