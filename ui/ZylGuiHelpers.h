#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstddef>
#include <memory>

// Drawing and dialog helpers of the interface layer.

// Opens the zip archive in memory, finds the entry by name and builds a drawable (SVG or image)
// from its bytes. Null when the archive, the entry or its content cannot be read.
std::unique_ptr<juce::Drawable> createDrawableFromZip(const void* zipData, size_t zipSize,
                                                      const juce::String& entryName);

// The same from an archive embedded in the program (resources/archives.cmake), found by its
// name (see ZylArtArchives.h). Null when the archive or the entry is missing or unreadable.
std::unique_ptr<juce::Drawable> createDrawableFromArchive(const char* archiveName,
                                                          const juce::String& entryName);

// Fills the clip with colour, then draws 1-pixel bars across the width at y = 0, 3, 6 ... below
// height, in the colour overlaid with light blue at alpha 0.17.
void fillStriped(juce::Graphics& g, juce::Colour colour, int width, int height);

constexpr int kHueColourTableSize = 128;

// 128 opaque colours; colour i has the hue a + |b - a| * i / 128, so the hues always rise from a.
std::unique_ptr<juce::Colour[]> makeHueColourTable(float a, float b, float saturation,
                                                   float brightness);

// Shows content in a modal dialog (light grey, native title bar, closed by escape, fixed size)
// centred around centreAround (may be null) through the current ZylUiSeam and returns the modal
// result. The caller keeps ownership of content; the dialog window itself is freed before
// returning.
int showModalDialog(const juce::String& title, juce::Component* content,
                    juce::Component* centreAround);
