#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class ZylFilter;

// The host's handle on one host automation index of a ZylFilter. The processor creates one per
// index when its module tree is built and JUCE owns them. Every call goes through the
// processor's index-based operations, so the parameter behind an index is always the one the
// parameter map holds (the current program's link); an index that no parameter has reads as
// "Rsrvd<i>" / "Reserved" and ignores writes.
class ZylHostParameter : public juce::AudioProcessorParameter
{
public:
    ZylHostParameter(ZylFilter& processor, int hostIndex);
    ~ZylHostParameter() override = default;

    int getHostIndex() const noexcept { return hostIndex; }

    float getValue() const override;
    // From the host: set with the host's cause, which the processor does not echo back.
    void setValue(float newValue) override;
    float getDefaultValue() const override;
    juce::String getName(int maximumStringLength) const override;
    juce::String getLabel() const override;
    int getNumSteps() const override;
    bool isDiscrete() const override;
    juce::String getText(float normalisedValue, int maximumStringLength) const override;
    float getValueForText(const juce::String& text) const override;
    juce::String getCurrentValueAsText() const override;

private:
    ZylFilter& processor;
    const int hostIndex;

    JUCE_DECLARE_NON_COPYABLE(ZylHostParameter)
};
