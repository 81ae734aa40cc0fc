#include "framework/ZylHarmonicDomain.h"

namespace
{
constexpr int kHighestHarmonic = 32;
}

ZylHarmonicDomain::ZylHarmonicDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    for (int n = kHighestHarmonic; n >= 2; --n)
    {
        auto* value = addValue(std::make_unique<ZylValue>(
            this, 0, 0.0f, 1.0 / static_cast<double>(n), L"", L"", L"", nullptr, 0));
        value->setNameFromNumber(static_cast<double>(n), 0, "1/%1.0f", true);
    }
    ZylValue* unity = nullptr;
    for (int n = 1; n <= kHighestHarmonic; ++n)
    {
        auto* value = addValue(std::make_unique<ZylValue>(
            this, 0, 0.0f, static_cast<double>(n), L"", L"", L"", nullptr, 0));
        value->setNameFromNumber(static_cast<double>(n), 0, "%1.0f", true);
        if (n == 1)
            unity = value;
    }
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(unity);
}

std::wstring ZylHarmonicDomain::getShortName() const { return L"Harmonic"; }

std::wstring ZylHarmonicDomain::getName() const { return L"Harmonic"; }

std::wstring ZylHarmonicDomain::getDescription() const { return L"Harmonic number"; }

int ZylHarmonicDomain::getControlType() const { return kControlCombo; }
