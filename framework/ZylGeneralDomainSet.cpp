#include "framework/ZylGeneralDomainSet.h"

#include "framework/ZylHarmonicDomain.h"
#include "framework/ZylModulationSourceDomain.h"
#include "framework/ZylNullDomain.h"
#include "framework/ZylOnOffSwitchDomain.h"
#include "framework/ZylPercentageDomain.h"
#include "framework/ZylProbabilityDomain.h"
#include "framework/ZylSUnitScaleDomain.h"
#include "framework/ZylUnitScaleDomain.h"

ZylGeneralDomainSet::ZylGeneralDomainSet()
{
    addDomain(std::make_unique<ZylNullDomain>(this));
    addDomain(std::make_unique<ZylHarmonicDomain>(this));
    addDomain(std::make_unique<ZylUnitScaleDomain>(this));
    addDomain(std::make_unique<ZylSUnitScaleDomain>(this));
    addDomain(std::make_unique<ZylPercentageDomain>(this));
    addDomain(std::make_unique<ZylProbabilityDomain>(this));
    addDomain(std::make_unique<ZylOnOffSwitchDomain>(this));
    addDomain(std::make_unique<ZylModulationSourceDomain>(this));
}
