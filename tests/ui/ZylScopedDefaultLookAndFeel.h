#pragma once

#include "ui/ZylLookAndFeel.h"

namespace zyltest
{
// Makes the program's look-and-feel the default for the lifetime of the object, as the product
// does, so that components built meanwhile take its colours and fonts. Declare it before them.
struct ScopedDefaultLookAndFeel
{
    ScopedDefaultLookAndFeel() { juce::LookAndFeel::setDefaultLookAndFeel(&lookAndFeel); }
    ~ScopedDefaultLookAndFeel() { juce::LookAndFeel::setDefaultLookAndFeel(nullptr); }

    ZylLookAndFeel lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE(ScopedDefaultLookAndFeel)
};
} // namespace zyltest
