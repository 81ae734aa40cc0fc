#include "modules/ZylTransportDomainSet.h"

#include "modules/ZylBpmDomain.h"
#include "modules/ZylTimeSigDenominatorDomain.h"
#include "modules/ZylTimeSigNumeratorDomain.h"
#include "modules/ZylTimeUnitDomain.h"
#include "modules/ZylTransportStateDomain.h"

ZylTransportDomainSet::ZylTransportDomainSet()
{
    bpm = addDomain(std::make_unique<ZylBpmDomain>(this));
    numerator = addDomain(std::make_unique<ZylTimeSigNumeratorDomain>(this));
    denominator = addDomain(std::make_unique<ZylTimeSigDenominatorDomain>(this));
    timeUnit = addDomain(std::make_unique<ZylTimeUnitDomain>(this));
    state = addDomain(std::make_unique<ZylTransportStateDomain>(this));
}
