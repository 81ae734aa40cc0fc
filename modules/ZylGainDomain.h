#pragma once

#include "framework/ZylRealDomain.h"

// "Synth Gain": "-oo dB" (factor 0), then -38.0 dB to 0.0 dB in steps of 0.5 dB, each value's
// data the amplitude factor 10^(dB / 20). 78 values, shown as a rotary knob; the default is
// -4.0 dB.
class ZylGainDomain : public ZylRealDomain
{
public:
    static constexpr int kNumValues = 78;
    static constexpr int kDefaultIndex = 69;

    explicit ZylGainDomain(ZylDomainSet* owningSet);
    ~ZylGainDomain() override;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    int getControlType() const override;
};
