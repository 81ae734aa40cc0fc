#pragma once

#include "framework/ZylRealDomain.h"

#include <string>
#include <vector>

// A value of the list, identified by its index.
class ZylMidiFromFileValue : public ZylValue
{
public:
    ZylMidiFromFileValue(ZylRealDomain* owner, int valueId, float valuePosition, double valueData,
          const std::wstring& valueName, const std::wstring& valueLabel,
          const std::wstring& valueDescription)
        : ZylValue(owner, valueId, valuePosition, valueData, valueName, valueLabel,
                   valueDescription, nullptr, 0)
    {
    }
    ~ZylMidiFromFileValue() override = default;
};

// The built-in track the MIDI input module plays: one value per track of the sequencer, in its
// order (the first the default), or the single value "<none>" when there is no track.
class ZylMidiFromFileDomain : public ZylRealDomain
{
public:
    explicit ZylMidiFromFileDomain(ZylDomainSet* owningSet);
    ~ZylMidiFromFileDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    bool hasFixedValues() const override;
    bool hasDynamicValues() const override;

    // Rebuilds the list under the domain's lock: value i is named and labelled names[i] and
    // described by descriptions[i], or by its name where descriptions has no entry i. Posts
    // kDomainListRebuilt every time.
    virtual void setTrackNames(const std::vector<std::wstring>& names,
                               const std::vector<std::wstring>& descriptions);
};
