#include "space/ZylIntCounter.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace
{
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
}

TEST(ZylIntCounter, StepsFromResetTouchingOnlyOnChange)
{
    enum Step { Reset, Cycle, Random };
    struct Case
    {
        const char* name;
        std::int32_t min, max;
        std::vector<Step> steps;
        std::int32_t value, next;
        int touches; // after construction
    };
    const Case cases[] = {
        { "new", 0, kMax, {}, -1, 0, 0 },
        { "cycle once", 0, kMax, { Cycle }, 0, 1, 1 },
        { "cycle thrice", 0, kMax, { Cycle, Cycle, Cycle }, 2, 3, 3 },
        { "reset after cycle", 0, kMax, { Cycle, Reset }, -1, 0, 2 },
        { "reset when reset", 0, kMax, { Reset }, -1, 0, 0 },
        { "cycle wraps at max", 0, 2, { Cycle, Cycle, Cycle }, 2, 0, 3 },
        { "cycle past max", 0, 2, { Cycle, Cycle, Cycle, Cycle }, 0, 1, 4 },
        { "min above zero", 3, 4, { Cycle }, 3, 4, 1 },
        { "min above zero wraps", 3, 4, { Cycle, Cycle, Cycle }, 3, 4, 3 },
        { "single value", 0, 0, { Cycle, Cycle }, 0, 0, 1 },
        { "random with one choice", 0, 1, { Random, Random, Random }, 0, 0, 1 },
    };

    for (const auto& k : cases)
    {
        ZylIntCounter counter(k.min, k.max);
        counter.setRandomState(0);
        const int start = counter.getTime();
        for (Step s : k.steps)
        {
            if (s == Reset)
                counter.reset();
            else if (s == Cycle)
                counter.stepCycle();
            else
                counter.stepRandom();
        }
        EXPECT_EQ(counter.getValue(), k.value) << k.name;
        EXPECT_EQ(counter.getNext(), k.next) << k.name;
        EXPECT_EQ(counter.getTime() - start, k.touches) << k.name;
    }
}

TEST(ZylIntCounter, ConstructionResetsAndTouchesOnce)
{
    const ZylIntCounter counter;
    EXPECT_EQ(counter.getMin(), 0);
    EXPECT_EQ(counter.getMax(), kMax);
    EXPECT_EQ(counter.getTime(), 1);
    EXPECT_TRUE(counter.hasChanged());
    EXPECT_EQ(counter.getValue(), -1);
    EXPECT_EQ(counter.getNext(), 0);
}

TEST(ZylIntCounter, RandomDrawsFollowTheLinearCongruentialSequence)
{
    // From state 0 the generator gives 11, 277363943098, ...; the draws are the top 32 of the 48
    // bits scaled to 0..max - 1.
    ZylIntCounter counter;
    counter.setRandomState(0);
    counter.stepRandom(); // value and next both drawn
    EXPECT_EQ(counter.getValue(), 0);
    EXPECT_EQ(counter.getNext(), 2116118);
    counter.stepRandom(); // value takes the preview, next is drawn
    EXPECT_EQ(counter.getValue(), 2116118);
    EXPECT_EQ(counter.getNext(), 89401894);
    counter.stepRandom();
    EXPECT_EQ(counter.getValue(), 89401894);
    EXPECT_EQ(counter.getNext(), 379337185);
    counter.reset();
    counter.stepRandom(); // a fresh draw after the reset, not the old preview
    EXPECT_EQ(counter.getValue(), 782977365);

    ZylIntCounter small(0, 10);
    small.setRandomState(12345);
    std::vector<std::int32_t> values;
    for (int i = 0; i < 4; ++i)
    {
        small.stepRandom();
        values.push_back(small.getValue());
    }
    EXPECT_EQ(values, (std::vector<std::int32_t> { 1, 7, 0, 6 }));
}

TEST(ZylIntCounter, SameStartingStateGivesSameSequence)
{
    ZylIntCounter a(0, 1000);
    ZylIntCounter b(0, 1000);
    a.setRandomState(987654321);
    b.setRandomState(987654321);
    for (int i = 0; i < 200; ++i)
    {
        a.stepRandom();
        b.stepRandom();
        ASSERT_EQ(a.getValue(), b.getValue());
        ASSERT_EQ(a.getNext(), b.getNext());
        ASSERT_GE(a.getValue(), 0);
        ASSERT_LT(a.getValue(), 1000);
    }
    EXPECT_EQ(a.getRandomState(), b.getRandomState());
    EXPECT_LT(a.getRandomState(), std::uint64_t(1) << 48);
}
