#pragma once

#include "framework/ZylRealDomain.h"

#include <string>

// Evenly stepped numbers from min to max (rotary control). Value i has the data min + i * step
// and is named from it with "%1.2f"; the default is the last value whose data equals
// defaultData exactly, the first when none does.
class ZylRangeDomain : public ZylRealDomain
{
public:
    ZylRangeDomain(ZylDomainSet* owningSet, double min, double max, double step,
                   double defaultData);
    ~ZylRangeDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    int getControlType() const override;

private:
    std::wstring shortName;
    std::wstring longName;
    std::wstring description;
};
