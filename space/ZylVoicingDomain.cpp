#include "space/ZylVoicingDomain.h"

#include "space/ZylSpaceDomainSet.h"

#include <utility>

namespace
{
struct VoicingEntry
{
    const wchar_t* name;
    const wchar_t* label;
    ZylIntVector offsets;
    ZylIntVector afterSort; // empty: the voicing has no second step
};

// The inversions raise the first notes of the chord by an octave; the open forms then raise the
// second (open), the third (open 2) or the second and fourth (open 3) note of the sorted result.
const VoicingEntry kVoicings[] = {
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
} // namespace

ZylVoicingValue::ZylVoicingValue(ZylRealDomain* valueDomain, int, float valuePosition,
                                 double valueData, const std::wstring& valueName,
                                 const std::wstring& valueLabel,
                                 const std::wstring& valueDescription, ZylIntVector offsetList,
                                 std::unique_ptr<ZylIntVector> afterSortList)
    : ZylValue(valueDomain, 0, valuePosition, valueData, valueName, valueLabel, valueDescription,
               nullptr, 0),
      offsets(std::move(offsetList)),
      afterSort(std::move(afterSortList))
{
}

ZylVoicingValue::~ZylVoicingValue() = default;

ZylVoicingDomain::ZylVoicingDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    for (const auto& entry : kVoicings)
    {
        auto afterSort = entry.afterSort.empty()
                             ? nullptr
                             : std::make_unique<ZylIntVector>(entry.afterSort);
        addValue(std::make_unique<ZylVoicingValue>(this, 0, 0.0f, 0.0, entry.name, entry.label,
                                                   std::wstring(), entry.offsets,
                                                   std::move(afterSort)));
    }
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
    for (auto* value : getValues())
    {
        auto* voicing = static_cast<ZylVoicingValue*>(value);
        std::wstring description = L"The voicing " + voicing->getLabel()
                                   + L" adds the following octaves to the chord: "
                                   + formatIntVector(&voicing->offsets);
        if (voicing->afterSort != nullptr)
            description += L", followed by adding following octaves to the result : "
                           + formatIntVector(voicing->afterSort.get());
        voicing->setDescription(description);
    }
}

ZylVoicingDomain::~ZylVoicingDomain() = default;

std::wstring ZylVoicingDomain::getShortName() const { return L"Voicing"; }

std::wstring ZylVoicingDomain::getDescription() const
{
    return L"Voicing adds one or more octaves to one or more notes of the chord. This allows you "
           L"to spread the chord more across the keyboard, making it sound more open. Inversions "
           L"are a special case of voicing";
}
