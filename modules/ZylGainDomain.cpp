#include "modules/ZylGainDomain.h"

#include <cmath>
#include <memory>

namespace
{
constexpr double kLowestDb = -38.0;
constexpr double kStepDb = 0.5;
constexpr int kRotaryKnob = 1;
} // namespace

ZylGainDomain::ZylGainDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, L"-oo dB", L"", L"", nullptr, 0));
    for (int step = 0; step < kNumValues - 1; ++step)
    {
        const double db = kLowestDb + kStepDb * step;
        auto* value = addValue(std::make_unique<ZylValue>(this, 0, 0.0f, std::pow(10.0, db / 20.0),
                                                          L"", L"", L"", nullptr, 0));
        value->setNameFromNumber(db, 0, "%3.1f dB", false);
    }
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues()[kDefaultIndex]);
}

ZylGainDomain::~ZylGainDomain() = default;

std::wstring ZylGainDomain::getShortName() const
{
    return L"Gain";
}

std::wstring ZylGainDomain::getName() const
{
    return L"Synth Gain";
}

std::wstring ZylGainDomain::getDescription() const
{
    return L"Output volume level of built-in test synth";
}

int ZylGainDomain::getControlType() const
{
    return kRotaryKnob;
}
