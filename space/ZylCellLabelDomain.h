#pragma once

#include "framework/ZylRealDomain.h"
#include "framework/ZylValue.h"

#include <cstdint>
#include <string>

class ZylSpaceDomainSet;

// What a grid cell shows as its label and as its subscript. The id given at construction is
// not kept.
class ZylCellLabelValue : public ZylValue
{
public:
    // The kinds of text a cell can show.
    static constexpr int kNoteName = 0;
    static constexpr int kMidiNoteNumber = 1;
    static constexpr int kScaleDegree = 2;
    static constexpr int kPitchClass = 3;
    static constexpr int kNumKinds = 4;

    ZylCellLabelValue(ZylRealDomain* domain, int id, float position, double data,
                      const std::wstring& name, const std::wstring& label,
                      const std::wstring& description, std::int32_t labelKind,
                      std::int32_t subscriptKind);
    ~ZylCellLabelValue() override;

    virtual int getLabelKind() const;
    virtual int getSubscriptKind() const;

private:
    std::int32_t labelKind;
    std::int32_t subscriptKind;

    JUCE_DECLARE_NON_COPYABLE(ZylCellLabelValue)
};

// The 12 pairs of different label and subscript kinds; "Nte/Mid" (the first) is the default.
// Ids are list positions and are stored in programs.
class ZylCellLabelDomain : public ZylRealDomain
{
public:
    explicit ZylCellLabelDomain(ZylSpaceDomainSet* owner);
    ~ZylCellLabelDomain() override;

    std::wstring getShortName() const override;
    std::wstring getDescription() const override;

    JUCE_DECLARE_NON_COPYABLE(ZylCellLabelDomain)
};

// The first 8 characters of text, the longest name a value may have.
std::wstring truncateName(const std::wstring& text);
