#pragma once

#include "framework/ZylRealDomain.h"

// "Bar", "Beat" and "1/4" (data 0, 1, 2; "Bar" the default). Part of the transport's set; no
// transport parameter is bound to it.
class ZylTimeUnitDomain : public ZylRealDomain
{
public:
    explicit ZylTimeUnitDomain(ZylDomainSet* owningSet);
    ~ZylTimeUnitDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
};
