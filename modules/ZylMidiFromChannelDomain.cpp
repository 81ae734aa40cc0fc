#include "modules/ZylMidiFromChannelDomain.h"

namespace
{
constexpr int kNumMidiChannels = 16;
} // namespace

ZylMidiFromChannelDomain::ZylMidiFromChannelDomain(ZylDomainSet* owningSet) : ZylRealDomain(owningSet)
{
    addValue(std::make_unique<ZylMidiFromChannelValue>(this, 0, 0.0f, 0.0, L"All", L"All",
                                     L"Receiving from all channels"));
    for (int channel = 1; channel <= kNumMidiChannels; ++channel)
        addValue(std::make_unique<ZylMidiFromChannelValue>(this, 0, 0.0f, 0.0, std::to_wstring(channel), L"",
                                         L""));
    distributePositions();
    renumberIds();
    renumberIndexes();
    setDefaultValue(getValues().front());
}

std::wstring ZylMidiFromChannelDomain::getShortName() const { return L"Channel"; }

std::wstring ZylMidiFromChannelDomain::getName() const { return L"Midi input channel"; }

std::wstring ZylMidiFromChannelDomain::getDescription() const { return L"Midi channel we are receiving input from"; }
