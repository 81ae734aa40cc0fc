#pragma once

#include "modules/ZylMidiDeviceDomain.h"

#include <string>
#include <vector>

// A value of the list, identified by its index.
class ZylMidiToDeviceValue : public ZylValue
{
public:
    ZylMidiToDeviceValue(ZylRealDomain* owner, int valueId, float valuePosition, double valueData,
          const std::wstring& valueName, const std::wstring& valueLabel,
          const std::wstring& valueDescription)
        : ZylValue(owner, valueId, valuePosition, valueData, valueName, valueLabel,
                   valueDescription, nullptr, 0)
    {
    }
    ~ZylMidiToDeviceValue() override = default;
};

// Where the MIDI output module sends its MIDI: "Not connected", "VST host", "Built-in synth"
// (the default), then one value per opened output port, named after it. Offers the
// "Configure..." command (the MIDI settings).
class ZylMidiToDeviceDomain : public ZylMidiDeviceDomain
{
public:
    static constexpr int kNumFixedValues = 3;
    static constexpr int kDefaultIndex = 2;

    explicit ZylMidiToDeviceDomain(ZylDomainSet* owningSet);
    ~ZylMidiToDeviceDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
};
