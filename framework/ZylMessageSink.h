#pragma once

// A receiver of the program's change messages. receiveMessage runs on the message thread only.
// A sink must remove itself from every source it registered with before it is destroyed.
class ZylMessageSink
{
public:
    virtual ~ZylMessageSink() = default;

    // sender: the object the message is about, as the source passed it (a domain passes its
    // ZylDomain*, a parameter its ZylParameter*). timeMs: see zylCurrentTimeMs.
    virtual void receiveMessage(void* sender, int code, int timeMs) = 0;
};
