#pragma once

#include <cstdint>

// A change counter: writers touch it on every change, a reader acknowledges the count it has
// seen and later asks whether anything changed since. Not thread-safe by itself; the owner's
// lock guards it.
class ZylTimeStamp
{
public:
    ZylTimeStamp() = default;
    virtual ~ZylTimeStamp() = default;
    ZylTimeStamp(const ZylTimeStamp&) = default;
    ZylTimeStamp& operator=(const ZylTimeStamp&) = default;

    virtual void acknowledge();
    virtual bool hasChanged() const;
    // The count wraps from 2147483647 to 0; returns the new count.
    virtual std::int32_t touch();
    virtual std::int32_t getTime() const;
    virtual std::int32_t getAcknowledged() const;

protected:
    std::int32_t count = 0;
    std::int32_t acknowledged = 0;
};
