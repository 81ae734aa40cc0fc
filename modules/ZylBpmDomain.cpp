#include "modules/ZylBpmDomain.h"

ZylBpmDomain::ZylBpmDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 120.0, L"120.00", L"", L"", nullptr, 0));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylBpmDomain::getShortName() const { return L"Bpm"; }

std::wstring ZylBpmDomain::getName() const { return L"Beats per minute"; }

std::wstring ZylBpmDomain::getDescription() const { return L"Tempo in beats per minute"; }

bool ZylBpmDomain::hasFixedValues() const { return false; }

int ZylBpmDomain::getControlType() const { return kControlNone; }

bool ZylBpmDomain::isValidNumber(float x) const
{
    return x >= kMinBpm && x <= kMaxBpm;
}
