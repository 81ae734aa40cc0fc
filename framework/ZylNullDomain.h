#pragma once

#include "framework/ZylRealDomain.h"

// One value named "null". The command parameters of the modules and the container's reset
// parameter are bound to it: they serve only as message senders.
class ZylNullDomain : public ZylRealDomain
{
public:
    explicit ZylNullDomain(ZylDomainSet* owningSet);
    ~ZylNullDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    int getControlType() const override;
};
