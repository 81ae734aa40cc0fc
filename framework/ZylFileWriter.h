#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <functional>
#include <memory>

// Replaces a file's whole content so that afterwards it holds either all of the new data or,
// when anything went wrong, exactly what it held before. juce::File::replaceWithData ignores
// the result of its write and moves its temporary file over the target in every case: on a
// full disk an old bank became an empty file and the save reported success.
class ZylFileWriter
{
public:
    // Writes the data to a juce::TemporaryFile beside target through a juce::FileOutputStream,
    // and moves it over target only when the stream opened, took every byte, reports no error
    // after its flush, and the written file holds every byte. False on any failure, with target
    // untouched and the temporary file removed.
    static bool replaceWithData(const juce::File& target, const void* data, size_t size);

    // Opens the stream a temporary file is written through.
    using StreamOpener = std::function<std::unique_ptr<juce::FileOutputStream>(const juce::File&)>;

    // Puts another opener in place for the life of the object (tests open a stream that fails
    // as a full disk does); the default opens a juce::FileOutputStream on the file.
    class ScopedStreamOpener
    {
    public:
        explicit ScopedStreamOpener(StreamOpener opener);
        ~ScopedStreamOpener();

        ScopedStreamOpener(const ScopedStreamOpener&) = delete;
        ScopedStreamOpener& operator=(const ScopedStreamOpener&) = delete;

    private:
        StreamOpener previous;
    };
};
