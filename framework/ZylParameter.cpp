#include "framework/ZylParameter.h"

#include "framework/ZylDomain.h"
#include "framework/ZylHelpers.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylValue.h"

#include <algorithm>
#include <cmath>

namespace
{
// A rotary knob steps by this fraction of its list per wheel notch.
constexpr int kRotaryWheelDivisor = 25;
} // namespace

bool ZylParameter::hasListValues() const
{
    const auto* domain = getDomain();
    return domain != nullptr && (domain->hasFixedValues() || domain->hasDynamicValues());
}

void ZylParameter::setHostValue(float normalised, int cause)
{
    if (std::isnan(normalised))
        return;
    const float x = juce::jlimit(0.0f, 1.0f, normalised);

    const juce::ScopedLock sl(getLock());
    if (!hasListValues())
    {
        if (x != getValue())
            setValue(x, cause, false, true);
        return;
    }

    auto* value = getDomain()->findByPosition(x);
    if (value != nullptr && value != getValueObject())
        setValueObject(value, cause, false, true);
}

std::wstring ZylParameter::getValueText() const
{
    const juce::ScopedLock sl(getLock());
    if (!hasListValues())
        return toStdWString(juce::String(getValue()));
    const auto* value = getValueObject();
    return value != nullptr ? value->getName() : std::wstring();
}

bool ZylParameter::applyWheelStep(float deltaY)
{
    if (!(deltaY > 0.0f || deltaY < 0.0f))
        return false;

    const juce::ScopedLock sl(getLock());
    if (!hasListValues())
        return false;
    auto* domain = getDomain();
    const auto& values = domain->getValues();
    if (values.empty())
        return false;

    int step = 1;
    if (domain->getControlType() == kControlRotary)
        step = std::max(1, static_cast<int>(values.size()) / kRotaryWheelDivisor);

    auto* current = getValueObject();
    ZylValue* next = nullptr;
    if (deltaY > 0.0f)
    {
        next = current != nullptr ? domain->getPrevious(current, step) : nullptr;
        if (next == nullptr)
            next = values.front();
    }
    else
    {
        next = current != nullptr ? domain->getNext(current, step) : nullptr;
        if (next == nullptr)
            next = values.back();
    }
    setValueObject(next, kCauseUser, false, true);
    return true;
}
