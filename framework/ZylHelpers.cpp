#include "framework/ZylHelpers.h"

#include <cstring>

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
