#pragma once

#include "framework/ZylRealDomain.h"
#include "framework/ZylValue.h"

#include <cstdint>
#include <string>

class ZylSpaceDomainSet;

// A key: the pitch class of its letter (C = 0, D = 2 ... B = 11) and its accidental (-1 flat,
// 0 none, +1 sharp). Enharmonic keys are separate values because the accidental decides whether
// notes are spelled with sharps or flats. The id given at construction is not kept.
class ZylKeyValue : public ZylValue
{
public:
    static constexpr int kFlat = -1;
    static constexpr int kNatural = 0;
    static constexpr int kSharp = 1;

    ZylKeyValue(ZylRealDomain* domain, int id, float position, double data,
                const std::wstring& name, const std::wstring& label,
                const std::wstring& description, std::int32_t natural, std::int32_t accidental);
    ~ZylKeyValue() override;

    // The pitch class the key starts on, 0..11 (also for a flat on C).
    int rootPitchClass() const;

    const std::int32_t natural;
    const std::int32_t accidental;

    JUCE_DECLARE_NON_COPYABLE(ZylKeyValue)
};

// The 18 keys, C first and default. Ids are list positions and are stored in programs.
class ZylKeyDomain : public ZylRealDomain
{
public:
    explicit ZylKeyDomain(ZylSpaceDomainSet* owner);
    ~ZylKeyDomain() override;

    std::wstring getShortName() const override;
    std::wstring getDescription() const override;

    // The key of C, which the note mapping from C major starts from.
    ZylKeyValue* getCValue() const noexcept { return cKey; }

private:
    ZylKeyValue* cKey = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylKeyDomain)
};
