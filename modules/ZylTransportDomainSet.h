#pragma once

#include "framework/ZylDomainSet.h"

class ZylBpmDomain;
class ZylTimeSigDenominatorDomain;
class ZylTimeSigNumeratorDomain;
class ZylTimeUnitDomain;
class ZylTransportStateDomain;

// The transport's vocabularies. The places are the indexes by which the transport module picks
// a domain from getDomains().
class ZylTransportDomainSet : public ZylDomainSet
{
public:
    enum Place
    {
        kBpmPlace = 0,
        kNumeratorPlace,
        kDenominatorPlace,
        kTimeUnitPlace,
        kStatePlace,
        kNumPlaces
    };

    ZylTransportDomainSet();
    ~ZylTransportDomainSet() override = default;

    ZylBpmDomain* getBpmDomain() const noexcept { return bpm; }
    ZylTimeSigNumeratorDomain* getNumeratorDomain() const noexcept { return numerator; }
    ZylTimeSigDenominatorDomain* getDenominatorDomain() const noexcept { return denominator; }
    ZylTimeUnitDomain* getTimeUnitDomain() const noexcept { return timeUnit; }
    ZylTransportStateDomain* getStateDomain() const noexcept { return state; }

private:
    ZylBpmDomain* bpm = nullptr;
    ZylTimeSigNumeratorDomain* numerator = nullptr;
    ZylTimeSigDenominatorDomain* denominator = nullptr;
    ZylTimeUnitDomain* timeUnit = nullptr;
    ZylTransportStateDomain* state = nullptr;
};
