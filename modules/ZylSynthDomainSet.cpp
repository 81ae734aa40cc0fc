#include "modules/ZylSynthDomainSet.h"

#include "modules/ZylGainDomain.h"

ZylSynthDomainSet::ZylSynthDomainSet()
    : gainDomain(addDomain(std::make_unique<ZylGainDomain>(this)))
{
}

ZylSynthDomainSet::~ZylSynthDomainSet() = default;

ZylGainDomain* ZylSynthDomainSet::getGainDomain() const
{
    return gainDomain;
}
