#include "resources/ZylEmbeddedArchive.h"

#include "framework/ZylDebug.h"
#include "resources/ZylEmbeddedArchiveIndex.h"

#include <cstring>

namespace
{
// Entries larger than this are taken as damaged rather than read into memory.
constexpr juce::int64 kMaxEntryBytes = 64 * 1024 * 1024;
} // namespace

ZylEmbeddedArchive::ZylEmbeddedArchive(const void* archiveData, std::size_t archiveSize)
    : data(archiveData), size(archiveData != nullptr ? archiveSize : 0)
{
}

ZylEmbeddedArchive ZylEmbeddedArchive::find(const char* name)
{
    if (name != nullptr)
        for (const auto* row = zylEmbeddedArchiveRows; row->name != nullptr; ++row)
            if (std::strcmp(row->name, name) == 0)
                return { row->data, *row->size };
    zylDebugLine("embedded archive not found: " + juce::String(name != nullptr ? name : "(null)"));
    return {};
}

std::unique_ptr<juce::InputStream> ZylEmbeddedArchive::createStream() const
{
    return std::make_unique<juce::MemoryInputStream>(data, isEmpty() ? 0 : size, false);
}

bool ZylEmbeddedArchive::readEntry(const juce::String& entryName, juce::MemoryBlock& out) const
{
    out.reset();
    juce::MemoryInputStream stream(data, isEmpty() ? 0 : size, false);
    juce::ZipFile zip(stream);
    const int index = zip.getIndexOfFileName(entryName);
    if (index < 0)
    {
        zylDebugLine("archive entry missing: " + entryName);
        return false;
    }
    return readZipEntry(zip, index, out, entryName);
}

bool ZylEmbeddedArchive::readEntry(int entryIndex, juce::MemoryBlock& out) const
{
    out.reset();
    juce::MemoryInputStream stream(data, isEmpty() ? 0 : size, false);
    juce::ZipFile zip(stream);
    return readZipEntry(zip, entryIndex, out, "#" + juce::String(entryIndex));
}

bool ZylEmbeddedArchive::readZipEntry(juce::ZipFile& zip, int entryIndex, juce::MemoryBlock& out,
                                      const juce::String& label)
{
    out.reset();
    const auto* entry = zip.getEntry(entryIndex);
    if (entry == nullptr)
    {
        zylDebugLine("archive entry missing: " + label);
        return false;
    }
    if (entry->uncompressedSize < 0 || entry->uncompressedSize > kMaxEntryBytes)
    {
        zylDebugLine("archive entry damaged (size): " + entry->filename);
        return false;
    }
    std::unique_ptr<juce::InputStream> stream(zip.createStreamForEntry(entryIndex));
    if (stream == nullptr)
    {
        zylDebugLine("archive entry unreadable: " + entry->filename);
        return false;
    }
    const auto expected = static_cast<size_t>(entry->uncompressedSize);
    out.setSize(expected, true);
    const auto read = stream->read(out.getData(), static_cast<int>(expected));
    if (read != static_cast<int>(expected))
    {
        out.reset();
        zylDebugLine("archive entry damaged: " + entry->filename);
        return false;
    }
    return true;
}
