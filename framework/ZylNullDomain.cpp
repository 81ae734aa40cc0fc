#include "framework/ZylNullDomain.h"

ZylNullDomain::ZylNullDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, L"null", L"", L"", nullptr, 0));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylNullDomain::getShortName() const { return L"null"; }

std::wstring ZylNullDomain::getName() const { return L"null"; }

std::wstring ZylNullDomain::getDescription() const { return L""; }

int ZylNullDomain::getControlType() const { return kControlCombo; }
