#include "ui/ZylCachedDrawable.h"

ZylCachedDrawable::~ZylCachedDrawable()
{
    releaseDrawable();
}

juce::Drawable* ZylCachedDrawable::getDrawable()
{
    return drawable;
}

void ZylCachedDrawable::releaseDrawable()
{
    if (drawable == nullptr)
        return;
    std::unique_ptr<juce::Drawable> released(drawable);
    drawable = nullptr;
}

void ZylCachedDrawable::setDrawable(juce::Drawable* newDrawable)
{
    releaseDrawable();
    drawable = newDrawable;
}
