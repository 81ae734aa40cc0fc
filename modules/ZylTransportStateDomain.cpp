#include "modules/ZylTransportStateDomain.h"

ZylTransportStateDomain::ZylTransportStateDomain(ZylDomainSet* owningSet)
    : ZylRealDomain(owningSet)
{
    stopped = addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, L"Stopped", L"Stopped",
                                                  L"Transport is stopped", nullptr, 0));
    armed = addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, L"Armed", L"Armed",
                                                L"Transport is armed", nullptr, 0));
    playing = addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, L"Playing", L"Playing",
                                                  L"Transport is playing", nullptr, 0));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(stopped);
}

std::wstring ZylTransportStateDomain::getShortName() const { return L"Transport"; }

std::wstring ZylTransportStateDomain::getName() const { return L"Transport state"; }

std::wstring ZylTransportStateDomain::getDescription() const
{
    return L"Transport state: stopped, armed or playing";
}
