#pragma once

#include <juce_core/juce_core.h>

namespace zyltest
{
// Every character a device name or a value in the settings may hold: the ASCII controls and
// signs, which the XML writer turns into character references (&#10;, &#9;, &quot;, &amp;, &lt;
// ...), and Unicode beyond ASCII: accents, combining marks, scripts written right to left,
// characters beyond the Basic Multilingual Plane, the byte order mark and the last code points.
inline juce::String everyKindOfCharacter()
{
    juce::String text;
    for (juce::juce_wchar c = 1; c < 128; ++c)
        text += juce::String::charToString(c);
    for (const juce::juce_wchar c : { 0xe9, 0x301, 0x5d0, 0x627, 0x4e2d, 0xfeff, 0xfffd, 0xfffe,
                                      0xffff, 0x1f3b9, 0x1d11e, 0x10fffd, 0x10ffff })
        text += juce::String::charToString(c);
    return text + juce::String(juce::CharPointer_UTF8("e\xcc\x81 \xf0\x9f\x8e\xb9 <a/> &#10;"));
}
} // namespace zyltest
