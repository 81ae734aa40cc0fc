// The settings file as the program reads it at start: any bytes as the file, opened by JUCE's
// properties file with the program's options (XML, or JUCE's binary and compressed forms), then
// the window's reads: the audio setup's XML, the window position and the stored state, decoded
// from base64 and loaded into the product processor.

#include "app/MainAppWindow.h"
#include "app/lumenfoldApplication.h"
#include "framework/ZylStateXml.h"
#include "fuzz/ZylFuzzSupport.h"
#include "tests/app/ZylLumenfoldTestFilter.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace
{
// Three kinds of text stop JUCE's XML parser, and the program's start does not yet refuse them
// before it parses: deep nesting overflows its stack (it recurses once per level); a processing
// instruction followed by text inside an element makes it loop for ever (its text reader rolls
// back to before the instruction); so does a quoted value holding bytes that are not UTF-8, while
// its text grows without bound. Until the start checks the file and the stored audio setup
// first, texts that could be any of them are left out here, so that the campaign explores the
// rest: more than this many '<' (which bounds the depth), a "<?" anywhere but at the start, a
// document type declaration (whose entities could expand into either), or bytes that are not
// UTF-8. Files in JUCE's binary forms are read without the parser.
constexpr std::ptrdiff_t kMaxTagOpenings = 2000;

ZylFakeMidiPortBackend ports;
std::unique_ptr<zyltest::LumenfoldTestFilter> filter;
juce::MemoryBlock factoryState;
// Deleted when the fuzzer exits.
std::unique_ptr<juce::TemporaryFile> settingsFile;

bool stopsTheParser(const char* begin, const char* end)
{
    const auto size = static_cast<size_t>(end - begin);
    if (std::count(begin, end, '<') > kMaxTagOpenings || !isValidUtf8(begin, size))
        return true;
    const std::string_view text(begin, size);
    const auto firstInstruction = text.find("<?");
    if (firstInstruction != std::string_view::npos
        && (text.find("<?", firstInstruction + 2) != std::string_view::npos
            || text.find_first_not_of(" \t\r\n") != firstInstruction))
        return true;
    return text.find("<!D") != std::string_view::npos || text.find("<!d") != std::string_view::npos;
}

bool isBinarySettingsFile(const std::uint8_t* data, std::size_t size)
{
    return size >= 4
           && (std::memcmp(data, "PROP", 4) == 0 || std::memcmp(data, "CPRP", 4) == 0);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    zylfuzz::initialise();
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Standalone);
    filter = std::make_unique<zyltest::LumenfoldTestFilter>(&ports);
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);
    filter->initialise();
    zylfuzz::deliverMessages();
    filter->getStateInformation(factoryState);
    settingsFile = std::make_unique<juce::TemporaryFile>(".settings");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* text = reinterpret_cast<const char*>(data);
    if (!isBinarySettingsFile(data, size) && stopsTheParser(text, text + size))
        return 0;
    if (!settingsFile->getFile().replaceWithData(data, size))
        zylfuzz::fail("the settings file could not be written");

    juce::PropertiesFile settings(settingsFile->getFile(), lumenfoldApplication::settingsOptions());
    const auto setupText = settings.getValue("audioSetup");
    if (!stopsTheParser(setupText.toRawUTF8(), setupText.toRawUTF8() + setupText.getNumBytesAsUTF8()))
        settings.getXmlValue("audioSetup");
    settings.getIntValue("windowX");
    settings.getIntValue("windowY");
    if (settings.getValue("filterState").isEmpty())
        return 0;

    juce::MemoryBlock before;
    filter->getStateInformation(before);
    MainAppWindow::loadStoredState(settings, *filter);
    zylfuzz::deliverMessages();

    // What one input loaded never shapes the next.
    juce::MemoryBlock after;
    filter->getStateInformation(after);
    if (!zylfuzz::sameBytes(before, after))
    {
        filter->setStateInformation(factoryState.getData(), static_cast<int>(factoryState.getSize()));
        zylfuzz::deliverMessages();
    }
    return 0;
}
