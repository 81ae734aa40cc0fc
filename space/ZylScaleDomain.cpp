#include "space/ZylScaleDomain.h"

#include "space/ZylSpaceDomainSet.h"

#include <memory>
#include <utility>

namespace
{
struct ScaleEntry
{
    const wchar_t* name;
    const wchar_t* label;
    ZylIntVector intervals;
};

// List order is the saved format: programs store a scale by its place in this list.
const ScaleEntry kScales[] = {
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
    // The combined scales hold the tones that the two named scales share on the same root.
    { L"Maj&Dor", L"Major & Dorian", { 0, 2, 5, 7, 9 } },
    { L"Maj&HMi", L"Major & Harm.Minor", { 0, 2, 5, 7, 11 } },
    { L"Maj&Min", L"Major & Minor", { 0, 2, 5, 7 } },
    { L"Lyd b7", L"Lydian Flat-7", { 0, 2, 4, 6, 7, 9, 10 } },
    { L"Persian", L"Persian", { 0, 1, 4, 5, 6, 8, 11 } },
    { L"Persia2", L"Persian 2", { 0, 1, 4, 5, 7, 8, 11 } },
    { L"Hindu", L"Hindu", { 0, 1, 4, 5, 7, 8, 10 } },
};
// The place of "Major" in kScales.
constexpr size_t kMajorPlace = 1;
} // namespace

ZylScaleValue::ZylScaleValue(ZylRealDomain* valueDomain, int, float valuePosition, double valueData,
                             const std::wstring& valueName, const std::wstring& valueLabel,
                             const std::wstring& valueDescription, ZylIntVector intervalList)
    : ZylValue(valueDomain, 0, valuePosition, valueData, valueName, valueLabel, valueDescription,
               nullptr, 0),
      intervals(std::move(intervalList))
{
}

ZylScaleValue::~ZylScaleValue() = default;

ZylScaleDomain::ZylScaleDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    for (const auto& entry : kScales)
        addValue(std::make_unique<ZylScaleValue>(this, 0, 0.0f, 0.0, entry.name, entry.label,
                                                 std::wstring(), entry.intervals));
    distributePositions();
    renumberIds();
    renumberIndexes();
    for (auto* value : getValues())
    {
        auto* scale = static_cast<ZylScaleValue*>(value);
        scale->setDescription(L"The " + scale->getLabel() + L" scale consists of the intervals "
                              + formatIntVector(&scale->intervals));
    }
    setDefaultValue(getValues().front());
    major = static_cast<ZylScaleValue*>(getValues()[kMajorPlace]);
}

ZylScaleDomain::~ZylScaleDomain() = default;

std::wstring ZylScaleDomain::getShortName() const { return L"Scale"; }

std::wstring ZylScaleDomain::getDescription() const
{
    return L"A scale defines a subset of the 12 tones and their relative intervals";
}
