#pragma once

#include "framework/ZylDomainSet.h"

class ZylMidiFromChannelDomain;
class ZylMidiFromDeviceDomain;
class ZylMidiFromFileDomain;

// The MIDI input module's vocabularies: source (place 0), channel (1) and track (2).
class ZylMidiInputDomainSet : public ZylDomainSet
{
public:
    enum Place
    {
        kDevicePlace = 0,
        kChannelPlace,
        kTrackPlace,
        kNumPlaces
    };

    ZylMidiInputDomainSet();
    ~ZylMidiInputDomainSet() override = default;

    virtual ZylMidiFromDeviceDomain* getDeviceDomain() const;
    virtual ZylMidiFromChannelDomain* getChannelDomain() const;
    virtual ZylMidiFromFileDomain* getTrackDomain() const;

private:
    ZylMidiFromDeviceDomain* device = nullptr;
    ZylMidiFromChannelDomain* channel = nullptr;
    ZylMidiFromFileDomain* track = nullptr;
};
