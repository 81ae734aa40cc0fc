#pragma once

#include "framework/ZylRealDomain.h"

// The tempo: a typed number of beats per minute, 20 to 999 inclusive; the list holds only the
// default, 120.
class ZylBpmDomain : public ZylRealDomain
{
public:
    static constexpr float kMinBpm = 20.0f;
    static constexpr float kMaxBpm = 999.0f;

    explicit ZylBpmDomain(ZylDomainSet* owningSet);
    ~ZylBpmDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    bool hasFixedValues() const override;
    int getControlType() const override;
    // Inclusive bounds; a number that is not a number fails.
    bool isValidNumber(float x) const override;
};
