#pragma once

#include "framework/ZylFileWriter.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <vector>

namespace zyltest
{
// For the life of the object every file ZylFileWriter writes fails as on a full disk.
class FullDisk
{
public:
    enum class Where
    {
        // write() takes the first half of the bytes into the temporary file and refuses the rest.
        atWrite,
        // Every write lands in the stream's buffer, and the flush fails with "no space left on
        // device" (a stream on /dev/full).
        atFlush,
    };

    // The kinds this system can show: atFlush needs /dev/full.
    static std::vector<Where> kinds()
    {
        std::vector<Where> result { Where::atWrite };
#if JUCE_LINUX
        if (juce::File("/dev/full").exists())
            result.push_back(Where::atFlush);
#endif
        return result;
    }

    explicit FullDisk(Where where)
        : opener([where](const juce::File& file) -> std::unique_ptr<juce::FileOutputStream> {
              if (where == Where::atFlush)
                  return std::make_unique<juce::FileOutputStream>(juce::File("/dev/full"));
              return std::make_unique<HalfWritingStream>(file);
          })
    {
    }

private:
    struct HalfWritingStream : juce::FileOutputStream
    {
        using juce::FileOutputStream::FileOutputStream;
        bool write(const void* data, size_t size) override
        {
            juce::FileOutputStream::write(data, size / 2);
            return false;
        }
    };

    ZylFileWriter::ScopedStreamOpener opener;
};
} // namespace zyltest
