#pragma once

#include "framework/ZylRealDomain.h"

// A value of the list, identified by its index.
class ZylMidiToChannelValue : public ZylValue
{
public:
    ZylMidiToChannelValue(ZylRealDomain* owner, int valueId, float valuePosition, double valueData,
          const std::wstring& valueName, const std::wstring& valueLabel,
          const std::wstring& valueDescription)
        : ZylValue(owner, valueId, valuePosition, valueData, valueName, valueLabel,
                   valueDescription, nullptr, 0)
    {
    }
    ~ZylMidiToChannelValue() override = default;
};

// The channel the MIDI output module sends on: "1" to "16" (the first the default); index i
// means MIDI channel i + 1.
class ZylMidiToChannelDomain : public ZylRealDomain
{
public:
    explicit ZylMidiToChannelDomain(ZylDomainSet* owningSet);
    ~ZylMidiToChannelDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
};
