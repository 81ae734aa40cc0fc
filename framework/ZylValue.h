#pragma once

#include "framework/ZylIntVector.h"
#include "framework/ZylNumberText.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <string>
#include <vector>

class ZylRealDomain;

// One entry of a domain's vocabulary. The id is what saved state holds; the position (0..1) is
// what the host sees; the index is the entry's place in its domain's list as last renumbered.
// Vocabulary subclasses add members after these and virtual operations after the ones below.
class ZylValue
{
public:
    // tags may be null; they are copied. The index starts at 0.
    ZylValue(ZylRealDomain* domain, int id, float position, double data, const std::wstring& name,
             const std::wstring& label, const std::wstring& description,
             const ZylIntVector* tags, int code);
    virtual ~ZylValue() = default;

    virtual int getId() const;
    virtual ZylRealDomain* getDomain() const;
    // The name, or, when it is empty, the position printed with six decimals ("0.250000").
    virtual std::wstring getName() const;
    // getName read as a number: the longest leading number, 0 when there is none.
    virtual double getNameAsNumber() const;
    // The label, or getName when the label is empty.
    virtual std::wstring getLabel() const;
    virtual std::wstring getDescription() const;
    // Stores the text; with notify and a domain, the domain posts code with itself as sender.
    virtual void setName(const std::wstring& text, int code, bool notify);
    virtual void setLabel(const std::wstring& text, int code, bool notify);
    // Formats x with the printf format (at most 127 characters) and calls setName.
    virtual void setNameFromNumber(double x, int code, const char* format, bool notify);
    virtual void setDescription(const std::wstring& text);
    virtual double getData() const;
    virtual void setData(double x);
    // A "val" element with "i" = getIndex() and "n" = getName(); the caller owns it.
    virtual std::unique_ptr<juce::XmlElement> createXml() const;
    // Takes the name from a "val" element's "n"; a null element, another tag or a missing "n"
    // changes nothing.
    virtual void restoreFromXml(const juce::XmlElement* element, bool notify);
    virtual bool hasTag(int tag) const;
    virtual int getCode() const;
    virtual int getIndex() const;
    virtual void setIndex(int newIndex);
    virtual float getPosition() const;
    virtual void setPosition(float newPosition);
    virtual void setId(int newId);

private:
    int id;
    float position;
    double data;
    std::wstring name;
    std::wstring label;
    std::wstring description;
    ZylRealDomain* domain;
    ZylIntVector tags;
    int code;
    int index = 0;

    JUCE_DECLARE_NON_COPYABLE(ZylValue)
};

