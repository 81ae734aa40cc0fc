#pragma once

#include "framework/ZylDomainSet.h"

class ZylProgramDomain;

// The program module's vocabulary: the one program domain.
class ZylProgramDomainSet : public ZylDomainSet
{
public:
    ZylProgramDomainSet();
    ~ZylProgramDomainSet() override = default;

    ZylProgramDomain* getProgramDomain() const noexcept { return programDomain; }

private:
    ZylProgramDomain* programDomain;
};
