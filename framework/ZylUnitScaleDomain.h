#pragma once

#include "framework/ZylRangeDomain.h"

// 0.00, 0.01 ... 1.00 (101 values), default 0.00.
class ZylUnitScaleDomain : public ZylRangeDomain
{
public:
    explicit ZylUnitScaleDomain(ZylDomainSet* owningSet);
    ~ZylUnitScaleDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
};
