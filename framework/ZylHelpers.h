#pragma once

#include <juce_core/juce_core.h>

#include <string>

// Small stateless text helpers shared by the vocabularies and the parameters.

// Widens an ASCII text byte by byte into target (resized to the text's length).
void assignNarrowToWide(const char* text, std::wstring& target);

std::wstring toStdWString(const juce::String& text);
