#include "modules/ZylMidiToChannelDomain.h"

namespace
{
constexpr int kNumMidiChannels = 16;
} // namespace

ZylMidiToChannelDomain::ZylMidiToChannelDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    for (int channel = 1; channel <= kNumMidiChannels; ++channel)
        addValue(std::make_unique<ZylMidiToChannelValue>(this, 0, 0.0f, 0.0, std::to_wstring(channel), L"",
                                         L""));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylMidiToChannelDomain::getShortName() const { return L"Channel"; }

std::wstring ZylMidiToChannelDomain::getName() const { return L"Midi output channel"; }

std::wstring ZylMidiToChannelDomain::getDescription() const { return L"Midi channel we are sending output to"; }
