#include "modules/ZylMidiInputDomainSet.h"

#include "modules/ZylMidiFromChannelDomain.h"
#include "modules/ZylMidiFromDeviceDomain.h"
#include "modules/ZylMidiFromFileDomain.h"

ZylMidiInputDomainSet::ZylMidiInputDomainSet()
{
    device = addDomain(std::make_unique<ZylMidiFromDeviceDomain>(this));
    channel = addDomain(std::make_unique<ZylMidiFromChannelDomain>(this));
    track = addDomain(std::make_unique<ZylMidiFromFileDomain>(this));
}

ZylMidiFromDeviceDomain* ZylMidiInputDomainSet::getDeviceDomain() const { return device; }

ZylMidiFromChannelDomain* ZylMidiInputDomainSet::getChannelDomain() const { return channel; }

ZylMidiFromFileDomain* ZylMidiInputDomainSet::getTrackDomain() const { return track; }
