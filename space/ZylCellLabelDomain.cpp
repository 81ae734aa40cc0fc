#include "space/ZylCellLabelDomain.h"

#include "space/ZylSpaceDomainSet.h"

#include <memory>

namespace
{
constexpr size_t kMaxNameLength = 8;

const wchar_t* const kShortKindNames[ZylCellLabelValue::kNumKinds] = {
    L"Nte", L"Mid", L"Deg", L"Pc",
};
const wchar_t* const kLongKindNames[ZylCellLabelValue::kNumKinds] = {
    L"Note name", L"Midi note#", L"Scale degree", L"Pitch class",
};
const wchar_t* const kDefaultName = L"Nte/Mid";
} // namespace

std::wstring truncateName(const std::wstring& text) { return text.substr(0, kMaxNameLength); }

ZylCellLabelValue::ZylCellLabelValue(ZylRealDomain* valueDomain, int, float valuePosition,
                                     double valueData, const std::wstring& valueName,
                                     const std::wstring& valueLabel,
                                     const std::wstring& valueDescription,
                                     std::int32_t labelKindValue, std::int32_t subscript)
    : ZylValue(valueDomain, 0, valuePosition, valueData, valueName, valueLabel, valueDescription,
               nullptr, 0),
      labelKind(labelKindValue),
      subscriptKind(subscript)
{
}

ZylCellLabelValue::~ZylCellLabelValue() = default;

int ZylCellLabelValue::getLabelKind() const { return labelKind; }

int ZylCellLabelValue::getSubscriptKind() const { return subscriptKind; }

ZylCellLabelDomain::ZylCellLabelDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    ZylValue* defaultEntry = nullptr;
    for (int k = 0; k < ZylCellLabelValue::kNumKinds; ++k)
        for (int s = 0; s < ZylCellLabelValue::kNumKinds; ++s)
        {
            if (s == k)
                continue;
            std::wstring name = std::wstring(kShortKindNames[k]) + L"/" + kShortKindNames[s];
            if (name.size() > kMaxNameLength)
                name = truncateName(name);
            const std::wstring label = std::wstring(kLongKindNames[k]) + L"/" + kLongKindNames[s];
            const std::wstring description = std::wstring(L"Displays cell label having a ")
                                             + kLongKindNames[k] + L" with a "
                                             + kLongKindNames[s] + L" subscript";
            auto* value = addValue(std::make_unique<ZylCellLabelValue>(
                this, 0, 0.0f, 0.0, name, label, description, k, s));
            if (name == kDefaultName)
                defaultEntry = value;
        }
    setDefaultValue(defaultEntry);
    distributePositions();
    renumberIndexes();
    renumberIds();
}

ZylCellLabelDomain::~ZylCellLabelDomain() = default;

std::wstring ZylCellLabelDomain::getShortName() const { return L"Labels"; }

std::wstring ZylCellLabelDomain::getDescription() const
{
    return L"Lets you change the labels of the cells in the space";
}
