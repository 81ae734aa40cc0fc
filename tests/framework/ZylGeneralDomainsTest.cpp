#include "framework/ZylGeneralDomainSet.h"
#include "framework/ZylHarmonicDomain.h"
#include "framework/ZylModulationSourceDomain.h"
#include "framework/ZylNullDomain.h"
#include "framework/ZylOnOffSwitchDomain.h"
#include "framework/ZylPercentageDomain.h"
#include "framework/ZylProbabilityDomain.h"
#include "framework/ZylRangeDomain.h"
#include "framework/ZylSUnitScaleDomain.h"
#include "framework/ZylUnitScaleDomain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::wstring> namesOf(const ZylDomain& domain)
{
    std::vector<std::wstring> names;
    for (auto* value : domain.getValues())
        names.push_back(value->getName());
    return names;
}

struct GeneralSet : ::testing::Test
{
    ZylDomain* at(int place) const
    {
        return set.getDomains()[static_cast<size_t>(place)];
    }

    ZylGeneralDomainSet set;
};
} // namespace

TEST_F(GeneralSet, HoldsTheEightDomainsInPlaceOrderOwnedBySet)
{
    ASSERT_EQ(set.getDomains().size(), static_cast<size_t>(ZylGeneralDomainSet::kNumPlaces));
    EXPECT_NE(dynamic_cast<ZylNullDomain*>(at(ZylGeneralDomainSet::kNullPlace)), nullptr);
    EXPECT_NE(dynamic_cast<ZylHarmonicDomain*>(at(ZylGeneralDomainSet::kHarmonicPlace)), nullptr);
    EXPECT_NE(dynamic_cast<ZylUnitScaleDomain*>(at(ZylGeneralDomainSet::kUnitScalePlace)),
              nullptr);
    EXPECT_NE(dynamic_cast<ZylSUnitScaleDomain*>(at(ZylGeneralDomainSet::kSUnitScalePlace)),
              nullptr);
    EXPECT_NE(dynamic_cast<ZylPercentageDomain*>(at(ZylGeneralDomainSet::kPercentagePlace)),
              nullptr);
    EXPECT_NE(dynamic_cast<ZylProbabilityDomain*>(at(ZylGeneralDomainSet::kProbabilityPlace)),
              nullptr);
    EXPECT_NE(dynamic_cast<ZylOnOffSwitchDomain*>(at(ZylGeneralDomainSet::kOnOffSwitchPlace)),
              nullptr);
    EXPECT_NE(dynamic_cast<ZylModulationSourceDomain*>(
                  at(ZylGeneralDomainSet::kModulationSourcePlace)),
              nullptr);
    for (auto* domain : set.getDomains())
        EXPECT_EQ(domain->getDomainSet(), &set);
}

TEST_F(GeneralSet, TextsControlTypesCountsAndDefaults)
{
    struct Case
    {
        const wchar_t* shortName;
        const wchar_t* name;
        const wchar_t* description;
        int controlType;
        size_t count;
        const wchar_t* defaultName;
        int defaultIndex;
    };
    const Case cases[] = {
        { L"null", L"null", L"", kControlCombo, 1, L"null", 0 },
        { L"Harmonic", L"Harmonic", L"Harmonic number", kControlCombo, 63, L"1", 31 },
        { L"0..1", L"Scale 0..1", L"Unit scale from 0.0 to 1.0", kControlRotary, 101, L"0.00", 0 },
        { L"-1..1", L"Scale -1..1", L"Signed unit scale from -1.0 to 1.0", kControlRotary, 101,
          L"0.00", 50 },
        { L"%", L"Percentage", L"Percentage range from 0..100%", kControlRotary, 101, L"0 %", 0 },
        { L"Probability", L"Probability", L"Probability of occurrence", kControlRotary, 101,
          L"1.00", 100 },
        { L"On/Off", L"On/Off switch", L"On/Off switch", kControlToggle, 2, L"Off", 0 },
        { L"ModSrc", L"Modulation source",
          L"Modulation source used to control values of other parameters", kControlCombo, 3,
          L"None", 0 },
    };
    for (int place = 0; place < ZylGeneralDomainSet::kNumPlaces; ++place)
    {
        const auto& c = cases[place];
        const auto* domain = at(place);
        SCOPED_TRACE(juce::String(c.shortName));
        EXPECT_EQ(domain->getShortName(), c.shortName);
        EXPECT_EQ(domain->getName(), c.name);
        EXPECT_EQ(domain->getDescription(), c.description);
        EXPECT_EQ(domain->getControlType(), c.controlType);
        ASSERT_EQ(domain->getValues().size(), c.count);
        ASSERT_NE(domain->getDefaultValue(), nullptr);
        EXPECT_EQ(domain->getDefaultValue()->getName(), c.defaultName);
        EXPECT_EQ(domain->getDefaultValue()->getIndex(), c.defaultIndex);
        EXPECT_TRUE(domain->hasFixedValues());
        EXPECT_FALSE(domain->hasDynamicValues());
        EXPECT_TRUE(domain->isValidNumber(12345.0f));
        EXPECT_TRUE(domain->getCommands().empty());

        // Ids and indexes follow the list places; positions rise by 1/n from 0, below 1.
        const float step = 1.0f / static_cast<float>(c.count);
        float position = 0.0f;
        for (size_t i = 0; i < c.count; ++i)
        {
            const auto* value = domain->getValues()[i];
            EXPECT_EQ(value->getId(), static_cast<int>(i));
            EXPECT_EQ(value->getIndex(), static_cast<int>(i));
            EXPECT_EQ(value->getPosition(), position);
            EXPECT_EQ(value->getCode(), 0);
            position += step;
        }
        EXPECT_LT(domain->getValues().back()->getPosition(), 1.0f);
    }
}

TEST_F(GeneralSet, ValueNamesAndData)
{
    const auto harmonic = namesOf(*at(ZylGeneralDomainSet::kHarmonicPlace));
    EXPECT_EQ(harmonic.front(), L"1/32");
    EXPECT_EQ(harmonic[30], L"1/2");
    EXPECT_EQ(harmonic[31], L"1");
    EXPECT_EQ(harmonic.back(), L"32");
    EXPECT_DOUBLE_EQ(at(ZylGeneralDomainSet::kHarmonicPlace)->getValues()[0]->getData(),
                     1.0 / 32.0);
    EXPECT_EQ(at(ZylGeneralDomainSet::kHarmonicPlace)->findByData(1.0)->getIndex(), 31);

    const auto signedScale = namesOf(*at(ZylGeneralDomainSet::kSUnitScalePlace));
    EXPECT_EQ(signedScale.front(), L"-1.00");
    EXPECT_EQ(signedScale[1], L"-0.98");
    EXPECT_EQ(signedScale.back(), L"1.00");

    const auto percent = namesOf(*at(ZylGeneralDomainSet::kPercentagePlace));
    EXPECT_EQ(percent[1], L"1 %");
    EXPECT_EQ(percent.back(), L"100 %");
    EXPECT_EQ(at(ZylGeneralDomainSet::kPercentagePlace)->findByData(0.5)->getName(), L"50 %");

    auto* unit = at(ZylGeneralDomainSet::kUnitScalePlace);
    EXPECT_EQ(unit->findByNumericName(0.25)->getName(), L"0.25");
    EXPECT_EQ(namesOf(*unit).back(), L"1.00");

    const auto* on = at(ZylGeneralDomainSet::kOnOffSwitchPlace)->getValues()[1];
    EXPECT_EQ(on->getName(), L"On");
    EXPECT_EQ(on->getLabel(), L"On");
    EXPECT_EQ(on->getDescription(), L"Switched on");
    EXPECT_EQ(on->getData(), 1.0);
    EXPECT_EQ(at(ZylGeneralDomainSet::kOnOffSwitchPlace)->getValues()[0]->getDescription(),
              L"Switched off");

    const auto& modulation = at(ZylGeneralDomainSet::kModulationSourcePlace)->getValues();
    EXPECT_EQ(namesOf(*at(ZylGeneralDomainSet::kModulationSourcePlace)),
              (std::vector<std::wstring>{ L"None", L"LFO1", L"LFO2" }));
    EXPECT_EQ(modulation[0]->getDescription(), L"No modulation");
    EXPECT_EQ(modulation[2]->getDescription(), L"Modulated by LFO 2");
    EXPECT_EQ(modulation[2]->getData(), 2.0);

    const auto* null = at(ZylGeneralDomainSet::kNullPlace)->getValues()[0];
    EXPECT_EQ(null->getLabel(), L"null");
    EXPECT_EQ(null->getDescription(), L"");
    EXPECT_EQ(null->getData(), 0.0);
}

TEST(ZylRangeDomain, CountNamesTextsAndDefault)
{
    ZylRangeDomain range(nullptr, 0.0, 1.0, 0.3, 0.5);
    EXPECT_EQ(namesOf(range), (std::vector<std::wstring>{ L"0.00", L"0.30", L"0.60", L"0.90" }));
    EXPECT_EQ(range.getShortName(), L"0.00..1.00");
    EXPECT_EQ(range.getName(), L"Range 0.00..1.00");
    EXPECT_EQ(range.getDescription(), L"Range from 0.00..1.00");
    EXPECT_EQ(range.getControlType(), kControlRotary);
    // A default that is none of the data values falls back to the first value.
    EXPECT_EQ(range.getDefaultValue(), range.getValues()[0]);

    ZylRangeDomain exact(nullptr, 2.0, 4.0, 0.5, 3.0);
    EXPECT_EQ(exact.getDefaultValue()->getName(), L"3.00");
    EXPECT_EQ(exact.getValues().size(), 5u);
}

TEST(ZylRangeDomain, DegenerateStepsGiveOneValue)
{
    for (double step : { 0.0, -0.1, std::numeric_limits<double>::quiet_NaN() })
    {
        ZylRangeDomain range(nullptr, 1.0, 2.0, step, 1.0);
        ASSERT_EQ(range.getValues().size(), 1u);
        EXPECT_EQ(range.getDefaultValue()->getName(), L"1.00");
    }
}
