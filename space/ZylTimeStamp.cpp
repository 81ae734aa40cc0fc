#include "space/ZylTimeStamp.h"

#include <limits>

void ZylTimeStamp::acknowledge()
{
    acknowledged = count;
}

bool ZylTimeStamp::hasChanged() const
{
    return acknowledged != count;
}

std::int32_t ZylTimeStamp::touch()
{
    count = (count == std::numeric_limits<std::int32_t>::max()) ? 0 : count + 1;
    return count;
}

std::int32_t ZylTimeStamp::getTime() const
{
    return count;
}

std::int32_t ZylTimeStamp::getAcknowledged() const
{
    return acknowledged;
}
