#include "space/ZylKeyDomain.h"
#include "space/ZylScaleDomain.h"
#include "tests/space/ZylSpaceVocabularyFixture.h"

namespace
{
class ZylScaleDomainTest : public ZylSpaceVocabularyFixture
{
};

class ZylKeyDomainTest : public ZylSpaceVocabularyFixture
{
};
} // namespace

TEST_F(ZylScaleDomainTest, ListsTheScalesWithTheirIntervals)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* label;
        ZylIntVector intervals;
    };
    const Case cases[] = {
        { L"Chroma", L"Chromatic", { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 } },
        { L"Major", L"Major (Ionian)", { 0, 2, 4, 5, 7, 9, 11 } },
        { L"Dorian", L"Dorian", { 0, 2, 3, 5, 7, 9, 10 } },
        { L"Phrygian", L"Phrygian", { 0, 1, 3, 5, 7, 8, 10 } },
        { L"Lydian", L"Lydian", { 0, 2, 4, 6, 7, 9, 11 } },
        { L"Mixolydn", L"Mixolydian", { 0, 2, 4, 5, 7, 9, 10 } },
        { L"Minor", L"Minor (Aeolian)", { 0, 2, 3, 5, 7, 8, 10 } },
        { L"Locrian", L"Locrian", { 0, 1, 3, 5, 6, 8, 10 } },
        { L"Whole", L"Whole tones", { 0, 2, 4, 6, 8, 10 } },
        { L"Harm Min", L"Harmonic Minor", { 0, 2, 3, 5, 7, 8, 11 } },
        { L"Mel Min", L"Melodic Minor", { 0, 2, 3, 5, 7, 9, 11 } },
        { L"Maj Pent", L"Major Pentatonic", { 0, 2, 4, 7, 9 } },
        { L"Min Pent", L"Minor Pentatonic", { 0, 3, 5, 7, 10 } },
        { L"Blues He", L"Blues Hexatonic", { 0, 3, 5, 6, 7, 10 } },
        { L"Maj&Dor", L"Major & Dorian", { 0, 2, 5, 7, 9 } },
        { L"Maj&HMi", L"Major & Harm.Minor", { 0, 2, 5, 7, 11 } },
        { L"Maj&Min", L"Major & Minor", { 0, 2, 5, 7 } },
        { L"Lyd b7", L"Lydian Flat-7", { 0, 2, 4, 6, 7, 9, 10 } },
        { L"Persian", L"Persian", { 0, 1, 4, 5, 6, 8, 11 } },
        { L"Persia2", L"Persian 2", { 0, 1, 4, 5, 7, 8, 11 } },
        { L"Hindu", L"Hindu", { 0, 1, 4, 5, 7, 8, 10 } },
    };
    const auto& scales = *set().getScaleDomain();
    ASSERT_EQ(scales.getValues().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        SCOPED_TRACE(i);
        const auto* scale = at<ZylScaleValue>(scales, i);
        EXPECT_EQ(scale->getId(), static_cast<int>(i));
        EXPECT_EQ(scale->getName(), cases[i].name);
        EXPECT_EQ(scale->getLabel(), cases[i].label);
        EXPECT_EQ(scale->intervals, cases[i].intervals);
        EXPECT_EQ(scale->getDescription(), L"The " + std::wstring(cases[i].label)
                                               + L" scale consists of the intervals "
                                               + formatIntVector(&cases[i].intervals));
    }
    EXPECT_EQ(at(scales, 1)->getDescription(),
              L"The Major (Ionian) scale consists of the intervals [0 2 4 5 7 9 11]");
    EXPECT_EQ(at(scales, 0)->getDescription(),
              L"The Chromatic scale consists of the intervals [0 1 2 3 4 5 6 7 8 9 10 11]");
}

TEST_F(ZylKeyDomainTest, ListsEighteenKeysWithEnharmonicPairs)
{
    struct Case
    {
        const wchar_t* name;
        int natural;
        int accidental;
        int root;
    };
    const Case cases[] = {
        { L"C", 0, 0, 0 },   { L"C#", 0, 1, 1 },  { L"Db", 2, -1, 1 },  { L"D", 2, 0, 2 },
        { L"D#", 2, 1, 3 },  { L"Eb", 4, -1, 3 }, { L"E", 4, 0, 4 },    { L"Fb", 5, -1, 4 },
        { L"F", 5, 0, 5 },   { L"F#", 5, 1, 6 },  { L"Gb", 7, -1, 6 },  { L"G", 7, 0, 7 },
        { L"G#", 7, 1, 8 },  { L"Ab", 9, -1, 8 }, { L"A", 9, 0, 9 },    { L"A#", 9, 1, 10 },
        { L"Bb", 11, -1, 10 }, { L"B", 11, 0, 11 },
    };
    const auto& keys = *set().getKeyDomain();
    ASSERT_EQ(keys.getValues().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        SCOPED_TRACE(i);
        const auto* key = at<ZylKeyValue>(keys, i);
        EXPECT_EQ(key->getId(), static_cast<int>(i));
        EXPECT_EQ(key->getName(), cases[i].name);
        EXPECT_EQ(key->getLabel(), cases[i].name);
        EXPECT_EQ(key->natural, cases[i].natural);
        EXPECT_EQ(key->accidental, cases[i].accidental);
        EXPECT_EQ(key->rootPitchClass(), cases[i].root);
        EXPECT_EQ(key->getDescription(), L"The key of " + std::wstring(cases[i].name)
                                             + L" starts at pitch class "
                                             + std::to_wstring(cases[i].root));
    }
    EXPECT_EQ(at(keys, 7)->getDescription(), L"The key of Fb starts at pitch class 4");
    for (const wchar_t* missing : { L"Cb", L"E#", L"B#" })
        EXPECT_EQ(keys.findByName(missing), nullptr) << missing;
}

TEST_F(ZylKeyDomainTest, RootPitchClassStaysInRangeForAFlatOnC)
{
    ZylKeyValue cFlat(nullptr, 0, 0.0f, 0.0, L"Cb", L"Cb", L"", 0, ZylKeyValue::kFlat);
    EXPECT_EQ(cFlat.rootPitchClass(), 11);
    ZylKeyValue bSharp(nullptr, 0, 0.0f, 0.0, L"B#", L"B#", L"", 11, ZylKeyValue::kSharp);
    EXPECT_EQ(bSharp.rootPitchClass(), 0);
}
