#include "space/ZylChordDomain.h"

#include "space/ZylChordFilterDomain.h"
#include "space/ZylSpaceDomainSet.h"

#include <memory>
#include <utility>

namespace
{
struct ChordEntry
{
    int id;
    const wchar_t* name;
    const wchar_t* label;
    ZylIntVector intervals;
    const ZylIntVector* tags;
    std::int32_t rank;
};

using F = ZylChordFilterDomain;

// The filter groups a chord belongs to. The minor second is a dyad but not among the chords "up
// to" dyads, triads or sevenths; the dyads and triads that only the "more" groups list are the
// rarer ones.
const ZylIntVector kUnisonTags = { F::kUpToDyads, F::kUpToTriads, F::kUpToSevenths, F::kMonads };
const ZylIntVector kMinorSecondTags = { F::kDyads, F::kMoreDyads };
const ZylIntVector kDyadTags = { F::kDyads, F::kUpToDyads, F::kUpToTriads, F::kUpToSevenths,
                                 F::kMoreDyads };
const ZylIntVector kMoreDyadTags = { F::kMoreDyads };
const ZylIntVector kTriadTags = { F::kTriads, F::kUpToTriads, F::kUpToSevenths, F::kMoreTriads };
const ZylIntVector kMoreTriadTags = { F::kMoreTriads };
const ZylIntVector kSeventhTags = { F::kSevenths, F::kUpToSevenths };

// Ranks put the four-note chords first, then the triads, the dyads and the unison last.
const ChordEntry kChords[] = {
    { 0, L"U", L"[1] Unison", { 0 }, &kUnisonTags, 400 },
    { 1, L"m2", L"[2] Minor 2nd", { 0, 1 }, &kMinorSecondTags, 316 },
    { ZylChordDomain::kMajorSecondId, L"M2", L"[2] Major 2nd", { 0, 2 }, &kDyadTags, 310 },
    { 2, L"m3", L"[2] Minor 3rd", { 0, 3 }, &kDyadTags, 302 },
    { 3, L"M3", L"[2] Major 3rd", { 0, 4 }, &kDyadTags, 301 },
    { 4, L"P4", L"[2] Perfect 4th", { 0, 5 }, &kDyadTags, 304 },
    { 31, L"d5", L"[2] Diminished 5th", { 0, 6 }, &kMoreDyadTags, 311 },
    { 5, L"P5", L"[2] Perfect 5th", { 0, 7 }, &kDyadTags, 303 },
    { 32, L"m6", L"[2] Minor 6th", { 0, 8 }, &kMoreDyadTags, 312 },
    { 33, L"M6", L"[2] Major 6th", { 0, 9 }, &kMoreDyadTags, 313 },
    { 34, L"_m7", L"[2] Minor 7th", { 0, 10 }, &kMoreDyadTags, 314 },
    { 35, L"_M7", L"[2] Major 7th", { 0, 11 }, &kMoreDyadTags, 315 },
    { 6, L"M", L"[3] Major", { 0, 4, 7 }, &kTriadTags, 201 },
    { 7, L"m", L"[3] Minor", { 0, 3, 7 }, &kTriadTags, 202 },
    { 8, L"dim", L"[3] Diminished", { 0, 3, 6 }, &kTriadTags, 203 },
    { 9, L"aug", L"[3] Augmented", { 0, 4, 8 }, &kTriadTags, 204 },
    { 10, L"b5", L"[3] Flat 5th", { 0, 4, 6 }, &kTriadTags, 205 },
    { 11, L"sus2", L"[3] Sus 2nd", { 0, 2, 7 }, &kTriadTags, 206 },
    { 12, L"sus4", L"[3] Sus 4th", { 0, 5, 7 }, &kTriadTags, 207 },
    { 36, L"sus4#5", L"[3] Sus 4th sharp 5th", { 0, 5, 8 }, &kMoreTriadTags, 208 },
    { 37, L"add4no5", L"[3] Add 4th no 5th", { 0, 3, 5 }, &kMoreTriadTags, 209 },
    { 13, L"M7", L"[4] Major 7th", { 0, 4, 7, 11 }, &kSeventhTags, 102 },
    { 14, L"m7", L"[4] Minor 7th", { 0, 3, 7, 10 }, &kSeventhTags, 103 },
    { 15, L"7", L"[4] Dominant 7th", { 0, 4, 7, 10 }, &kSeventhTags, 104 },
    { 16, L"dim7", L"[4] Diminished 7th", { 0, 3, 6, 9 }, &kSeventhTags, 105 },
    { 17, L"m7b5", L"[4] Half-diminished 7th", { 0, 3, 6, 10 }, &kSeventhTags, 106 },
    { 18, L"aug7", L"[4] Augmented 7th", { 0, 4, 8, 10 }, &kSeventhTags, 107 },
    { 19, L"m/M7", L"[4] Minor Major 7th", { 0, 3, 7, 11 }, &kSeventhTags, 108 },
    { 20, L"M7#5", L"[4] Major 7th sharp 5th", { 0, 4, 8, 11 }, &kSeventhTags, 109 },
    { 21, L"M7sus4", L"[4] Major 7th sus 4th", { 0, 5, 7, 11 }, &kSeventhTags, 110 },
    { 22, L"m7#5", L"[4] Minor 7th sharp 5th", { 0, 3, 8, 10 }, &kSeventhTags, 111 },
    { 23, L"7b5", L"[4] Dominant 7th flat 5th", { 0, 4, 6, 10 }, &kSeventhTags, 112 },
    { 24, L"7add6", L"[4] Dominant 7th add 6th", { 0, 4, 9, 10 }, &kSeventhTags, 113 },
    { 25, L"7sus4", L"[4] Dominant 7th sus 4th", { 0, 5, 7, 10 }, &kSeventhTags, 114 },
    { 26, L"M6", L"[4] Major 6th", { 0, 4, 7, 9 }, &kSeventhTags, 115 },
    { 27, L"M6sus4", L"[4] Major 6th sus 4th", { 0, 5, 7, 9 }, &kSeventhTags, 116 },
    { 28, L"m6", L"[4] Minor 6th", { 0, 3, 7, 9 }, &kSeventhTags, 117 },
    { 29, L"Madd9", L"[4] Major add 9th", { 0, 2, 4, 7 }, &kSeventhTags, 118 },
    { 30, L"madd9", L"[4] Minor add 9th", { 0, 2, 3, 7 }, &kSeventhTags, 119 },
};
} // namespace

ZylChordValue::ZylChordValue(ZylRealDomain* valueDomain, int valueId, float valuePosition,
                             double valueData, const std::wstring& valueName,
                             const std::wstring& valueLabel, const std::wstring& valueDescription,
                             ZylIntVector intervalList, const ZylIntVector& tagList,
                             std::int32_t chordRank)
    : ZylValue(valueDomain, valueId, valuePosition, valueData, valueName, valueLabel,
               valueDescription, &tagList, 0),
      intervals(std::move(intervalList)),
      rank(chordRank)
{
}

ZylChordValue::~ZylChordValue() = default;

ZylChordDomain::ZylChordDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    for (const auto& entry : kChords)
        addValue(std::make_unique<ZylChordValue>(this, entry.id, 0.0f, 0.0, entry.name,
                                                 entry.label, std::wstring(), entry.intervals,
                                                 *entry.tags, entry.rank));
    distributePositions();
    renumberIndexes();
    setDefaultValue(getValues().front());
    for (auto* value : getValues())
    {
        auto* chord = static_cast<ZylChordValue*>(value);
        chord->setDescription(L"The chord " + chord->getLabel() + L" is defined by the intervals "
                              + formatIntVector(&chord->intervals));
    }
}

ZylChordDomain::~ZylChordDomain() = default;

std::wstring ZylChordDomain::getShortName() const { return L"Chord"; }

std::wstring ZylChordDomain::getDescription() const
{
    return L"The chord is defined by the interval distances between notes in the chord in root "
           L"position. The first note of the chord -aka the root- is always at 0 if the chord is "
           L"in root position. The ASSIST parameter must be set to MANUAL for this parameter to be "
           L"accessible";
}
