#pragma once

#include <vector>

class ZylCableBase;

// A module's connection point: the cables plugged into it, not owned, in plug order; a cable
// may stand twice. The two flags (set by the creating module before the pin is added) say
// whether the cables are cleared every block and on a reset.
class ZylPinBase
{
public:
    ZylPinBase() = default;
    virtual ~ZylPinBase() = default;

    // Appends the cable without looking for it first.
    virtual void connect(ZylCableBase* cable);
    // Removes every occurrence of the cable, keeping the order of the others.
    virtual void disconnect(ZylCableBase* cable);
    virtual const std::vector<ZylCableBase*>& getCables() const;
    virtual bool isClearedEachBlock() const;
    virtual void setClearedEachBlock(bool flag);
    virtual bool isClearedOnReset() const;
    virtual void setClearedOnReset(bool flag);
    // clear on every cable in list order (a cable listed twice is cleared twice).
    virtual void clearCables();

    ZylPinBase(const ZylPinBase&) = delete;
    ZylPinBase& operator=(const ZylPinBase&) = delete;

private:
    std::vector<ZylCableBase*> cables;
    bool clearedEachBlock = false;
    bool clearedOnReset = false;
};
