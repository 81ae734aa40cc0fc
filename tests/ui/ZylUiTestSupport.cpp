#include "tests/ui/ZylUiTestSupport.h"

#include <cstdlib>

namespace zyltest
{
juce::MemoryBlock makeZip(const std::vector<std::pair<juce::String, juce::String>>& entries)
{
    juce::ZipFile::Builder builder;
    // A fixed date that a zip can hold (after 1980).
    const juce::Time date(2020, 0, 1, 0, 0);
    for (const auto& [name, content] : entries)
        builder.addEntry(new juce::MemoryInputStream(content.toRawUTF8(),
                                                     content.getNumBytesAsUTF8(), true),
                         9, name, date);
    juce::MemoryOutputStream out;
    builder.writeToStream(out, nullptr);
    return out.getMemoryBlock();
}

bool coloursNear(juce::Colour a, juce::Colour b, int tolerance)
{
    return std::abs(a.getRed() - b.getRed()) <= tolerance
           && std::abs(a.getGreen() - b.getGreen()) <= tolerance
           && std::abs(a.getBlue() - b.getBlue()) <= tolerance
           && std::abs(a.getAlpha() - b.getAlpha()) <= tolerance;
}

juce::MouseEvent wheelEventOver(juce::Component& component)
{
    auto source = juce::Desktop::getInstance().getMainMouseSource();
    const juce::Point<float> position(1.0f, 1.0f);
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent(source, position, juce::ModifierKeys(),
                            juce::MouseInputSource::defaultPressure,
                            juce::MouseInputSource::defaultOrientation,
                            juce::MouseInputSource::defaultRotation,
                            juce::MouseInputSource::defaultTiltX,
                            juce::MouseInputSource::defaultTiltY, &component, &component, now,
                            position, now, 0, false);
}
} // namespace zyltest
