#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <utility>
#include <vector>

// Small fixtures shared by the interface tests.
namespace zyltest
{
// A deflate zip archive in memory holding the given (entry name, text) pairs.
juce::MemoryBlock makeZip(const std::vector<std::pair<juce::String, juce::String>>& entries);

// Colour channels within tolerance of each other (alpha included).
bool coloursNear(juce::Colour a, juce::Colour b, int tolerance = 2);

// A mouse-wheel event at (1, 1) of component, as the framework would deliver it.
juce::MouseEvent wheelEventOver(juce::Component& component);
} // namespace zyltest
