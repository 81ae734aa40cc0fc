#pragma once

#include "ui/ZylPanel.h"

// An invisible panel: a gap inside a row of a parameter panel, or a row break when created with
// lineBreakAfter. It draws nothing at all but takes its preferred size in the flow.
class ZylSpacer : public ZylPanel
{
public:
    ZylSpacer(int width, int height, bool lineBreakAfter);

    void paint(juce::Graphics& g) override;
    void paintOverChildren(juce::Graphics& g) override;
};
