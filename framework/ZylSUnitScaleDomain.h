#pragma once

#include "framework/ZylRangeDomain.h"

// -1.00, -0.98 ... 1.00 (101 values), default 0.00.
class ZylSUnitScaleDomain : public ZylRangeDomain
{
public:
    explicit ZylSUnitScaleDomain(ZylDomainSet* owningSet);
    ~ZylSUnitScaleDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
};
