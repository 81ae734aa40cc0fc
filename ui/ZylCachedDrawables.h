#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <string>
#include <unordered_map>

class ZylCachedDrawable;
class ZylModuleContainer;

// A named collection of lazily built drawables (the large About and Help pages), kept by the
// module container so that every editor and panel of the process shares one copy. The map is
// guarded by its own lock; building a drawable happens in the entry, outside the lock.
class ZylCachedDrawables
{
public:
    ZylCachedDrawables();
    virtual ~ZylCachedDrawables();

    // The container's cache, created and handed to the container the first time it is asked for.
    static ZylCachedDrawables& of(ZylModuleContainer& container);

    // The entry stored under name, or null.
    virtual ZylCachedDrawable* find(const juce::String& name);
    // Stores entry under name and takes it over, returning it. When the name is taken already,
    // returns the stored entry and leaves entry with the caller.
    virtual ZylCachedDrawable* add(const juce::String& name, ZylCachedDrawable* entry);
    // Deletes every entry with its drawable.
    virtual void clear();

private:
    juce::CriticalSection lock;
    std::unordered_map<std::wstring, std::unique_ptr<ZylCachedDrawable>> entries;

    JUCE_DECLARE_NON_COPYABLE(ZylCachedDrawables)
};
