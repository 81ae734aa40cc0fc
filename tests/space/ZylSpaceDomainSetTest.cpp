#include "space/ZylCellLabelDomain.h"
#include "space/ZylCellTriggerDomain.h"
#include "space/ZylChordAssistDomain.h"
#include "space/ZylChordDomain.h"
#include "space/ZylChordFilterDomain.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylOnClickDomain.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylSpaceDomain.h"
#include "space/ZylVoicingDomain.h"
#include "tests/space/ZylSpaceVocabularyFixture.h"

#include <set>

namespace
{
class ZylSpaceDomainSetTest : public ZylSpaceVocabularyFixture
{
};

struct PlaceCase
{
    int place;
    const wchar_t* shortName;
    const wchar_t* name;
    size_t count;
    const wchar_t* defaultName;
    size_t defaultPosition;
    const wchar_t* description;
};

const PlaceCase kPlaces[] = {
    { ZylSpaceDomainSet::kSpacePlace, L"Space", L"Space", 50, L"Octaves", 0,
      L"The space is the view above the piano keyboard. In an ideal space, notes that sound well "
      L"together also are near eachother in terms of their geometrical or 'city-block' distance." },
    { ZylSpaceDomainSet::kCellLabelPlace, L"Labels", L"Labels", 12, L"Nte/Mid", 0,
      L"Lets you change the labels of the cells in the space" },
    { ZylSpaceDomainSet::kKeyPlace, L"Key", L"Key", 18, L"C", 0,
      L"The key defines the first tone at which a scale will start" },
    { ZylSpaceDomainSet::kScalePlace, L"Scale", L"Scale", 21, L"Chroma", 0,
      L"A scale defines a subset of the 12 tones and their relative intervals" },
    { ZylSpaceDomainSet::kChordFilterPlace, L"Ch Filter", L"Ch Filter", 10, L"All", 0,
      L"The chord filter parameter limits the type of chords that can be used" },
    { ZylSpaceDomainSet::kChordPlace, L"Chord", L"Chord", 39, L"U", 0,
      L"The chord is defined by the interval distances between notes in the chord in root "
      L"position. The first note of the chord -aka the root- is always at 0 if the chord is in "
      L"root position. The ASSIST parameter must be set to MANUAL for this parameter to be "
      L"accessible" },
    { ZylSpaceDomainSet::kChordAssistPlace, L"Assist", L"Assist", 7, L"Ch Root", 1,
      L"Assists with picking a chord which fits the current space, with the root note being given "
      L"by the currently selected cell in the space" },
    { ZylSpaceDomainSet::kVoicingPlace, L"Voicing", L"Voicing", 25, L"Root", 0,
      L"Voicing adds one or more octaves to one or more notes of the chord. This allows you to "
      L"spread the chord more across the keyboard, making it sound more open. Inversions are a "
      L"special case of voicing" },
    { ZylSpaceDomainSet::kCellTriggerPlace, L"Trigger", L"Cell Trigger", 5, L"Mouse Cl", 0,
      L"The Cell Trigger parameter controls what happens to cells when lumenfold receives mouse "
      L"clicks, space bar presses and/or incoming midi notes)" },
    { ZylSpaceDomainSet::kOnClickPlace, L"On Click", L"Mouse Click Mode", 2, L"Tr Click", 0,
      L"The On Click parameter controls how lumenfold reacts when clicking/dragging the mouse" },
};
} // namespace

TEST_F(ZylSpaceDomainSetTest, HoldsTheTenDomainsAtTheirPlacesWithTheirTexts)
{
    const auto& domains = set().getDomains();
    ASSERT_EQ(domains.size(), size_t { ZylSpaceDomainSet::kNumPlaces });

    const std::vector<const ZylDomain*> typed = {
        set().getSpaceDomain(),       set().getCellLabelDomain(),   set().getKeyDomain(),
        set().getScaleDomain(),       set().getChordFilterDomain(), set().getChordDomain(),
        set().getChordAssistDomain(), set().getVoicingDomain(),     set().getCellTriggerDomain(),
        set().getOnClickDomain(),
    };
    for (const auto& c : kPlaces)
    {
        SCOPED_TRACE(c.shortName);
        const ZylDomain* domain = domains[static_cast<size_t>(c.place)];
        EXPECT_EQ(domain, typed[static_cast<size_t>(c.place)]);
        EXPECT_EQ(domain->getDomainSet(), &set());
        EXPECT_EQ(domain->getShortName(), c.shortName);
        EXPECT_EQ(domain->getName(), c.name);
        EXPECT_EQ(domain->getDescription(), c.description);
        ASSERT_EQ(domain->getValues().size(), c.count);
        EXPECT_EQ(domain->getDefaultValue(), domain->getValues()[c.defaultPosition]);
        EXPECT_EQ(domain->getDefaultValue()->getName(), c.defaultName);
    }
}

// What the host sees and what a program stores: every vocabulary is a fixed combo-box list whose
// value i sits at position i / n, and a position handed back by the host finds the same value.
TEST_F(ZylSpaceDomainSetTest, EveryDomainIsAFixedComboListWithEvenPositionsThatRoundTrip)
{
    for (const auto* domain : set().getDomains())
    {
        SCOPED_TRACE(domain->getShortName());
        EXPECT_EQ(domain->getControlType(), kControlCombo);
        EXPECT_TRUE(domain->hasFixedValues());
        EXPECT_FALSE(domain->hasDynamicValues());
        EXPECT_TRUE(domain->getCommands().empty());

        const auto& values = domain->getValues();
        const float n = static_cast<float>(values.size());
        for (size_t i = 0; i < values.size(); ++i)
        {
            const ZylValue* value = values[i];
            EXPECT_EQ(value->getIndex(), static_cast<int>(i));
            EXPECT_NEAR(value->getPosition(), static_cast<float>(i) / n, 1e-5f);
            EXPECT_EQ(domain->findByPosition(value->getPosition()), value);
            EXPECT_EQ(value->getDomain(), domain);
            EXPECT_EQ(value->getData(), 0.0);
            EXPECT_FALSE(value->getName().empty());
            EXPECT_FALSE(value->getLabel().empty());
        }
        EXPECT_LT(values.back()->getPosition(), 1.0f);
    }
}

TEST_F(ZylSpaceDomainSetTest, IdsAreListPositionsExceptForChordsAndFiltersWhichKeepUniqueIds)
{
    for (const auto* domain : set().getDomains())
    {
        SCOPED_TRACE(domain->getShortName());
        const bool ownIds = domain == set().getChordDomain()
                            || domain == set().getChordFilterDomain();
        std::set<int> ids;
        for (const auto* value : domain->getValues())
        {
            if (!ownIds)
            {
                EXPECT_EQ(value->getId(), value->getIndex());
            }
            EXPECT_TRUE(ids.insert(value->getId()).second) << "id " << value->getId();
            EXPECT_EQ(domain->findById(value->getId()), value);
        }
    }
}

TEST_F(ZylSpaceDomainSetTest, EachDomainCanBeBuiltOnItsOwnWithoutAnOwner)
{
    ZylScaleDomain scales(nullptr);
    ZylChordDomain chords(nullptr);
    EXPECT_EQ(scales.getDomainSet(), nullptr);
    EXPECT_EQ(scales.getValues().size(), 21u);
    EXPECT_EQ(chords.findById(ZylChordDomain::kMajorSecondId)->getLabel(), L"[2] Major 2nd");
}
