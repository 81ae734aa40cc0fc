#include "framework/ZylPercentageDomain.h"

namespace
{
constexpr int kPercentSteps = 100;
}

ZylPercentageDomain::ZylPercentageDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    for (int i = 0; i <= kPercentSteps; ++i)
    {
        auto* value = addValue(std::make_unique<ZylValue>(
            this, 0, 0.0f, static_cast<double>(i) / kPercentSteps, L"", L"", L"", nullptr, 0));
        value->setNameFromNumber(static_cast<double>(i), 0, "%1.0f %%", true);
    }
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylPercentageDomain::getShortName() const { return L"%"; }

std::wstring ZylPercentageDomain::getName() const { return L"Percentage"; }

std::wstring ZylPercentageDomain::getDescription() const
{
    return L"Percentage range from 0..100%";
}

int ZylPercentageDomain::getControlType() const { return kControlRotary; }
