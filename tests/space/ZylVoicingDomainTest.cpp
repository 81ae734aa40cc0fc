#include "space/ZylVoicingDomain.h"
#include "tests/space/ZylSpaceVocabularyFixture.h"

namespace
{
class ZylVoicingDomainTest : public ZylSpaceVocabularyFixture
{
};
} // namespace

TEST_F(ZylVoicingDomainTest, ListsTheVoicingsWithTheirOctaveOffsets)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* label;
        ZylIntVector offsets;
        ZylIntVector afterSort; // empty: none
    };
    const Case cases[] = {
        { L"Root", L"Root position (closed)", { 0 }, {} },
        { L"1st inv", L"1st inversion (closed)", { 12 }, {} },
        { L"2nd inv", L"2nd inversion (closed)", { 12, 12 }, {} },
        { L"3rd inv", L"3rd inversion (closed)", { 12, 12, 12 }, {} },
        { L"4th inv", L"4th inversion (closed)", { 12, 12, 12, 12 }, {} },
        { L"Open", L"Root position (open)", { 0, 12 }, {} },
        { L"1st open", L"1st inversion (open)", { 12 }, { 0, 12 } },
        { L"2nd open", L"2nd inversion (open)", { 12, 12 }, { 0, 12 } },
        { L"3rd open", L"3rd inversion (open)", { 12, 12, 12 }, { 0, 12 } },
        { L"4th open", L"4th inversion (open)", { 12, 12, 12, 12 }, { 0, 12 } },
        { L"Open2", L"Root position (open 2)", { 0, 0, 12 }, {} },
        { L"1st opn2", L"1st inversion (open 2)", { 12 }, { 0, 0, 12 } },
        { L"2nd opn2", L"2nd inversion (open 2)", { 12, 12 }, { 0, 0, 12 } },
        { L"3rd opn2", L"3rd inversion (open 2)", { 12, 12, 12 }, { 0, 0, 12 } },
        { L"4th opn2", L"4th inversion (open 2)", { 12, 12, 12, 12 }, { 0, 0, 12 } },
        { L"Open3", L"Root position (open 3)", { 0, 12, 0, 12 }, {} },
        { L"1st opn3", L"1st inversion (open 3)", { 12 }, { 0, 12, 0, 12 } },
        { L"2nd opn3", L"2nd inversion (open 3)", { 12, 12 }, { 0, 12, 0, 12 } },
        { L"3rd opn3", L"3rd inversion (open 3)", { 12, 12, 12 }, { 0, 12, 0, 12 } },
        { L"4th opn3", L"4th inversion (open 3)", { 12, 12, 12, 12 }, { 0, 12, 0, 12 } },
        { L"Root-12", L"Root -12", { -12 }, {} },
        { L"Root-24", L"Root -24", { -24 }, {} },
        { L"Spread", L"Spread", { -12, 0, 0, 12, 24, 24, 24 }, {} },
        { L"Spread+", L"Spread+", { -24, -12, 0, 12, 24 }, {} },
        { L"Spread++", L"Spread++", { -24, -12, 12, 24, 36 }, {} },
    };
    const auto& voicings = *set().getVoicingDomain();
    ASSERT_EQ(voicings.getValues().size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const auto& c = cases[i];
        SCOPED_TRACE(c.name);
        const auto* voicing = at<ZylVoicingValue>(voicings, i);
        EXPECT_EQ(voicing->getId(), static_cast<int>(i));
        EXPECT_EQ(voicing->getName(), c.name);
        EXPECT_EQ(voicing->getLabel(), c.label);
        EXPECT_EQ(voicing->offsets, c.offsets);
        if (c.afterSort.empty())
        {
            EXPECT_EQ(voicing->afterSort, nullptr);
        }
        else
        {
            ASSERT_NE(voicing->afterSort, nullptr);
            EXPECT_EQ(*voicing->afterSort, c.afterSort);
        }
    }
}

TEST_F(ZylVoicingDomainTest, DescriptionsNameTheSecondStepOnlyWhenThereIsOne)
{
    const auto& voicings = *set().getVoicingDomain();
    EXPECT_EQ(at(voicings, 6)->getDescription(),
              L"The voicing 1st inversion (open) adds the following octaves to the chord: [12], "
              L"followed by adding following octaves to the result : [0 12]");
    EXPECT_EQ(at(voicings, 0)->getDescription(),
              L"The voicing Root position (closed) adds the following octaves to the chord: [0]");
    EXPECT_EQ(at(voicings, 22)->getDescription(),
              L"The voicing Spread adds the following octaves to the chord: "
              L"[-12 0 0 12 24 24 24]");
    for (const auto* value : voicings.getValues())
    {
        SCOPED_TRACE(value->getId());
        const bool hasSecondStep = static_cast<const ZylVoicingValue*>(value)->afterSort != nullptr;
        EXPECT_EQ(value->getDescription().find(L", followed by") != std::wstring::npos,
                  hasSecondStep);
    }
}
