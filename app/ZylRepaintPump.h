#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Makes a window's repaints reach the screen where the display gives no vertical blank.
//
// On Windows JUCE collects the areas that components ask to repaint and hands them to the system
// only at the vertical blank of the window's display, which it learns from DXGI. Where DXGI
// knows no output for the window's monitor (seen under Wine on a virtual X display), that never
// happens: the window keeps its first paint for ever, while everything behind it changes.
//
// The pump listens for the window's vertical blanks. While none has come for a while it flushes
// the pending repaints itself, at about the display rate; once they come it only listens.
// Message thread only; the window must outlive the pump.
class ZylRepaintPump : private juce::Timer
{
public:
    explicit ZylRepaintPump(juce::Component& window);
    ~ZylRepaintPump() override;

    static constexpr int kIntervalMs = 16;
    // How long without a vertical blank before the pump takes over.
    static constexpr juce::uint32 kSilenceMs = 250;

private:
    void timerCallback() override;

    juce::Component& window;
    juce::uint32 lastVBlankMs;
    juce::VBlankAttachment vBlank;
};
