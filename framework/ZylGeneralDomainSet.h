#pragma once

#include "framework/ZylDomainSet.h"

// The general-purpose vocabularies, created once by the module container. The places are the
// indexes by which users pick a domain from getDomains().
class ZylGeneralDomainSet : public ZylDomainSet
{
public:
    enum Place
    {
        kNullPlace = 0,
        kHarmonicPlace,
        kUnitScalePlace,
        kSUnitScalePlace,
        kPercentagePlace,
        kProbabilityPlace,
        kOnOffSwitchPlace,
        kModulationSourcePlace,
        kNumPlaces
    };

    ZylGeneralDomainSet();
    ~ZylGeneralDomainSet() override = default;
};
