#include "tests/ui/ZylSnapshot.h"

namespace zyltest
{
juce::Image renderComponent(juce::Component& component, int width, int height)
{
    component.setBounds(0, 0, width, height);
    return component.createComponentSnapshot(component.getLocalBounds(), true, 1.0f);
}

bool writeSnapshot(juce::Component& component, int width, int height, const juce::File& file)
{
    const auto image = renderComponent(component, width, height);
    if (!file.getParentDirectory().createDirectory())
        return false;
    file.deleteFile();
    juce::FileOutputStream out(file);
    if (!out.openedOk())
        return false;
    juce::PNGImageFormat png;
    return png.writeImageToStream(image, out);
}

juce::File snapshotFolder()
{
    const auto folder = juce::SystemStats::getEnvironmentVariable("LUMENFOLD_SNAPSHOT_DIR", {});
    if (folder.isEmpty() || !juce::File::isAbsolutePath(folder))
        return {};
    return juce::File(folder);
}

void maybeWriteSnapshot(juce::Component& component, int width, int height,
                        const juce::String& name)
{
    const auto folder = snapshotFolder();
    if (folder == juce::File())
        return;
    writeSnapshot(component, width, height, folder.getChildFile(name + ".png"));
}
} // namespace zyltest
