#pragma once

#include "framework/ZylRealDomain.h"

// The time signature's denominator: a typed number, 1 to 16 inclusive; the list holds only the
// default, 4. Only the range is checked, so 3 passes.
class ZylTimeSigDenominatorDomain : public ZylRealDomain
{
public:
    static constexpr float kMinDenominator = 1.0f;
    static constexpr float kMaxDenominator = 16.0f;

    explicit ZylTimeSigDenominatorDomain(ZylDomainSet* owningSet);
    ~ZylTimeSigDenominatorDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    bool hasFixedValues() const override;
    int getControlType() const override;
    // Inclusive bounds; a number that is not a number fails.
    bool isValidNumber(float x) const override;
};
