#include "framework/ZylHostParameter.h"

#include "framework/ZylDomain.h"
#include "framework/ZylFilter.h"
#include "framework/ZylHelpers.h"
#include "framework/ZylParameter.h"
#include "framework/ZylValue.h"

namespace
{
constexpr const char* kReservedText = "Reserved";
} // namespace

ZylHostParameter::ZylHostParameter(ZylFilter& owner, int index) : processor(owner), hostIndex(index)
{
}

float ZylHostParameter::getValue() const
{
    return juce::jlimit(0.0f, 1.0f, processor.getParameter(hostIndex));
}

void ZylHostParameter::setValue(float newValue)
{
    processor.setParameter(hostIndex, newValue);
}

float ZylHostParameter::getDefaultValue() const
{
    auto* parameter = processor.getHostParameter(hostIndex);
    if (parameter == nullptr || !parameter->hasListValues())
        return 0.0f;
    const juce::ScopedLock sl(parameter->getLock());
    auto* domain = parameter->getDomain();
    return juce::jlimit(0.0f, 1.0f, domain->getPositionOf(domain->getDefaultValue(), false));
}

juce::String ZylHostParameter::getName(int maximumStringLength) const
{
    return processor.getParameterName(hostIndex).substring(0, maximumStringLength);
}

juce::String ZylHostParameter::getLabel() const
{
    return {};
}

int ZylHostParameter::getNumSteps() const
{
    auto* parameter = processor.getHostParameter(hostIndex);
    if (parameter == nullptr || !parameter->hasListValues())
        return AudioProcessorParameter::getNumSteps();
    const juce::ScopedLock sl(parameter->getLock());
    return juce::jmax(2, static_cast<int>(parameter->getDomain()->getValues().size()));
}

bool ZylHostParameter::isDiscrete() const
{
    auto* parameter = processor.getHostParameter(hostIndex);
    return parameter != nullptr && parameter->hasListValues();
}

juce::String ZylHostParameter::getText(float normalisedValue, int maximumStringLength) const
{
    auto* parameter = processor.getHostParameter(hostIndex);
    if (parameter == nullptr)
        return juce::String(kReservedText).substring(0, maximumStringLength);
    const juce::ScopedLock sl(parameter->getLock());
    if (!parameter->hasListValues())
        return juce::String(normalisedValue).substring(0, maximumStringLength);
    auto* value = parameter->getDomain()->findByPosition(normalisedValue);
    if (value == nullptr)
        return {};
    return juce::String(value->getName().c_str()).substring(0, maximumStringLength);
}

float ZylHostParameter::getValueForText(const juce::String& text) const
{
    auto* parameter = processor.getHostParameter(hostIndex);
    if (parameter == nullptr)
        return 0.0f;
    const juce::ScopedLock sl(parameter->getLock());
    if (!parameter->hasListValues())
        return juce::jlimit(0.0f, 1.0f, text.getFloatValue());
    auto* domain = parameter->getDomain();
    auto* value = domain->findByName(toStdWString(text));
    return value != nullptr ? domain->getPositionOf(value, false) : getValue();
}

juce::String ZylHostParameter::getCurrentValueAsText() const
{
    return processor.getParameterText(hostIndex);
}
