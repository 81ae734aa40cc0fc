#pragma once

#include "modules/ZylMidiDeviceDomain.h"

#include <string>
#include <vector>

// A value of the list, identified by its index.
class ZylMidiFromDeviceValue : public ZylValue
{
public:
    ZylMidiFromDeviceValue(ZylRealDomain* owner, int valueId, float valuePosition, double valueData,
          const std::wstring& valueName, const std::wstring& valueLabel,
          const std::wstring& valueDescription)
        : ZylValue(owner, valueId, valuePosition, valueData, valueName, valueLabel,
                   valueDescription, nullptr, 0)
    {
    }
    ~ZylMidiFromDeviceValue() override = default;
};

// Where the MIDI input module takes its notes from: "Not connected", "Track" (the built-in
// track sequencer, the default), "VST/AU host", then one value per opened input port, named after
// it. Offers the "Configure..." command (the MIDI settings).
class ZylMidiFromDeviceDomain : public ZylMidiDeviceDomain
{
public:
    static constexpr int kNumFixedValues = 3;
    static constexpr int kDefaultIndex = 1;

    explicit ZylMidiFromDeviceDomain(ZylDomainSet* owningSet);
    ~ZylMidiFromDeviceDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
};
