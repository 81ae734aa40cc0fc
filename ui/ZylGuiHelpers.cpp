#include "ui/ZylGuiHelpers.h"

#include "resources/ZylEmbeddedArchive.h"
#include "ui/ZylUiSeam.h"

#include <cmath>

std::unique_ptr<juce::Drawable> createDrawableFromZip(const void* zipData, size_t zipSize,
                                                      const juce::String& entryName)
{
    if (zipData == nullptr || zipSize == 0)
        return nullptr;

    juce::MemoryInputStream archiveStream(zipData, zipSize, false);
    juce::ZipFile archive(archiveStream);
    const int index = archive.getIndexOfFileName(entryName);
    if (index < 0)
        return nullptr;

    std::unique_ptr<juce::InputStream> entry(archive.createStreamForEntry(index));
    if (entry == nullptr)
        return nullptr;
    return juce::Drawable::createFromImageDataStream(*entry);
}

std::unique_ptr<juce::Drawable> createDrawableFromArchive(const char* archiveName,
                                                          const juce::String& entryName)
{
    const auto archive = ZylEmbeddedArchive::find(archiveName);
    if (archive.isEmpty())
        return nullptr;
    return createDrawableFromZip(archive.getData(), archive.getSize(), entryName);
}

void fillStriped(juce::Graphics& g, juce::Colour colour, int width, int height)
{
    g.fillAll(colour);
    g.setColour(colour.overlaidWith(juce::Colours::lightblue.withAlpha(0.17f)));
    // Only the bars that meet the clip: repainting a small area (a blinking button) does not
    // walk every bar of a tall component.
    const auto clip = g.getClipBounds();
    const int first = juce::jmax(0, clip.getY());
    const int end = juce::jmin(height, clip.getBottom());
    for (int y = first + (3 - first % 3) % 3; y < end; y += 3)
        g.fillRect(0, y, width, 1);
}

std::unique_ptr<juce::Colour[]> makeHueColourTable(float a, float b, float saturation,
                                                   float brightness)
{
    auto table = std::make_unique<juce::Colour[]>(kHueColourTableSize);
    const float span = std::abs(b - a);
    for (int i = 0; i < kHueColourTableSize; ++i)
        table[static_cast<size_t>(i)] = juce::Colour::fromHSV(
            a + span * static_cast<float>(i) / static_cast<float>(kHueColourTableSize),
            saturation, brightness, 1.0f);
    return table;
}

int showModalDialog(const juce::String& title, juce::Component* content,
                    juce::Component* centreAround)
{
    ZylUiSeam::DialogRequest request;
    request.title = title;
    request.content = content;
    request.centreAround = centreAround;
    return ZylUiSeam::get().runModalDialog(request);
}
