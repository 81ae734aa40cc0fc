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
        // Every write reports success but the last bytes never reach the file: what a short
        // write at the final flush does, which juce::FileOutputStream does not report (a disk
        // with less room left than the stream's buffer held).
        silentlyShort,
    };

    // The kinds this system can show: atFlush needs /dev/full.
    static std::vector<Where> kinds()
    {
        std::vector<Where> result { Where::atWrite, Where::silentlyShort };
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
              if (where == Where::silentlyShort)
                  return std::make_unique<ShortWritingStream>(file);
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

    struct ShortWritingStream : juce::FileOutputStream
    {
        using juce::FileOutputStream::FileOutputStream;
        bool write(const void* data, size_t size) override
        {
            juce::FileOutputStream::write(data, size - size / 4);
            return true;
        }
    };

    ZylFileWriter::ScopedStreamOpener opener;
};
} // namespace zyltest
