#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Off-screen pictures of components, for pixel checks in tests and for looking at a panel
// without running the program. No window and no display are needed.
namespace zyltest
{
// Sizes component to width x height and paints it, with its children, into an image
// (Component::createComponentSnapshot at scale 1).
juce::Image renderComponent(juce::Component& component, int width, int height);

// Renders as above and writes a PNG to file (its folder is created). False when writing failed.
bool writeSnapshot(juce::Component& component, int width, int height, const juce::File& file);

// The folder named by the environment variable LUMENFOLD_SNAPSHOT_DIR, or an invalid File when
// it is not set: tests write their pictures only when asked to.
juce::File snapshotFolder();

// Writes a snapshot named name + ".png" into snapshotFolder(), when that is set.
void maybeWriteSnapshot(juce::Component& component, int width, int height,
                        const juce::String& name);
} // namespace zyltest
