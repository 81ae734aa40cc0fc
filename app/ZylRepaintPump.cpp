#include "app/ZylRepaintPump.h"

ZylRepaintPump::ZylRepaintPump(juce::Component& windowToPump)
    : window(windowToPump),
      lastVBlankMs(juce::Time::getMillisecondCounter()),
      vBlank(&windowToPump, [this] { lastVBlankMs = juce::Time::getMillisecondCounter(); })
{
    startTimer(kIntervalMs);
}

ZylRepaintPump::~ZylRepaintPump()
{
    stopTimer();
}

void ZylRepaintPump::timerCallback()
{
    if (juce::Time::getMillisecondCounter() - lastVBlankMs <= kSilenceMs)
        return;
    if (auto* peer = window.getPeer())
        peer->performAnyPendingRepaintsNow();
}
