#pragma once

#include "framework/ZylRealDomain.h"

// Harmonic ratios: 1/32 ... 1/2, then 1 ... 32 (63 values), default 1.
class ZylHarmonicDomain : public ZylRealDomain
{
public:
    explicit ZylHarmonicDomain(ZylDomainSet* owningSet);
    ~ZylHarmonicDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    int getControlType() const override;
};
