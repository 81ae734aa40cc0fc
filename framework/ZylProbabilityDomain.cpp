#include "framework/ZylProbabilityDomain.h"

ZylProbabilityDomain::ZylProbabilityDomain(ZylDomainSet* owningSet)
    : ZylUnitScaleDomain(owningSet)
{
    setDefaultValue(getValues().back());
}

std::wstring ZylProbabilityDomain::getShortName() const { return L"Probability"; }

std::wstring ZylProbabilityDomain::getName() const { return L"Probability"; }

std::wstring ZylProbabilityDomain::getDescription() const { return L"Probability of occurrence"; }
