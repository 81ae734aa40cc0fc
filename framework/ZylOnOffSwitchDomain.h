#pragma once

#include "framework/ZylRealDomain.h"

// "Off" (data 0, the default) and "On" (data 1), shown as a toggle.
class ZylOnOffSwitchDomain : public ZylRealDomain
{
public:
    explicit ZylOnOffSwitchDomain(ZylDomainSet* owningSet);
    ~ZylOnOffSwitchDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    int getControlType() const override;
};
