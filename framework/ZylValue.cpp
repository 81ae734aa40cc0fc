#include "framework/ZylValue.h"

#include "framework/ZylDomain.h"
#include "framework/ZylHelpers.h"
#include "framework/ZylParameterEpoch.h"
#include "framework/ZylRealDomain.h"

#include <algorithm>

namespace
{
constexpr size_t kNumberTextSize = 128;
const char* const kValueTag = "val";
} // namespace

ZylValue::ZylValue(ZylRealDomain* owner, int valueId, float valuePosition, double valueData,
                   const std::wstring& valueName, const std::wstring& valueLabel,
                   const std::wstring& valueDescription, const ZylIntVector* valueTags,
                   int valueCode)
    : id(valueId),
      position(valuePosition),
      data(valueData),
      name(valueName),
      label(valueLabel),
      description(valueDescription),
      domain(owner),
      tags(valueTags != nullptr ? *valueTags : ZylIntVector()),
      code(valueCode)
{
}

int ZylValue::getId() const { return id; }

ZylRealDomain* ZylValue::getDomain() const { return domain; }

std::wstring ZylValue::getName() const
{
    if (!name.empty())
        return name;
    std::wstring text;
    assignNarrowToWide(zylFormatNumbers("%f", { static_cast<double>(position) }).c_str(), text);
    return text;
}

double ZylValue::getNameAsNumber() const { return zylParseLeadingNumber(getName()); }

std::wstring ZylValue::getLabel() const { return label.empty() ? getName() : label; }

std::wstring ZylValue::getDescription() const { return description; }

void ZylValue::setName(const std::wstring& text, int postCode, bool notify)
{
    name = text;
    ZylParameterEpoch::advance();
    if (notify && domain != nullptr)
        domain->postMessage(static_cast<ZylDomain*>(domain), postCode);
}

void ZylValue::setLabel(const std::wstring& text, int postCode, bool notify)
{
    label = text;
    if (notify && domain != nullptr)
        domain->postMessage(static_cast<ZylDomain*>(domain), postCode);
}

void ZylValue::setNameFromNumber(double x, int postCode, const char* format, bool notify)
{
    // The text of a buffer of kNumberTextSize characters, as a C formatter would leave it.
    auto narrow = zylFormatNumbers(format, { x });
    if (narrow.size() >= kNumberTextSize)
        narrow.resize(kNumberTextSize - 1);
    std::wstring text;
    assignNarrowToWide(narrow.c_str(), text);
    setName(text, postCode, notify);
}

void ZylValue::setDescription(const std::wstring& text) { description = text; }

double ZylValue::getData() const { return data; }

void ZylValue::setData(double x)
{
    data = x;
    ZylParameterEpoch::advance();
}

std::unique_ptr<juce::XmlElement> ZylValue::createXml() const
{
    auto element = std::make_unique<juce::XmlElement>(kValueTag);
    element->setAttribute("i", getIndex());
    element->setAttribute("n", juce::String(getName().c_str()));
    return element;
}

void ZylValue::restoreFromXml(const juce::XmlElement* element, bool notify)
{
    if (element == nullptr || !element->hasTagName(kValueTag) || !element->hasAttribute("n"))
        return;
    setName(toStdWString(element->getStringAttribute("n")), 0, notify);
}

bool ZylValue::hasTag(int tag) const
{
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

int ZylValue::getCode() const { return code; }

int ZylValue::getIndex() const { return index; }

void ZylValue::setIndex(int newIndex)
{
    index = newIndex;
    ZylParameterEpoch::advance();
}

float ZylValue::getPosition() const { return position; }

void ZylValue::setPosition(float newPosition)
{
    position = newPosition;
    ZylParameterEpoch::advance();
}

void ZylValue::setId(int newId) { id = newId; }
