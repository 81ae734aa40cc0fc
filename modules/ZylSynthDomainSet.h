#pragma once

#include "framework/ZylDomainSet.h"

class ZylGainDomain;

// The synth module's vocabulary: the one gain domain.
class ZylSynthDomainSet : public ZylDomainSet
{
public:
    ZylSynthDomainSet();
    ~ZylSynthDomainSet() override;

    virtual ZylGainDomain* getGainDomain() const;

private:
    ZylGainDomain* gainDomain;
};
