#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// One entry of the drawable cache: holds (and owns) one drawable, possibly none.
class ZylCachedDrawable
{
public:
    ZylCachedDrawable() = default;
    virtual ~ZylCachedDrawable();

    // The held drawable, or null. Subclasses build it on demand.
    virtual juce::Drawable* getDrawable();
    // Deletes the held drawable, if any.
    virtual void releaseDrawable();
    // Replaces the held drawable (null allowed); the entry owns the new one.
    virtual void setDrawable(juce::Drawable* newDrawable);

private:
    juce::Drawable* drawable = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylCachedDrawable)
};
