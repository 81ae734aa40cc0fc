#include "framework/ZylHelpers.h"
#include "framework/ZylIntVector.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ZylHelpers, IntegerListBuilders)
{
    struct Case
    {
        std::unique_ptr<ZylIntVector> list;
        ZylIntVector expected;
    };
    Case cases[] = {
        { makeIntVector1(7), { 7 } },
        { makeIntVector2(0, 4), { 0, 4 } },
        { makeIntVector3(0, 4, 7), { 0, 4, 7 } },
        { makeIntVector4(0, 3, 6, 9), { 0, 3, 6, 9 } },
        { makeIntVector5(0, -12, 12, 24, 36), { 0, -12, 12, 24, 36 } },
        { makeIntVector7(0, 2, 4, 5, 7, 9, 11), { 0, 2, 4, 5, 7, 9, 11 } },
        { makeIntervalVector(4, 5, 9), { 0, 4, 5, 6, 9, 10 } },
        { makeChromaticVector(), { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 } },
    };
    for (const auto& c : cases)
    {
        ASSERT_NE(c.list, nullptr);
        EXPECT_EQ(*c.list, c.expected);
    }
}

TEST(ZylHelpers, FormatIntVector)
{
    const ZylIntVector empty;
    const ZylIntVector scale{ 0, 2, 4, 5, 7, 9, 11 };
    const ZylIntVector mixed{ -12, 0, 100 };
    EXPECT_EQ(formatIntVector(nullptr), L"[]");
    EXPECT_EQ(formatIntVector(&empty), L"[]");
    EXPECT_EQ(formatIntVector(makeIntVector3(0, 4, 7).get()), L"[0 4 7]");
    EXPECT_EQ(formatIntVector(&scale), L"[0 2 4 5 7 9 11]");
    EXPECT_EQ(formatIntVector(&mixed), L"[-12 0 100]");
}

TEST(ZylHelpers, TextConversions)
{
    std::wstring target = L"a longer previous text";
    assignNarrowToWide("2.5.544", target);
    EXPECT_EQ(target, L"2.5.544");
    assignNarrowToWide("", target);
    EXPECT_TRUE(target.empty());

    EXPECT_EQ(toStdWString(juce::String()), L"");
    const auto text = juce::String(juce::CharPointer_UTF8("Caf\xc3\xa9 \xe2\x99\xaa [4:7]"));
    EXPECT_EQ(toStdWString(text), L"Caf\u00e9 \u266a [4:7]");
}
