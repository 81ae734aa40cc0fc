#include "framework/ZylPropertySet.h"

#include "framework/ZylDebug.h"
#include "framework/ZylStateXml.h"

namespace
{
constexpr const char* kTransientPrefix = "$tmp/";

bool isAsciiLetter(juce::juce_wchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
} // namespace

ZylPropertySet::ZylPropertySet() : juce::PropertySet(false)
{
}

bool ZylPropertySet::isTransientKey(const juce::String& key)
{
    return key.startsWith(kTransientPrefix);
}

bool ZylPropertySet::isWritableKey(const juce::String& key)
{
    auto p = key.getCharPointer();
    if (p.isEmpty() || !(isAsciiLetter(*p) || *p == '_' || *p == ':'))
        return false;
    for (++p; !p.isEmpty(); ++p)
    {
        const auto c = *p;
        if (!(isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == ':' || c == '-'
              || c == '.'))
            return false;
    }
    return true;
}

std::unique_ptr<juce::XmlElement> ZylPropertySet::createXml(bool includeTransient) const
{
    auto element = std::make_unique<juce::XmlElement>(ZylStateTags::kProperties);
    const juce::ScopedLock sl(getLock());
    const auto& all = const_cast<ZylPropertySet*>(this)->getAllProperties();
    int written = 0;
    for (int i = 0; i < all.size(); ++i)
    {
        const auto key = all.getAllKeys()[i];
        if (!includeTransient && isTransientKey(key))
            continue;
        if (!isWritableKey(key))
        {
            zylDebugLine("property key not written: " + key);
            continue;
        }
        if (written == kMaxStateAttributes)
        {
            zylDebugLine("property not written, the set is full: " + key);
            continue;
        }
        element->setAttribute(key, all.getAllValues()[i]);
        ++written;
    }
    return element;
}

void ZylPropertySet::restoreFromXml(const juce::XmlElement* element)
{
    if (element == nullptr)
        return;
    // The loader hands in at most kMaxStateAttributes attributes; the set takes new keys only
    // while it holds fewer than that, so that it always saves whole.
    const juce::ScopedLock sl(getLock());
    const int count = element->getNumAttributes();
    for (int i = 0; i < count; ++i)
    {
        const auto& key = element->getAttributeName(i);
        if (getAllProperties().size() >= kMaxStateAttributes && !containsKey(key))
        {
            zylDebugLine("property not read, the set is full: " + key);
            continue;
        }
        setValue(key, element->getAttributeValue(i));
    }
}
