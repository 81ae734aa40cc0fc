#include "framework/ZylUnitScaleDomain.h"

ZylUnitScaleDomain::ZylUnitScaleDomain(ZylDomainSet* owningSet)
    : ZylRangeDomain(owningSet, 0.0, 1.0, 0.01, 0.0)
{
}

std::wstring ZylUnitScaleDomain::getShortName() const { return L"0..1"; }

std::wstring ZylUnitScaleDomain::getName() const { return L"Scale 0..1"; }

std::wstring ZylUnitScaleDomain::getDescription() const { return L"Unit scale from 0.0 to 1.0"; }
