#pragma once

#include "framework/ZylIntVector.h"
#include "framework/ZylRealDomain.h"
#include "framework/ZylValue.h"

#include <cstdint>
#include <string>

class ZylSpaceDomainSet;

// A chord in root position: semitones from the root, ascending, starting with 0, all below 12.
// Its filter groups are the value's tags (hasTag); a lower rank is preferred when chords are
// ranked by rank. Unlike the other space vocabularies the value keeps the id it is given.
class ZylChordValue : public ZylValue
{
public:
    ZylChordValue(ZylRealDomain* domain, int id, float position, double data,
                  const std::wstring& name, const std::wstring& label,
                  const std::wstring& description, ZylIntVector intervals,
                  const ZylIntVector& tags, std::int32_t rank);
    ~ZylChordValue() override;

    const ZylIntVector intervals;
    const std::int32_t rank;

    JUCE_DECLARE_NON_COPYABLE(ZylChordValue)
};

// The 39 chords, the unison first and default. Each chord carries an id of its own, which is
// what programs store; the ids are not list positions.
class ZylChordDomain : public ZylRealDomain
{
public:
    // The major second was added after ids 0 to 37 were given out, so it has the next free one.
    static constexpr int kMajorSecondId = 38;

    explicit ZylChordDomain(ZylSpaceDomainSet* owner);
    ~ZylChordDomain() override;

    std::wstring getShortName() const override;
    std::wstring getDescription() const override;

    JUCE_DECLARE_NON_COPYABLE(ZylChordDomain)
};
