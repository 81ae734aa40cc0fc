#pragma once

#include "framework/ZylDomainSet.h"

// The MIDI output module's vocabularies: destination (place 0, a ZylMidiToDeviceDomain) and
// channel (place 1, a ZylMidiToChannelDomain).
class ZylMidiOutputDomainSet : public ZylDomainSet
{
public:
    enum Place
    {
        kDevicePlace = 0,
        kChannelPlace,
        kNumPlaces
    };

    ZylMidiOutputDomainSet();
    ~ZylMidiOutputDomainSet() override = default;
};
