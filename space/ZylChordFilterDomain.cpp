#include "space/ZylChordFilterDomain.h"

#include "framework/ZylValue.h"
#include "space/ZylSpaceDomainSet.h"

#include <memory>

namespace
{
struct FilterEntry
{
    int tag;
    const wchar_t* name;
    const wchar_t* label;
    const wchar_t* description;
};

using F = ZylChordFilterDomain;

const FilterEntry kFilters[] = {
    { F::kAll, L"All", L"All", L"" },
    { F::kMonads, L"Monads", L"Monads", L"Monads or single notes" },
    { F::kDyads, L"Dyads", L"Dyads", L"Dyads or 2-note intervals" },
    { F::kTriads, L"Triads", L"Triads", L"Triads or 3-note chords" },
    { F::kSevenths, L"7ths", L"Sevenths", L"Sevenths or 4-note chords" },
    { F::kUpToDyads, L"<=Dyads", L"Up to dyads", L"Dyads (2-note intervals) or smaller" },
    { F::kUpToTriads, L"<=Triads", L"Up to triads", L"Triads (3-note chords) or smaller" },
    { F::kUpToSevenths, L"<=7ths", L"Up to sevenths", L"Sevenths (4-note chords) or smaller" },
    { F::kMoreDyads, L"DyadsMor", L"Dyads (more)", L"More dyads or 2-note intervals" },
    { F::kMoreTriads, L"TriadsMo", L"Triads (more)", L"More triads or 3-note intervals" },
};
} // namespace

ZylChordFilterDomain::ZylChordFilterDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    for (const auto& entry : kFilters)
        addValue(std::make_unique<ZylValue>(this, entry.tag, 0.0f, 0.0, entry.name, entry.label,
                                            entry.description, nullptr, entry.tag));
    distributePositions();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

ZylChordFilterDomain::~ZylChordFilterDomain() = default;

std::wstring ZylChordFilterDomain::getShortName() const { return L"Ch Filter"; }

std::wstring ZylChordFilterDomain::getDescription() const
{
    return L"The chord filter parameter limits the type of chords that can be used";
}
