#pragma once

#include "ui/ZylCachedDrawable.h"

#include <cstddef>

// A cache entry built from an SVG member of an embedded zip archive, parsed on the first
// getDrawable and kept afterwards. A member that is missing or cannot be read gives null and
// holds nothing, so the next call tries again.
class ZylCachedSVG : public ZylCachedDrawable
{
public:
    // data: the archive's bytes, not owned (static program data that outlives the entry).
    ZylCachedSVG(const void* data, std::size_t size, const juce::String& name);
    ~ZylCachedSVG() override = default;

    juce::Drawable* getDrawable() override;

private:
    const void* data;
    std::size_t size;
    juce::String name;
    bool valid = true;
};
