#include "framework/ZylSUnitScaleDomain.h"

ZylSUnitScaleDomain::ZylSUnitScaleDomain(ZylDomainSet* owningSet)
    : ZylRangeDomain(owningSet, -1.0, 1.0, 0.02, 0.0)
{
}

std::wstring ZylSUnitScaleDomain::getShortName() const { return L"-1..1"; }

std::wstring ZylSUnitScaleDomain::getName() const { return L"Scale -1..1"; }

std::wstring ZylSUnitScaleDomain::getDescription() const
{
    return L"Signed unit scale from -1.0 to 1.0";
}
