#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

// A deflate zip archive built into the program (resources/, packed at build time). It is a view
// on static bytes: copying it is cheap and it never owns anything.
//
// Entries are read through juce::ZipFile each time they are asked for. A missing or damaged
// entry (unknown name, unsupported compression, a length that differs from the directory's) is
// reported with a debug line and reads as nothing; no input makes the reader crash.
class ZylEmbeddedArchive
{
public:
    // An empty archive (no bytes); every read reports a missing entry.
    ZylEmbeddedArchive() = default;
    ZylEmbeddedArchive(const void* archiveData, std::size_t archiveSize);

    // The archive packed under name (the name given in resources/archives.cmake); an empty
    // archive, with a debug line, when there is none.
    static ZylEmbeddedArchive find(const char* name);

    const void* getData() const noexcept { return data; }
    std::size_t getSize() const noexcept { return size; }
    bool isEmpty() const noexcept { return data == nullptr || size == 0; }

    // A stream over the archive's bytes; the caller owns it.
    std::unique_ptr<juce::InputStream> createStream() const;

    // The entry's bytes into out; false (with a debug line, out left empty) when the entry is
    // missing or damaged.
    bool readEntry(const juce::String& entryName, juce::MemoryBlock& out) const;
    bool readEntry(int entryIndex, juce::MemoryBlock& out) const;

    // Reads one entry of an open archive; the same checks and reports as readEntry. label names
    // the archive in the debug line.
    static bool readZipEntry(juce::ZipFile& zip, int entryIndex, juce::MemoryBlock& out,
                             const juce::String& label);

private:
    const void* data = nullptr;
    std::size_t size = 0;
};
