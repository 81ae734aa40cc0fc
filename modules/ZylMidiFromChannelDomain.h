#pragma once

#include "framework/ZylRealDomain.h"

// A value of the list, identified by its index.
class ZylMidiFromChannelValue : public ZylValue
{
public:
    ZylMidiFromChannelValue(ZylRealDomain* owner, int valueId, float valuePosition, double valueData,
          const std::wstring& valueName, const std::wstring& valueLabel,
          const std::wstring& valueDescription)
        : ZylValue(owner, valueId, valuePosition, valueData, valueName, valueLabel,
                   valueDescription, nullptr, 0)
    {
    }
    ~ZylMidiFromChannelValue() override = default;
};

// The channel the MIDI input module listens to: "All" (index 0, every channel, the default),
// then "1" to "16"; the index is the MIDI channel.
class ZylMidiFromChannelDomain : public ZylRealDomain
{
public:
    explicit ZylMidiFromChannelDomain(ZylDomainSet* owningSet);
    ~ZylMidiFromChannelDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
};
