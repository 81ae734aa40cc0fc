#include "space/ZylKeyDomain.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylScaleNoteTable.h"
#include "tests/space/ZylSpaceVocabularyFixture.h"

#include <algorithm>

namespace
{
class ZylScaleNoteTableTest : public ZylSpaceVocabularyFixture
{
protected:
    static void SetUpTestSuite()
    {
        ZylSpaceVocabularyFixture::SetUpTestSuite();
        table = std::make_unique<ZylScaleNoteTable>(set().getScaleDomain(), set().getKeyDomain());
    }
    static void TearDownTestSuite()
    {
        table.reset();
        ZylSpaceVocabularyFixture::TearDownTestSuite();
    }

    static const ZylScaleValue* scale(const wchar_t* name)
    {
        auto* value = dynamic_cast<const ZylScaleValue*>(set().getScaleDomain()->findByName(name));
        EXPECT_NE(value, nullptr) << "no scale named " << juce::String(name);
        return value;
    }
    static const ZylKeyValue* key(const wchar_t* name)
    {
        auto* value = dynamic_cast<const ZylKeyValue*>(set().getKeyDomain()->findByName(name));
        EXPECT_NE(value, nullptr) << "no key named " << juce::String(name);
        return value;
    }

    // The scale's notes in interval order, as the table names them, separated by blanks.
    static std::wstring spelled(const ZylScaleValue* s, const ZylKeyValue* k)
    {
        std::wstring text;
        for (const int interval : s->intervals)
        {
            if (!text.empty())
                text += L' ';
            text += table->getPitchName(k->rootPitchClass() + interval, s, k);
        }
        return text;
    }

    static inline std::unique_ptr<ZylScaleNoteTable> table;
};
} // namespace

TEST_F(ZylScaleNoteTableTest, ReservesBitsForEachFieldAndPacksThemByKeyAndScaleShifts)
{
    EXPECT_EQ(ZylScaleNoteTable::bitsFor(12), 5);
    EXPECT_EQ(ZylScaleNoteTable::bitsFor(18), 6);
    EXPECT_EQ(ZylScaleNoteTable::bitsFor(21), 6);
    EXPECT_EQ(ZylScaleNoteTable::bitsFor(1), 1);
    EXPECT_EQ(ZylScaleNoteTable::bitsFor(0), 1);
    EXPECT_EQ(table->getPitchClassBits(), 5);
    EXPECT_EQ(table->getKeyBits(), 6);
    EXPECT_EQ(table->getScaleBits(), 6);
    EXPECT_EQ(table->getKeyShift(), 6);
    EXPECT_EQ(table->getScaleShift(), 12);
    EXPECT_EQ(table->getNumEntries(), 131072u);
}

// Every (scale, key) pair must get its own entries: membership is checked against the scale's
// intervals for all 21 x 18 x 12 combinations, and a name exists exactly for the members.
TEST_F(ZylScaleNoteTableTest, MembershipAndNamesMatchEveryScaleInEveryKey)
{
    for (const auto* scaleValue : set().getScaleDomain()->getValues())
        for (const auto* keyValue : set().getKeyDomain()->getValues())
        {
            const auto* s = static_cast<const ZylScaleValue*>(scaleValue);
            const auto* k = static_cast<const ZylKeyValue*>(keyValue);
            for (int pc = 0; pc < 12; ++pc)
            {
                const bool member = std::any_of(
                    s->intervals.begin(), s->intervals.end(),
                    [&](int i) { return (k->rootPitchClass() + i) % 12 == pc; });
                ASSERT_EQ(table->contains(pc, s, k), member)
                    << juce::String(s->getName().c_str()) << " in "
                    << juce::String(k->getName().c_str()) << ", pitch class " << pc;
                ASSERT_EQ(table->getPitchName(pc, s, k).empty(), !member);
                ASSERT_EQ(table->contains(pc + 60, s, k), member);
            }
        }
    // With the defaults (Chromatic, C) every pitch class belongs to the scale.
    const auto* chromatic =
        static_cast<const ZylScaleValue*>(set().getScaleDomain()->getDefaultValue());
    const auto* c = static_cast<const ZylKeyValue*>(set().getKeyDomain()->getDefaultValue());
    for (int note = 0; note < 128; ++note)
        EXPECT_TRUE(table->contains(note, chromatic, c)) << note;
}

TEST_F(ZylScaleNoteTableTest, SpellsScalesWithTheLettersAndAccidentalsOfTheirKey)
{
    struct Case
    {
        const wchar_t* scale;
        const wchar_t* key;
        const wchar_t* notes;
    };
    const Case cases[] = {
        { L"Major", L"C", L"C D E F G A B" },
        { L"Major", L"F", L"F G A Bb C D E" },
        { L"Major", L"D", L"D E F# G A B C#" },
        { L"Major", L"F#", L"F# G# A# B C# D# E#" },
        { L"Major", L"Gb", L"Gb Ab Bb Cb Db Eb F" },
        { L"Major", L"C#", L"C# D# E# F# G# A# B#" },
        { L"Major", L"Db", L"Db Eb F Gb Ab Bb C" },
        { L"Minor", L"Eb", L"Eb F Gb Ab Bb Cb Db" },
        { L"Minor", L"A", L"A B C D E F G" },
        // The letter rule outweighs the fifths distance: G# rather than the nearer Ab.
        { L"Harm Min", L"A", L"A B C D E F G#" },
        { L"Persian", L"C", L"C Db E F Gb Ab B" },
        // No double flat is among the spellings, so the fourth degree falls back to A and the
        // letter rule then continues with B.
        { L"Major", L"Fb", L"Fb Gb Ab A B Db Eb" },
        // Six tones: no letter rule, only the distance on the line of fifths.
        { L"Whole", L"C", L"C D E F# G# A#" },
        { L"Whole", L"Ab", L"Ab Bb C D E Gb" },
        // A natural key excludes neither sharps nor flats.
        { L"Blues He", L"C", L"C Eb F Gb G Bb" },
        // The twelve-tone scale is always spelled with sharps.
        { L"Chroma", L"Bb", L"A# B C C# D D# E F F# G G# A" },
        { L"Chroma", L"Db", L"C# D D# E F F# G G# A A# B C" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(spelled(scale(c.scale), key(c.key)), c.notes)
            << juce::String(c.scale) << " in " << juce::String(c.key);

    for (const auto* keyValue : set().getKeyDomain()->getValues())
        EXPECT_EQ(table->getPitchName(1, scale(L"Chroma"),
                                      static_cast<const ZylKeyValue*>(keyValue)),
                  L"C#");
}

TEST_F(ZylScaleNoteTableTest, NoteNamesAddTheOctaveOnlyToNotesInTheScale)
{
    const auto* major = scale(L"Major");
    const auto* c = key(L"C");
    struct Case
    {
        int note;
        bool withOctave;
        const wchar_t* name;
    };
    const Case cases[] = {
        { 60, true, L"C4" },  { 60, false, L"C" }, { 0, true, L"C-1" }, { 127, true, L"G9" },
        { 71, true, L"B4" },  { 61, true, L"" },   { 61, false, L"" },  { 128, true, L"" },
        { -1, true, L"" },    { -12, false, L"" },
    };
    for (const auto& cs : cases)
        EXPECT_EQ(table->getNoteName(cs.note, major, c, cs.withOctave), cs.name) << cs.note;
    EXPECT_EQ(table->getNoteName(66, scale(L"Major"), key(L"D"), true), L"F#4");
    EXPECT_EQ(table->getNoteName(66, scale(L"Major"), key(L"Db"), true), L"Gb4");
    EXPECT_EQ(table->getPitchName(1, major, c), L"");
}

TEST_F(ZylScaleNoteTableTest, NullScaleOrKeyReadsAsOutsideAnyScale)
{
    const auto* major = scale(L"Major");
    const auto* c = key(L"C");
    EXPECT_FALSE(table->contains(60, major, nullptr));
    EXPECT_FALSE(table->contains(60, nullptr, c));
    EXPECT_EQ(table->getPitchName(0, nullptr, c), L"");
    EXPECT_EQ(table->getNoteName(60, major, nullptr, true), L"");
}

// A negative pitch reads the entry of its pitch class instead of memory before the table, and a
// value the table was not built for (an id past the packed range) reads as outside the scale.
TEST_F(ZylScaleNoteTableTest, NegativePitchesAndForeignIdsStayInsideTheTable)
{
    const auto* lydian = scale(L"Lydian");
    const auto* major = scale(L"Major");
    const auto* c = key(L"C");
    EXPECT_TRUE(table->contains(-6, lydian, c));
    EXPECT_FALSE(table->contains(-11, major, c));
    EXPECT_EQ(table->getPitchName(-1, major, c), L"B");
    EXPECT_EQ(table->getPitchName(-13, major, c), L"B");

    ZylScaleValue farScale(nullptr, 0, 0.0f, 0.0, L"Far", L"Far", L"", { 0, 2, 4 });
    farScale.setId(40);
    ZylKeyValue farKey(nullptr, 0, 0.0f, 0.0, L"Far", L"Far", L"", 0, ZylKeyValue::kNatural);
    farKey.setId(64);
    EXPECT_FALSE(table->contains(0, &farScale, c));
    EXPECT_EQ(table->getPitchName(0, &farScale, c), L"");
    EXPECT_FALSE(table->contains(0, major, &farKey));
    farKey.setId(-1);
    EXPECT_FALSE(table->contains(0, major, &farKey));
}

TEST_F(ZylScaleNoteTableTest, DegreesCountTheScaleIntervalsFromOne)
{
    const auto* major = scale(L"Major");
    const auto* c = key(L"C");
    EXPECT_EQ(getDegreeName(67, major, c), L"V");
    EXPECT_EQ(getDegreeName(66, major, c), L"");
    EXPECT_EQ(getDegreeName(-1, major, c), L"VII");
    EXPECT_EQ(getDegreeIndex(11, major, c), 7);
    EXPECT_EQ(getDegreeIndex(1, major, c), 0);
    EXPECT_EQ(getDegreeIndex(2, major, key(L"D")), 1);
    EXPECT_EQ(getDegreeIndex(1, major, key(L"D")), 7);
    EXPECT_EQ(getPitchClassDegreeName(9, scale(L"Maj&Min"), key(L"G")), L"II");

    // Without a scale or key every pitch class is its own degree.
    EXPECT_EQ(getDegreeIndex(5, nullptr, c), 6);
    EXPECT_EQ(getPitchClassDegreeName(0, major, nullptr), L"I");
    EXPECT_EQ(getPitchClassDegreeName(11, nullptr, nullptr), L"XII");
    // A pitch passed where a pitch class is expected still names a degree from I to XII.
    EXPECT_EQ(getPitchClassDegreeName(12, nullptr, nullptr), L"I");
    EXPECT_EQ(getPitchClassDegreeName(-1, nullptr, nullptr), L"XII");
}

TEST_F(ZylScaleNoteTableTest, FindsNamesOnTheLineOfFifths)
{
    struct Case
    {
        const wchar_t* name;
        int index;
    };
    const Case cases[] = {
        { L"Fbb", 0 }, { L"Fb", 7 }, { L"C", 15 }, { L"F#", 21 }, { L"B##", 34 },
        { L"c", -1 },  { L"H", -1 }, { L"", -1 },  { L"C#b", -1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(fifthsIndexOfNoteName(c.name), c.index) << juce::String(c.name);
}

TEST_F(ZylScaleNoteTableTest, EmptyDomainsGiveATableThatContainsNothing)
{
    const ZylScaleNoteTable empty(nullptr, nullptr);
    EXPECT_FALSE(empty.contains(0, scale(L"Major"), key(L"C")));
    EXPECT_EQ(empty.getNoteName(60, scale(L"Major"), key(L"C"), true), L"");
}
