#pragma once

#include "framework/ZylRealDomain.h"

// The time signature's numerator: a typed number, 1 to 99 inclusive; the list holds only the
// default, 4. Only the range is checked, so 6.5 passes.
class ZylTimeSigNumeratorDomain : public ZylRealDomain
{
public:
    static constexpr float kMinNumerator = 1.0f;
    static constexpr float kMaxNumerator = 99.0f;

    explicit ZylTimeSigNumeratorDomain(ZylDomainSet* owningSet);
    ~ZylTimeSigNumeratorDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    bool hasFixedValues() const override;
    int getControlType() const override;
    // Inclusive bounds; a number that is not a number fails.
    bool isValidNumber(float x) const override;
};
