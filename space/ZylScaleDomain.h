#pragma once

#include "framework/ZylIntVector.h"
#include "framework/ZylRealDomain.h"
#include "framework/ZylValue.h"

#include <string>

class ZylSpaceDomainSet;

// A scale: its pitch classes in semitones from its first tone, ascending and starting with 0.
// The id given at construction is not kept; the domain numbers its values by list position.
class ZylScaleValue : public ZylValue
{
public:
    ZylScaleValue(ZylRealDomain* domain, int id, float position, double data,
                  const std::wstring& name, const std::wstring& label,
                  const std::wstring& description, ZylIntVector intervals);
    ~ZylScaleValue() override;

    const ZylIntVector intervals;

    JUCE_DECLARE_NON_COPYABLE(ZylScaleValue)
};

// The 21 scales, Chromatic first and default. Ids are list positions and are stored in
// programs, so the list order belongs to the saved format.
class ZylScaleDomain : public ZylRealDomain
{
public:
    explicit ZylScaleDomain(ZylSpaceDomainSet* owner);
    ~ZylScaleDomain() override;

    std::wstring getShortName() const override;
    std::wstring getDescription() const override;

    // The major scale, which the note mapping from C major starts from.
    ZylScaleValue* getMajorValue() const noexcept { return major; }

private:
    ZylScaleValue* major = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylScaleDomain)
};
