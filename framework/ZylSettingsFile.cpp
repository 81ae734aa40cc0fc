#include "framework/ZylSettingsFile.h"

#include "framework/ZylStateXml.h"

#include <climits>
#include <cstring>

bool ZylSettingsFile::isSafeToParse(const void* data, size_t size)
{
    if (data == nullptr || size > static_cast<size_t>(kMaxSize))
        return false;
    auto* bytes = static_cast<const char*>(data);
    // The framework's file reader drops a UTF-8 byte order mark, which an editor may add.
    if (size >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0)
    {
        bytes += 3;
        size -= 3;
    }
    // The node budget of a state bounds what the parser builds; a settings file holds some tens
    // of nodes. The stored state is one long value.
    ZylXmlBounds bounds;
    bounds.maxDepth = kMaxDepth;
    bounds.maxTextLength = INT_MAX;
    if (!isXmlWithinBounds(bytes, size, bounds))
        return false;
    // juce::PropertiesFile hands every value that looks like XML to the parser again when it
    // saves (and the window parses the audio setup's): a value's text, written with entities
    // in the file, must pass the same check.
    const auto document = juce::parseXML(juce::String::fromUTF8(bytes, static_cast<int>(size)));
    if (document == nullptr)
        return false;
    for (const auto* value : document->getChildIterator())
    {
        const auto text = value->getStringAttribute("val");
        if (text.trimStart().startsWithChar('<')
            && !isSafeToParse(text.toRawUTF8(), text.getNumBytesAsUTF8()))
            return false;
    }
    return true;
}

bool ZylSettingsFile::isSafeToParse(const juce::File& file)
{
    if (!file.existsAsFile() || file.getSize() > kMaxSize)
        return false;
    juce::MemoryBlock data;
    return file.loadFileAsData(data) && isSafeToParse(data.getData(), data.getSize());
}

ZylSettingsFile::Prepared ZylSettingsFile::prepare(const juce::File& file)
{
    const auto folder = file.getParentDirectory();
    const auto oldest = juce::Time::getCurrentTime() - juce::RelativeTime::seconds(kLeftoverAgeSeconds);
    for (const auto& entry : juce::RangedDirectoryIterator(folder, false, "*",
                                                           juce::File::findFiles))
        if (isLeftoverOf(entry.getFile(), file) && entry.getModificationTime() < oldest)
            entry.getFile().deleteFile();

    if (!file.existsAsFile() || isSafeToParse(file))
        return {};
    // The user may want to look into the file or mend it: it is moved, never deleted, and what
    // has that name already (a file moved aside before, a folder of the user's) stays.
    auto aside = damagedFileOf(file);
    if (aside.exists())
        aside = aside.getNonexistentSibling();
    if (file.moveFileTo(aside))
        return { Prepared::Outcome::movedAside, aside };
    return { Prepared::Outcome::leftInPlace, {} };
}

juce::File ZylSettingsFile::damagedFileOf(const juce::File& file)
{
    return file.getSiblingFile(file.getFileName() + ".damaged");
}

bool ZylSettingsFile::isLeftoverOf(const juce::File& candidate, const juce::File& file)
{
    if (candidate.getParentDirectory() != file.getParentDirectory()
        || candidate.getFileExtension() != file.getFileExtension())
        return false;
    const auto prefix = file.getFileNameWithoutExtension() + "_temp";
    const auto name = candidate.getFileNameWithoutExtension();
    if (!name.startsWith(prefix))
        return false;
    // A 32-bit number in hexadecimal, then the number of a retry: straight after a last letter,
    // after "_" when the number ends in a digit.
    const auto rest = name.substring(prefix.length());
    const auto random = rest.upToFirstOccurrenceOf("_", false, false);
    const auto retry = rest.fromFirstOccurrenceOf("_", false, false);
    if (random.isEmpty() || !random.containsOnly("0123456789abcdef"))
        return false;
    return !rest.containsChar('_') || (retry.isNotEmpty() && retry.containsOnly("0123456789"));
}
