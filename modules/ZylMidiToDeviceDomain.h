#pragma once

#include "framework/ZylRealDomain.h"

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
class ZylMidiToDeviceDomain : public ZylRealDomain
{
public:
    static constexpr int kNumFixedValues = 3;
    static constexpr int kDefaultIndex = 2;

    explicit ZylMidiToDeviceDomain(ZylDomainSet* owningSet);
    ~ZylMidiToDeviceDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    bool hasFixedValues() const override;
    bool hasDynamicValues() const override;

    // Rebuilds the list under the domain's lock: the fixed values, then one per port name in the
    // given order. Posts kDomainListRebuilt every time, also when nothing changed.
    virtual void setDeviceNames(const std::vector<std::wstring>& names);

    // Counts the rebuilds (read under the domain's lock): a value object and this count together
    // name one port, so the audio thread reads a port's name only when one of them changed.
    int getListGeneration() const noexcept { return listGeneration; }

private:
    int listGeneration = 0;
};
