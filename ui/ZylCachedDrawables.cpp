#include "ui/ZylCachedDrawables.h"

#include "framework/ZylHelpers.h"
#include "framework/ZylModuleContainer.h"
#include "ui/ZylCachedDrawable.h"

namespace
{
void deleteCache(ZylCachedDrawables* cache)
{
    delete cache;
}
} // namespace

ZylCachedDrawables::ZylCachedDrawables() = default;

ZylCachedDrawables::~ZylCachedDrawables()
{
    clear();
}

ZylCachedDrawables& ZylCachedDrawables::of(ZylModuleContainer& container)
{
    if (auto* existing = container.getDrawables())
        return *existing;
    auto* cache = new ZylCachedDrawables();
    container.setDrawables(cache, &deleteCache);
    return *cache;
}

ZylCachedDrawable* ZylCachedDrawables::find(const juce::String& name)
{
    const juce::ScopedLock scoped(lock);
    const auto found = entries.find(toStdWString(name));
    return found != entries.end() ? found->second.get() : nullptr;
}

ZylCachedDrawable* ZylCachedDrawables::add(const juce::String& name, ZylCachedDrawable* entry)
{
    const juce::ScopedLock scoped(lock);
    const auto key = toStdWString(name);
    const auto found = entries.find(key);
    if (found != entries.end())
        return found->second.get();
    if (entry == nullptr)
        return nullptr;
    auto* stored = entry;
    entries.emplace(key, std::unique_ptr<ZylCachedDrawable>(entry));
    return stored;
}

void ZylCachedDrawables::clear()
{
    const juce::ScopedLock scoped(lock);
    entries.clear();
}
