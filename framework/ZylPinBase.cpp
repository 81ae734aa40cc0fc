#include "framework/ZylPinBase.h"

#include "framework/ZylCableBase.h"

#include <algorithm>

void ZylPinBase::connect(ZylCableBase* cable)
{
    cables.push_back(cable);
}

void ZylPinBase::disconnect(ZylCableBase* cable)
{
    cables.erase(std::remove(cables.begin(), cables.end(), cable), cables.end());
}

const std::vector<ZylCableBase*>& ZylPinBase::getCables() const
{
    return cables;
}

bool ZylPinBase::isClearedEachBlock() const
{
    return clearedEachBlock;
}

void ZylPinBase::setClearedEachBlock(bool flag)
{
    clearedEachBlock = flag;
}

bool ZylPinBase::isClearedOnReset() const
{
    return clearedOnReset;
}

void ZylPinBase::setClearedOnReset(bool flag)
{
    clearedOnReset = flag;
}

void ZylPinBase::clearCables()
{
    for (auto* cable : cables)
        if (cable != nullptr)
            cable->clear();
}
