#include "modules/ZylMidiOutputDomainSet.h"

#include "modules/ZylMidiToChannelDomain.h"
#include "modules/ZylMidiToDeviceDomain.h"

ZylMidiOutputDomainSet::ZylMidiOutputDomainSet()
{
    addDomain(std::make_unique<ZylMidiToDeviceDomain>(this));
    addDomain(std::make_unique<ZylMidiToChannelDomain>(this));
}
