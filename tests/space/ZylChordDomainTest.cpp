#include "framework/ZylFilteredLinkDomain.h"
#include "space/ZylChordDomain.h"
#include "space/ZylChordFilterDomain.h"
#include "tests/space/ZylSpaceVocabularyFixture.h"

#include <algorithm>

namespace
{
class ZylChordDomainTest : public ZylSpaceVocabularyFixture
{
protected:
    static const ZylChordDomain& chords() { return *set().getChordDomain(); }
    static const ZylChordFilterDomain& filters() { return *set().getChordFilterDomain(); }

    static std::vector<std::wstring> namesWithTag(int tag)
    {
        std::vector<std::wstring> names;
        for (const auto* chord : chords().getValues())
            if (chord->hasTag(tag))
                names.push_back(chord->getName());
        return names;
    }
};

struct ChordCase
{
    int id;
    const wchar_t* name;
    const wchar_t* label;
    ZylIntVector intervals;
    int rank;
};

const ChordCase kChords[] = {
    { 0, L"U", L"[1] Unison", { 0 }, 400 },
    { 1, L"m2", L"[2] Minor 2nd", { 0, 1 }, 316 },
    { 38, L"M2", L"[2] Major 2nd", { 0, 2 }, 310 },
    { 2, L"m3", L"[2] Minor 3rd", { 0, 3 }, 302 },
    { 3, L"M3", L"[2] Major 3rd", { 0, 4 }, 301 },
    { 4, L"P4", L"[2] Perfect 4th", { 0, 5 }, 304 },
    { 31, L"d5", L"[2] Diminished 5th", { 0, 6 }, 311 },
    { 5, L"P5", L"[2] Perfect 5th", { 0, 7 }, 303 },
    { 32, L"m6", L"[2] Minor 6th", { 0, 8 }, 312 },
    { 33, L"M6", L"[2] Major 6th", { 0, 9 }, 313 },
    { 34, L"_m7", L"[2] Minor 7th", { 0, 10 }, 314 },
    { 35, L"_M7", L"[2] Major 7th", { 0, 11 }, 315 },
    { 6, L"M", L"[3] Major", { 0, 4, 7 }, 201 },
    { 7, L"m", L"[3] Minor", { 0, 3, 7 }, 202 },
    { 8, L"dim", L"[3] Diminished", { 0, 3, 6 }, 203 },
    { 9, L"aug", L"[3] Augmented", { 0, 4, 8 }, 204 },
    { 10, L"b5", L"[3] Flat 5th", { 0, 4, 6 }, 205 },
    { 11, L"sus2", L"[3] Sus 2nd", { 0, 2, 7 }, 206 },
    { 12, L"sus4", L"[3] Sus 4th", { 0, 5, 7 }, 207 },
    { 36, L"sus4#5", L"[3] Sus 4th sharp 5th", { 0, 5, 8 }, 208 },
    { 37, L"add4no5", L"[3] Add 4th no 5th", { 0, 3, 5 }, 209 },
    { 13, L"M7", L"[4] Major 7th", { 0, 4, 7, 11 }, 102 },
    { 14, L"m7", L"[4] Minor 7th", { 0, 3, 7, 10 }, 103 },
    { 15, L"7", L"[4] Dominant 7th", { 0, 4, 7, 10 }, 104 },
    { 16, L"dim7", L"[4] Diminished 7th", { 0, 3, 6, 9 }, 105 },
    { 17, L"m7b5", L"[4] Half-diminished 7th", { 0, 3, 6, 10 }, 106 },
    { 18, L"aug7", L"[4] Augmented 7th", { 0, 4, 8, 10 }, 107 },
    { 19, L"m/M7", L"[4] Minor Major 7th", { 0, 3, 7, 11 }, 108 },
    { 20, L"M7#5", L"[4] Major 7th sharp 5th", { 0, 4, 8, 11 }, 109 },
    { 21, L"M7sus4", L"[4] Major 7th sus 4th", { 0, 5, 7, 11 }, 110 },
    { 22, L"m7#5", L"[4] Minor 7th sharp 5th", { 0, 3, 8, 10 }, 111 },
    { 23, L"7b5", L"[4] Dominant 7th flat 5th", { 0, 4, 6, 10 }, 112 },
    { 24, L"7add6", L"[4] Dominant 7th add 6th", { 0, 4, 9, 10 }, 113 },
    { 25, L"7sus4", L"[4] Dominant 7th sus 4th", { 0, 5, 7, 10 }, 114 },
    { 26, L"M6", L"[4] Major 6th", { 0, 4, 7, 9 }, 115 },
    { 27, L"M6sus4", L"[4] Major 6th sus 4th", { 0, 5, 7, 9 }, 116 },
    { 28, L"m6", L"[4] Minor 6th", { 0, 3, 7, 9 }, 117 },
    { 29, L"Madd9", L"[4] Major add 9th", { 0, 2, 4, 7 }, 118 },
    { 30, L"madd9", L"[4] Minor add 9th", { 0, 2, 3, 7 }, 119 },
};
} // namespace

TEST_F(ZylChordDomainTest, ListsTheChordsWithTheirOwnIdsIntervalsAndRanks)
{
    ASSERT_EQ(chords().getValues().size(), std::size(kChords));
    for (size_t i = 0; i < std::size(kChords); ++i)
    {
        const auto& c = kChords[i];
        SCOPED_TRACE(c.label);
        const auto* chord = at<ZylChordValue>(chords(), i);
        EXPECT_EQ(chord->getId(), c.id);
        EXPECT_EQ(chord->getName(), c.name);
        EXPECT_EQ(chord->getLabel(), c.label);
        EXPECT_EQ(chord->intervals, c.intervals);
        EXPECT_EQ(chord->rank, c.rank);
        EXPECT_EQ(chord->getCode(), 0);
        EXPECT_EQ(chord->getDescription(), L"The chord " + std::wstring(c.label)
                                               + L" is defined by the intervals "
                                               + formatIntVector(&c.intervals));
        // The bracketed number is the note count; every chord is in root position within an
        // octave.
        EXPECT_EQ(std::wstring(c.label).substr(1, 1), std::to_wstring(c.intervals.size()));
        EXPECT_TRUE(std::is_sorted(chord->intervals.begin(), chord->intervals.end()));
        EXPECT_EQ(chord->intervals.front(), 0);
        EXPECT_LT(chord->intervals.back(), 12);
    }
    EXPECT_EQ(at(chords(), 12)->getDescription(),
              L"The chord [3] Major is defined by the intervals [0 4 7]");
}

// Programs store chords by id, so a stored id must always restore the same chord, wherever it
// sits in the list and whatever its (not unique) name.
TEST_F(ZylChordDomainTest, StoredIdsFindTheirChords)
{
    struct Case
    {
        int id;
        const wchar_t* label;
        size_t position;
    };
    const Case cases[] = {
        { 0, L"[1] Unison", 0 },          { 1, L"[2] Minor 2nd", 1 },
        { 38, L"[2] Major 2nd", 2 },      { 31, L"[2] Diminished 5th", 6 },
        { 6, L"[3] Major", 12 },          { 33, L"[2] Major 6th", 9 },
        { 26, L"[4] Major 6th", 34 },     { 32, L"[2] Minor 6th", 8 },
        { 28, L"[4] Minor 6th", 36 },     { 30, L"[4] Minor add 9th", 38 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        const ZylValue* chord = chords().findById(c.id);
        ASSERT_NE(chord, nullptr);
        EXPECT_EQ(chord->getLabel(), c.label);
        EXPECT_EQ(chord->getIndex(), static_cast<int>(c.position));
    }
    EXPECT_EQ(chords().findById(39), nullptr);
    EXPECT_EQ(chords().findById(-1), nullptr);
}

TEST_F(ZylChordDomainTest, FilterValuesCarryTheirGroupTagAsIdAndCode)
{
    struct Case
    {
        int tag;
        const wchar_t* name;
        const wchar_t* label;
        const wchar_t* description;
    };
    const Case cases[] = {
        { 0, L"All", L"All", L"" },
        { 7, L"Monads", L"Monads", L"Monads or single notes" },
        { 1, L"Dyads", L"Dyads", L"Dyads or 2-note intervals" },
        { 2, L"Triads", L"Triads", L"Triads or 3-note chords" },
        { 3, L"7ths", L"Sevenths", L"Sevenths or 4-note chords" },
        { 4, L"<=Dyads", L"Up to dyads", L"Dyads (2-note intervals) or smaller" },
        { 5, L"<=Triads", L"Up to triads", L"Triads (3-note chords) or smaller" },
        { 6, L"<=7ths", L"Up to sevenths", L"Sevenths (4-note chords) or smaller" },
        { 8, L"DyadsMor", L"Dyads (more)", L"More dyads or 2-note intervals" },
        { 9, L"TriadsMo", L"Triads (more)", L"More triads or 3-note intervals" },
    };
    ASSERT_EQ(filters().getValues().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        SCOPED_TRACE(i);
        const ZylValue* filter = at(filters(), i);
        EXPECT_EQ(filter->getId(), cases[i].tag);
        EXPECT_EQ(filter->getCode(), cases[i].tag);
        EXPECT_EQ(filter->getName(), cases[i].name);
        EXPECT_EQ(filter->getLabel(), cases[i].label);
        EXPECT_EQ(filter->getDescription(), cases[i].description);
    }
    EXPECT_EQ(filters().findById(7)->getIndex(), 1);
}

TEST_F(ZylChordDomainTest, TagsSortTheChordsIntoTheFilterGroups)
{
    using Names = std::vector<std::wstring>;
    const Names dyads = { L"m2", L"M2", L"m3", L"M3", L"P4", L"P5" };
    const Names upToDyads = { L"U", L"M2", L"m3", L"M3", L"P4", L"P5" };
    const Names moreDyads = { L"m2", L"M2", L"m3", L"M3", L"P4", L"d5",
                              L"P5", L"m6", L"M6", L"_m7", L"_M7" };
    const Names triads = { L"M", L"m", L"dim", L"aug", L"b5", L"sus2", L"sus4" };
    Names moreTriads = triads;
    moreTriads.insert(moreTriads.end(), { L"sus4#5", L"add4no5" });
    Names sevenths;
    for (size_t i = 21; i < 39; ++i)
        sevenths.push_back(kChords[i].name);
    Names upToTriads = upToDyads;
    upToTriads.insert(upToTriads.end(), triads.begin(), triads.end());
    Names upToSevenths = upToTriads;
    upToSevenths.insert(upToSevenths.end(), sevenths.begin(), sevenths.end());

    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kMonads), Names { L"U" });
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kDyads), dyads);
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kUpToDyads), upToDyads);
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kMoreDyads), moreDyads);
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kTriads), triads);
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kMoreTriads), moreTriads);
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kSevenths), sevenths);
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kUpToTriads).size(), 13u);
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kUpToTriads), upToTriads);
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kUpToSevenths).size(), 31u);
    EXPECT_EQ(namesWithTag(ZylChordFilterDomain::kUpToSevenths), upToSevenths);
    EXPECT_TRUE(namesWithTag(ZylChordFilterDomain::kAll).empty());
}

// The chord parameter sees the chords through a filtered view whose tag is the current filter
// value's code.
TEST_F(ZylChordDomainTest, AFilteredViewOffersTheChordsOfTheChosenGroup)
{
    ZylChordDomain ownChords(nullptr);
    ZylFilteredLinkDomain view(&ownChords);
    const ZylChordFilterDomain& groups = filters();

    view.setFilterTag(groups.findByName(L"<=Dyads")->getCode());
    EXPECT_EQ(namesOf(view.getValues()),
              (std::vector<std::wstring> { L"U", L"M2", L"m3", L"M3", L"P4", L"P5" }));
    EXPECT_EQ(view.getDefaultValue()->getName(), L"U");

    view.setFilterTag(groups.findByName(L"Triads")->getCode());
    EXPECT_EQ(view.getValues().size(), 7u);
    EXPECT_EQ(view.getDefaultValue()->getLabel(), L"[3] Major");
    // A stored id outside the group is still found in the full vocabulary.
    EXPECT_EQ(view.findById(1)->getLabel(), L"[2] Minor 2nd");

    view.setFilterTag(groups.getDefaultValue()->getCode());
    EXPECT_EQ(view.getValues().size(), 39u);
    EXPECT_EQ(view.getDefaultValue(), ownChords.getDefaultValue());
}
