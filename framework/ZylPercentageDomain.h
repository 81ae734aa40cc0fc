#pragma once

#include "framework/ZylRealDomain.h"

// "0 %" ... "100 %" with the data 0.00 ... 1.00 (101 values), default "0 %".
class ZylPercentageDomain : public ZylRealDomain
{
public:
    explicit ZylPercentageDomain(ZylDomainSet* owningSet);
    ~ZylPercentageDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    int getControlType() const override;
};
