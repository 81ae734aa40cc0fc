#include "framework/ZylRangeDomain.h"

#include "framework/ZylHelpers.h"
#include "framework/ZylNumberText.h"

#include <cmath>

namespace
{
constexpr size_t kRangeTextSize = 256;

std::wstring formatRangeText(const char* format, double min, double max)
{
    auto narrow = zylFormatNumbers(format, { min, max });
    if (narrow.size() >= kRangeTextSize)
        narrow.resize(kRangeTextSize - 1);
    std::wstring text;
    assignNarrowToWide(narrow.c_str(), text);
    return text;
}

// trunc((max - min) / step + 0.5) + 1; a step that is not a positive finite number, or a range
// that does not rise, gives the single value min.
int rangeValueCount(double min, double max, double step)
{
    const double steps = std::trunc((max - min) / step + 0.5);
    if (!(step > 0.0) || !std::isfinite(steps) || steps < 0.0 || steps > 1.0e6)
        return 1;
    return static_cast<int>(steps) + 1;
}
} // namespace

ZylRangeDomain::ZylRangeDomain(ZylDomainSet* owningSet, double min, double max, double step,
                               double defaultData)
    : ZylRealDomain(owningSet),
      shortName(formatRangeText("%1.2f..%1.2f", min, max)),
      longName(formatRangeText("Range %1.2f..%1.2f", min, max)),
      description(formatRangeText("Range from %1.2f..%1.2f", min, max))
{
    const int count = rangeValueCount(min, max, step);
    ZylValue* chosenDefault = nullptr;
    for (int i = 0; i < count; ++i)
    {
        const double data = i == 0 ? min : min + static_cast<double>(i) * step;
        auto* value = addValue(std::make_unique<ZylValue>(this, 0, 0.0f, data, L"", L"", L"",
                                                          nullptr, 0));
        value->setNameFromNumber(data, 0, "%1.2f", true);
        if (data == defaultData)
            chosenDefault = value;
    }
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(chosenDefault != nullptr ? chosenDefault : getValues().front());
}

std::wstring ZylRangeDomain::getShortName() const { return shortName; }

std::wstring ZylRangeDomain::getName() const { return longName; }

std::wstring ZylRangeDomain::getDescription() const { return description; }

int ZylRangeDomain::getControlType() const { return kControlRotary; }
