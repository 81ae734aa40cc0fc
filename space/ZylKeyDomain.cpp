#include "space/ZylKeyDomain.h"

#include "space/ZylSpaceDomainSet.h"

#include <memory>

namespace
{
constexpr int kPitchClasses = 12;

struct KeyEntry
{
    const wchar_t* name;
    std::int32_t natural;
    std::int32_t accidental;
};

// List order is the saved format: programs store a key by its place in this list.
const KeyEntry kKeys[] = {
    { L"C", 0, ZylKeyValue::kNatural },  { L"C#", 0, ZylKeyValue::kSharp },
    { L"Db", 2, ZylKeyValue::kFlat },    { L"D", 2, ZylKeyValue::kNatural },
    { L"D#", 2, ZylKeyValue::kSharp },   { L"Eb", 4, ZylKeyValue::kFlat },
    { L"E", 4, ZylKeyValue::kNatural },  { L"Fb", 5, ZylKeyValue::kFlat },
    { L"F", 5, ZylKeyValue::kNatural },  { L"F#", 5, ZylKeyValue::kSharp },
    { L"Gb", 7, ZylKeyValue::kFlat },    { L"G", 7, ZylKeyValue::kNatural },
    { L"G#", 7, ZylKeyValue::kSharp },   { L"Ab", 9, ZylKeyValue::kFlat },
    { L"A", 9, ZylKeyValue::kNatural },  { L"A#", 9, ZylKeyValue::kSharp },
    { L"Bb", 11, ZylKeyValue::kFlat },   { L"B", 11, ZylKeyValue::kNatural },
};
} // namespace

ZylKeyValue::ZylKeyValue(ZylRealDomain* valueDomain, int, float valuePosition, double valueData,
                         const std::wstring& valueName, const std::wstring& valueLabel,
                         const std::wstring& valueDescription, std::int32_t naturalPitchClass,
                         std::int32_t accidentalShift)
    : ZylValue(valueDomain, 0, valuePosition, valueData, valueName, valueLabel, valueDescription,
               nullptr, 0),
      natural(naturalPitchClass),
      accidental(accidentalShift)
{
}

ZylKeyValue::~ZylKeyValue() = default;

int ZylKeyValue::rootPitchClass() const
{
    const int remainder = (natural + accidental) % kPitchClasses;
    return remainder < 0 ? remainder + kPitchClasses : remainder;
}

ZylKeyDomain::ZylKeyDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    for (const auto& entry : kKeys)
        addValue(std::make_unique<ZylKeyValue>(this, 0, 0.0f, 0.0, entry.name, entry.name,
                                               std::wstring(), entry.natural, entry.accidental));
    distributePositions();
    renumberIds();
    renumberIndexes();
    for (auto* value : getValues())
    {
        auto* key = static_cast<ZylKeyValue*>(value);
        key->setDescription(L"The key of " + key->getLabel() + L" starts at pitch class "
                            + std::to_wstring(key->rootPitchClass()));
    }
    setDefaultValue(getValues().front());
    cKey = static_cast<ZylKeyValue*>(getValues().front());
}

ZylKeyDomain::~ZylKeyDomain() = default;

std::wstring ZylKeyDomain::getShortName() const { return L"Key"; }

std::wstring ZylKeyDomain::getDescription() const
{
    return L"The key defines the first tone at which a scale will start";
}
