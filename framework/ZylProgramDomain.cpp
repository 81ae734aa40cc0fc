#include "framework/ZylProgramDomain.h"

#include <memory>
#include <string>

ZylProgramDomain::ZylProgramDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    for (int i = 0; i < kNumPrograms; ++i)
        addValue(std::make_unique<ZylProgramValue>(this, 0, 0.0f, 0.0,
                                                   L"Untitled " + std::to_wstring(i), L"", L"",
                                                   nullptr, 0));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylProgramDomain::getShortName() const
{
    return L"Preset";
}

std::wstring ZylProgramDomain::getDescription() const
{
    return L"Current preset program selected within this bank";
}
