#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Small stateless helpers shared by the vocabularies, the panels and the views.

using ZylIntVector = std::vector<std::int32_t>;

// New integer lists holding the arguments in order.
std::unique_ptr<ZylIntVector> makeIntVector1(int a);
std::unique_ptr<ZylIntVector> makeIntVector2(int a, int b);
std::unique_ptr<ZylIntVector> makeIntVector3(int a, int b, int c);
std::unique_ptr<ZylIntVector> makeIntVector4(int a, int b, int c, int d);
std::unique_ptr<ZylIntVector> makeIntVector5(int a, int b, int c, int d, int e);
std::unique_ptr<ZylIntVector> makeIntVector7(int a, int b, int c, int d, int e, int f, int g);
// {0, b, c, 6, e, 10}
std::unique_ptr<ZylIntVector> makeIntervalVector(int b, int c, int e);
// {0, 1, ..., 11}
std::unique_ptr<ZylIntVector> makeChromaticVector();

// "[0 4 7]"; "[]" for a null or empty list.
std::wstring formatIntVector(const ZylIntVector* list);

// Opens the zip archive in memory, finds the entry by name and builds a drawable (SVG or image)
// from its bytes. Null when the archive, the entry or its content cannot be read.
std::unique_ptr<juce::Drawable> createDrawableFromZip(const void* zipData, size_t zipSize,
                                                      const juce::String& entryName);

// Fills the clip with colour, then draws 1-pixel bars across the width at y = 0, 3, 6 ... below
// height, in the colour overlaid with light blue at alpha 0.17.
void fillStriped(juce::Graphics& g, juce::Colour colour, int width, int height);

constexpr int kHueColourTableSize = 128;

// 128 opaque colours; colour i has the hue a + |b - a| * i / 128, so the hues always rise from a.
std::unique_ptr<juce::Colour[]> makeHueColourTable(float a, float b, float saturation,
                                                   float brightness);

// Widens an ASCII text byte by byte into target (resized to the text's length).
void assignNarrowToWide(const char* text, std::wstring& target);

std::wstring toStdWString(const juce::String& text);

// Shows content in a modal dialog (light grey, native title bar, closed by escape, fixed size)
// centred around centreAround (may be null) and returns the modal result. The caller keeps
// ownership of content; the dialog window itself is freed before returning.
int showModalDialog(const juce::String& title, juce::Component* content,
                    juce::Component* centreAround);
