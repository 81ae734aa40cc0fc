#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

// The guard of the program's settings file, run before juce::PropertiesFile reads it. That
// class hands the file to the framework's XML parser, which recurses once per nesting level: a
// file of some ten thousand nested elements overflows the stack, at every start, since the
// program never gets as far as rewriting it. And a save killed half-way leaves the temporary
// file of juce::TemporaryFile beside the settings file, where nothing would ever remove it.
class ZylSettingsFile
{
public:
    // The largest settings file read: room for the base64 text of a state as large as the
    // largest bank file the loader accepts, and for the window and audio settings.
    static constexpr juce::int64 kMaxSize = 96 * 1024 * 1024;

    // Elements nest at most this deep. A settings file nests four levels (the properties, a
    // value, the audio setup and its entries).
    static constexpr int kMaxDepth = 64;

    // A temporary file left by a save is removed only when it was last written this long ago,
    // so that a second instance starting during the first one's save leaves that save alone.
    static constexpr int kLeftoverAgeSeconds = 60;

    // Whether the bytes may be handed to the framework's XML parser: at most kMaxSize bytes of
    // valid UTF-8 (after an optional byte order mark) that form one well-formed XML document of
    // at most kMaxDepth levels, within the attribute and node bounds of a state document
    // (isXmlWithinBounds; the length of a value is bounded by the size only), whose values that
    // begin with "<" pass the same check, since the properties file parses them again when it
    // saves. A settings file this program writes always passes.
    static bool isSafeToParse(const void* data, size_t size);

    // The same for a file, whose size is checked before it is read. A file that cannot be read
    // fails.
    static bool isSafeToParse(const juce::File& file);

    // What prepare found and did.
    struct Prepared
    {
        enum class Outcome
        {
            // No file, or one safe to parse: the properties file may read it.
            ready,
            // The file was not safe to parse and now lies at movedTo.
            movedAside,
            // The file is not safe to parse and could not be moved (a read-only folder, a file
            // the user may not remove): it must not be read, and must not be written over,
            // since it is the only copy of what it holds.
            leftInPlace
        };

        Outcome outcome = Outcome::ready;
        juce::File movedTo;
    };

    // Gets the settings file ready to be read: removes what saves of it left behind
    // (isLeftoverOf, older than kLeftoverAgeSeconds) and moves a file that is not safe to parse
    // to damagedFileOf(file), or to a free name beside it ("<name>(2).damaged" and so on) when
    // that name is taken, so that the program starts with its factory state and its next save
    // writes a good file. A damaged file is never deleted: one that cannot be moved stays where
    // it is.
    static Prepared prepare(const juce::File& file);

    // "<name>.damaged" beside the settings file.
    static juce::File damagedFileOf(const juce::File& file);

    // Whether candidate is a file juce::TemporaryFile makes beside file when it is saved: in
    // the same folder, the name without extension, "_temp", the hexadecimal digits of a random
    // number, maybe a retry number (when the first choice existed), then the extension.
    static bool isLeftoverOf(const juce::File& candidate, const juce::File& file);
};
