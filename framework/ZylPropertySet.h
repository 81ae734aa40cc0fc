#pragma once

#include <juce_core/juce_core.h>

#include <memory>

// A module's string properties (help page, last used file names, editor size), kept in the
// state as one "prs" element whose attributes are the properties. Keys are case-sensitive and
// keep their insertion order. Keys beginning with "$tmp/" are transient: the module writer leaves
// them out, though a stored element that carries one is still read.
class ZylPropertySet : public juce::PropertySet
{
public:
    ZylPropertySet();
    ~ZylPropertySet() override = default;

    // A "prs" element with one attribute per property, in key order. A key that cannot be an
    // attribute name is skipped with a diagnostic line, so that one odd key never makes the
    // whole state unreadable. The caller owns the element.
    virtual std::unique_ptr<juce::XmlElement> createXml(bool includeTransient) const;

    // Every attribute of the element becomes a property, in attribute order; properties the
    // element does not mention keep their values. A null element changes nothing.
    virtual void restoreFromXml(const juce::XmlElement* element);

    static bool isTransientKey(const juce::String& key);

    // Whether key can be written as an attribute name that the state parser reads back:
    // an ASCII letter, '_' or ':' followed by ASCII letters, digits, '_', ':', '-' or '.'.
    static bool isWritableKey(const juce::String& key);

    JUCE_LEAK_DETECTOR(ZylPropertySet)
};
