#include "framework/ZylFileWriter.h"

#include <utility>

namespace
{
// Used on the message thread only, like the file commands that write through it.
ZylFileWriter::StreamOpener& streamOpener()
{
    static ZylFileWriter::StreamOpener opener;
    return opener;
}

std::unique_ptr<juce::FileOutputStream> openStream(const juce::File& file)
{
    if (const auto& opener = streamOpener())
        return opener(file);
    return std::make_unique<juce::FileOutputStream>(file);
}
} // namespace

bool ZylFileWriter::replaceWithData(const juce::File& target, const void* data, size_t size)
{
    const juce::TemporaryFile temporary(target);
    {
        auto out = openStream(temporary.getFile());
        if (out == nullptr || !out->openedOk())
            return false;
        if (size > 0 && !out->write(data, size))
            return false;
        // What the buffer held reaches the disk here; a failure shows only in the status.
        out->flush();
        if (out->getStatus().failed())
            return false;
    }
    // juce::FileOutputStream reports no error when the final flush writes only part of its
    // buffer (a disk with less room than the buffer held): the file's size tells.
    if (temporary.getFile().getSize() != static_cast<juce::int64>(size))
        return false;
    return temporary.overwriteTargetFileWithTemporary();
}

ZylFileWriter::ScopedStreamOpener::ScopedStreamOpener(StreamOpener opener)
    : previous(std::exchange(streamOpener(), std::move(opener)))
{
}

ZylFileWriter::ScopedStreamOpener::~ScopedStreamOpener()
{
    streamOpener() = std::move(previous);
}
