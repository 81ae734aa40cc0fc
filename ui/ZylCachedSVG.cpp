#include "ui/ZylCachedSVG.h"

#include "ui/ZylGuiHelpers.h"

ZylCachedSVG::ZylCachedSVG(const void* archiveData, std::size_t archiveSize,
                           const juce::String& memberName)
    : data(archiveData), size(archiveSize), name(memberName)
{
}

juce::Drawable* ZylCachedSVG::getDrawable()
{
    if (auto* held = ZylCachedDrawable::getDrawable())
        return held;
    if (!valid || data == nullptr || size == 0 || name.isEmpty())
        return nullptr;
    auto built = createDrawableFromZip(data, size, name);
    auto* result = built.release();
    setDrawable(result);
    return result;
}
