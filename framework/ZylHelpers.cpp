#include "framework/ZylHelpers.h"

#include <cmath>
#include <cstring>

namespace
{
std::unique_ptr<ZylIntVector> makeList(std::initializer_list<std::int32_t> items)
{
    return std::make_unique<ZylIntVector>(items);
}
} // namespace

std::unique_ptr<ZylIntVector> makeIntVector1(int a) { return makeList({ a }); }

std::unique_ptr<ZylIntVector> makeIntVector2(int a, int b) { return makeList({ a, b }); }

std::unique_ptr<ZylIntVector> makeIntVector3(int a, int b, int c) { return makeList({ a, b, c }); }

std::unique_ptr<ZylIntVector> makeIntVector4(int a, int b, int c, int d)
{
    return makeList({ a, b, c, d });
}

std::unique_ptr<ZylIntVector> makeIntVector5(int a, int b, int c, int d, int e)
{
    return makeList({ a, b, c, d, e });
}

std::unique_ptr<ZylIntVector> makeIntVector7(int a, int b, int c, int d, int e, int f, int g)
{
    return makeList({ a, b, c, d, e, f, g });
}

std::unique_ptr<ZylIntVector> makeIntervalVector(int b, int c, int e)
{
    return makeList({ 0, b, c, 6, e, 10 });
}

std::unique_ptr<ZylIntVector> makeChromaticVector()
{
    auto list = std::make_unique<ZylIntVector>();
    for (std::int32_t i = 0; i < 12; ++i)
        list->push_back(i);
    return list;
}

std::wstring formatIntVector(const ZylIntVector* list)
{
    std::wstring text = L"[";
    if (list != nullptr)
    {
        for (size_t i = 0; i < list->size(); ++i)
        {
            if (i > 0)
                text += L' ';
            text += std::to_wstring((*list)[i]);
        }
    }
    text += L']';
    return text;
}

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

void fillStriped(juce::Graphics& g, juce::Colour colour, int width, int height)
{
    g.fillAll(colour);
    g.setColour(colour.overlaidWith(juce::Colours::lightblue.withAlpha(0.17f)));
    for (int y = 0; y < height; y += 3)
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

void assignNarrowToWide(const char* text, std::wstring& target)
{
    const size_t length = text != nullptr ? std::strlen(text) : 0;
    target.resize(length);
    for (size_t i = 0; i < length; ++i)
        target[i] = static_cast<wchar_t>(static_cast<unsigned char>(text[i]));
}

std::wstring toStdWString(const juce::String& text)
{
    return std::wstring(text.toWideCharPointer());
}

int showModalDialog(const juce::String& title, juce::Component* content,
                    juce::Component* centreAround)
{
    juce::DialogWindow::LaunchOptions options;
    options.dialogTitle = title;
    options.dialogBackgroundColour = juce::Colours::lightgrey;
    options.content.setNonOwned(content);
    options.componentToCentreAround = centreAround;
    options.escapeKeyTriggersCloseButton = true;
    options.useNativeTitleBar = true;
    options.resizable = false;
    options.useBottomRightCornerResizer = false;

    std::unique_ptr<juce::DialogWindow> window(options.create());
    if (window == nullptr)
        return 0;
    return window->runModalLoop();
}
