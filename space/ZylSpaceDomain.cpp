#include "space/ZylSpaceDomain.h"

#include "space/ZylSpaceDomainSet.h"

#include <numeric>

namespace
{
constexpr std::int32_t kNoLimit = ZylSpace::kNoLimit;

struct NamedSpace
{
    const wchar_t* name;
    const wchar_t* label;
    const wchar_t* description;
    std::int32_t low, high, xStep, yStep, columns, rows, cellWidth, cellHeight;
};

const NamedSpace kNamedSpaces[] = {
    { L"Octaves", L"Octaves  [1:12]", L"A grid with one octave per row", 12, 118, 1, 12, 12, 12,
      58, 48 },
    { L"2 x Oct", L"Double octaves [1:24]", L"A grid with two octaves per row", 12, 118, 1, 24,
      24, 12, 28, 84 },
    { L"3 x Oct", L"Triple octaves [1:36]", L"A grid with three octaves per row", 12, 118, 1, 36,
      36, 12, 20, 140 },
    { L"LH", L"Longuet-Higgins [4:7]",
      L"A 2-D space where notes increase by 4 semitones on the horizontal axis  and by 7 "
      L"semitones on the vertical axis, as described by Longuet-Higgins.",
      21, 108, 4, 7, kNoLimit, kNoLimit, 30, 30 },
    { L"Balzano", L"Balzano [4:3]",
      L"A 2-D space where notes increase by 4 semitones on the horizontal axis  and by 3 "
      L"semitones on the vertical axis, as desribed by Balzano.",
      21, 108, 4, 3, kNoLimit, kNoLimit, 30, 30 },
};

// Interval names of 1 to 12 semitones.
const wchar_t* const kIntervalNames[] = {
    L"m2", L"M2", L"m3", L"M3", L"P4", L"o5", L"P5", L"m6", L"M6", L"m7", L"M7", L"P8",
};

constexpr int kLargestStep = 12;
// The two tightest grids (1:2 and 1:3) start at note 45, so that their 25 x 25 cells cover the
// middle and upper range rather than the low notes only.
constexpr int kTightStepSum = 4;
constexpr std::int32_t kTightLow = 45;
constexpr std::int32_t kGeneratedLow = 9;
constexpr std::int32_t kGeneratedHigh = 108;
constexpr std::int32_t kGeneratedCount = 25;
constexpr std::int32_t kGeneratedCellSize = 30;
} // namespace

ZylSpaceValue::ZylSpaceValue(ZylRealDomain* valueDomain, int, float valuePosition, double valueData,
                             const std::wstring& valueName, const std::wstring& valueLabel,
                             const std::wstring& valueDescription, std::int32_t lowNote,
                             std::int32_t highNote, std::int32_t horizontalStep,
                             std::int32_t verticalStep, std::int32_t columnCount,
                             std::int32_t rowCount, std::int32_t width, std::int32_t height)
    : ZylValue(valueDomain, 0, valuePosition, valueData, valueName, valueLabel, valueDescription,
               nullptr, 0),
      low(lowNote),
      high(highNote),
      xStep(horizontalStep),
      yStep(verticalStep),
      columns(columnCount),
      rows(rowCount),
      cellWidth(width),
      cellHeight(height),
      space(std::make_unique<ZylSpace>())
{
    space->buildGrid(low, high, xStep, yStep, columns, rows, cellWidth - kCellGap,
                     cellHeight - kCellGap);
}

ZylSpaceValue::~ZylSpaceValue() = default;

ZylSpaceDomain::ZylSpaceDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    for (const auto& entry : kNamedSpaces)
        addValue(std::make_unique<ZylSpaceValue>(
            this, 0, 0.0f, 0.0, entry.name, entry.label, entry.description, entry.low, entry.high,
            entry.xStep, entry.yStep, entry.columns, entry.rows, entry.cellWidth,
            entry.cellHeight));

    for (int i = 1; i < kLargestStep; ++i)
        for (int j = i + 1; j <= kLargestStep; ++j)
        {
            if (std::gcd(i, j) != 1)
                continue;
            const std::wstring name = L"[" + std::to_wstring(i) + L":" + std::to_wstring(j) + L"]";
            const std::wstring label = std::wstring(kIntervalNames[i - 1]) + L"-"
                                       + kIntervalNames[j - 1] + L" " + name;
            const std::wstring description = L"A 2-D space where notes increase by "
                                             + std::to_wstring(i)
                                             + L" semitones on the horizontal axis  and by "
                                             + std::to_wstring(j)
                                             + L" semitones on the vertical axis.";
            const std::int32_t low = i + j <= kTightStepSum ? kTightLow : kGeneratedLow;
            addValue(std::make_unique<ZylSpaceValue>(
                this, 0, 0.0f, 0.0, name, label, description, low, kGeneratedHigh, i, j,
                kGeneratedCount, kGeneratedCount, kGeneratedCellSize, kGeneratedCellSize));
        }

    setDefaultValue(getValues().front());
    distributePositions();
    renumberIndexes();
    renumberIds();
}

ZylSpaceDomain::~ZylSpaceDomain() = default;

std::wstring ZylSpaceDomain::getShortName() const { return L"Space"; }

std::wstring ZylSpaceDomain::getDescription() const
{
    return L"The space is the view above the piano keyboard. In an ideal space, notes that sound "
           L"well together also are near eachother in terms of their geometrical or 'city-block' "
           L"distance.";
}
