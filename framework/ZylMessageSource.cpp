#include "framework/ZylMessageSource.h"

#include "framework/ZylMessage.h"

void ZylMessageSource::postMessage(void* sender, int code)
{
    postTimedMessage(sender, code, zylCurrentTimeMs());
}

void ZylMessageSource::postCoalescedMessage(void* sender, int code)
{
    sinkList.postCoalesced(sender, code, zylCurrentTimeMs());
}

void ZylMessageSource::postTimedMessage(void* sender, int code, int timeMs)
{
    sinkList.post(sender, code, timeMs);
}
