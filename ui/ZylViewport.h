#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A viewport on an opaque dark grey ground that leaves the mouse wheel to its parent instead of
// scrolling.
class ZylViewport : public juce::Viewport
{
public:
    static constexpr juce::uint32 kGroundColour = 0xff555555;

    explicit ZylViewport(const juce::String& name = {});

    void paint(juce::Graphics& g) override;
    void mouseWheelMove(const juce::MouseEvent& event, const juce::MouseWheelDetails& wheel) override;
};
