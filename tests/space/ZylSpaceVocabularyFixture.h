#pragma once

#include "framework/ZylDomain.h"
#include "framework/ZylValue.h"
#include "space/ZylSpaceDomainSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Builds the ten space vocabularies once per test suite: the set lays out 50 grids, so every
// test of a suite shares one (read-only) instance.
class ZylSpaceVocabularyFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { vocabularies = std::make_unique<ZylSpaceDomainSet>(); }
    static void TearDownTestSuite() { vocabularies.reset(); }

    static ZylSpaceDomainSet& set() { return *vocabularies; }

    // The value of domain at list position i, cast to the vocabulary's value class.
    template <class ValueType = ZylValue>
    static ValueType* at(const ZylDomain& domain, size_t i)
    {
        auto* value = dynamic_cast<ValueType*>(domain.getValues().at(i));
        EXPECT_NE(value, nullptr) << "value " << i << " has the wrong class";
        return value;
    }

    static std::vector<std::wstring> namesOf(const ZylValueList& values)
    {
        std::vector<std::wstring> names;
        for (auto* value : values)
            names.push_back(value->getName());
        return names;
    }

    static inline std::unique_ptr<ZylSpaceDomainSet> vocabularies;
};
