#pragma once

#include "framework/ZylRealDomain.h"

// The play states "Stopped" (the default), "Armed" and "Playing". All three carry the data 0: a
// state is told by its value object (getStopped, getArmed, getPlaying), never by number or name.
class ZylTransportStateDomain : public ZylRealDomain
{
public:
    explicit ZylTransportStateDomain(ZylDomainSet* owningSet);
    ~ZylTransportStateDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;

    ZylValue* getStopped() const noexcept { return stopped; }
    ZylValue* getArmed() const noexcept { return armed; }
    ZylValue* getPlaying() const noexcept { return playing; }

private:
    ZylValue* stopped = nullptr;
    ZylValue* armed = nullptr;
    ZylValue* playing = nullptr;
};
