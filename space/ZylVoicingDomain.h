#pragma once

#include "framework/ZylIntVector.h"
#include "framework/ZylRealDomain.h"
#include "framework/ZylValue.h"

#include <memory>
#include <string>

class ZylSpaceDomainSet;

// A voicing moves chord notes by whole octaves. Both lists are semitone offsets. offsets[i] is
// added to note i in chord order while i is below its length; further notes stay. When
// afterSort is present the notes are then sorted ascending and sorted note i gets afterSort[i]
// in the same way. The id given at construction is not kept.
class ZylVoicingValue : public ZylValue
{
public:
    // afterSort may be null.
    ZylVoicingValue(ZylRealDomain* domain, int id, float position, double data,
                    const std::wstring& name, const std::wstring& label,
                    const std::wstring& description, ZylIntVector offsets,
                    std::unique_ptr<ZylIntVector> afterSort);
    ~ZylVoicingValue() override;

    const ZylIntVector offsets;
    const std::unique_ptr<const ZylIntVector> afterSort;

    JUCE_DECLARE_NON_COPYABLE(ZylVoicingValue)
};

// The 25 voicings, "Root" first and default. Ids are list positions and are stored in programs.
class ZylVoicingDomain : public ZylRealDomain
{
public:
    explicit ZylVoicingDomain(ZylSpaceDomainSet* owner);
    ~ZylVoicingDomain() override;

    std::wstring getShortName() const override;
    std::wstring getDescription() const override;

    JUCE_DECLARE_NON_COPYABLE(ZylVoicingDomain)
};
