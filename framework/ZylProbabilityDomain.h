#pragma once

#include "framework/ZylUnitScaleDomain.h"

// The unit scale with the default 1.00.
class ZylProbabilityDomain : public ZylUnitScaleDomain
{
public:
    explicit ZylProbabilityDomain(ZylDomainSet* owningSet);
    ~ZylProbabilityDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
};
