#pragma once

#include "framework/ZylRealDomain.h"

// "None" (the default), "LFO1", "LFO2" with the data 0, 1, 2.
class ZylModulationSourceDomain : public ZylRealDomain
{
public:
    explicit ZylModulationSourceDomain(ZylDomainSet* owningSet);
    ~ZylModulationSourceDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    int getControlType() const override;
};
