#include "framework/ZylProgramDomainSet.h"

#include "framework/ZylProgramDomain.h"

ZylProgramDomainSet::ZylProgramDomainSet()
    : programDomain(addDomain(std::make_unique<ZylProgramDomain>(this)))
{
}
