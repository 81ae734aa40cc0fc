// The program's main window with the product processor (without MIDI ports) on a fake audio
// device type and with the recording UI seam: the
// window's size and menus, the settings file read at start and written at shut-down, damaged
// settings, the menu commands, "Restore Defaults" and the audio settings dialog.
#include "app/MainAppWindow.h"
#include "app/ZylLumenfoldFilter.h"
#include "app/lumenfoldApplication.h"
#include "framework/ZylDebug.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMessageSink.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylDomain.h"
#include "framework/ZylParameter.h"
#include "framework/ZylProgramModule.h"
#include "framework/ZylValue.h"
#include "modules/ZylTransportModule.h"
#include "space/ZylSpaceModule.h"
#include "framework/ZylStateXml.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylSettingsFileTestSupport.h"
#include "tests/ui/ZylFakeUiSeam.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace
{
using ZylStateTags::kName;
using ZylStateTags::kVersion;

const juce::StringArray kDeviceNames { "Fake A", "Fake B" };

// An output device that opens and starts without any sound card; it never calls back.
class FakeDevice : public juce::AudioIODevice
{
public:
    explicit FakeDevice(const juce::String& deviceName) : juce::AudioIODevice(deviceName, "Fake") {}
    ~FakeDevice() override { close(); }

    juce::StringArray getOutputChannelNames() override { return { "out 1", "out 2" }; }
    juce::StringArray getInputChannelNames() override { return {}; }
    juce::Array<double> getAvailableSampleRates() override { return { 44100.0, 48000.0 }; }
    juce::Array<int> getAvailableBufferSizes() override { return { 256, 512 }; }
    int getDefaultBufferSize() override { return 512; }
    juce::String open(const juce::BigInteger&, const juce::BigInteger& outputs, double sampleRate,
                      int bufferSize) override
    {
        opened = true;
        activeOutputs = outputs;
        rate = sampleRate > 0 ? sampleRate : 44100.0;
        size = bufferSize > 0 ? bufferSize : 512;
        return {};
    }
    void close() override
    {
        stop();
        opened = false;
    }
    bool isOpen() override { return opened; }
    void start(juce::AudioIODeviceCallback* callbackToUse) override
    {
        callback = callbackToUse;
        if (callback != nullptr)
            callback->audioDeviceAboutToStart(this);
    }
    void stop() override
    {
        if (callback != nullptr)
            callback->audioDeviceStopped();
        callback = nullptr;
    }
    bool isPlaying() override { return callback != nullptr; }
    // What JACK does when its server quits: the callback is told the device stopped, and the
    // device, still the manager's current one, is closed.
    void stopOnItsOwn() { close(); }
    juce::String getLastError() override { return {}; }
    int getCurrentBufferSizeSamples() override { return size; }
    double getCurrentSampleRate() override { return rate; }
    int getCurrentBitDepth() override { return 32; }
    juce::BigInteger getActiveOutputChannels() const override { return activeOutputs; }
    juce::BigInteger getActiveInputChannels() const override { return {}; }
    int getOutputLatencyInSamples() override { return 0; }
    int getInputLatencyInSamples() override { return 0; }

private:
    bool opened = false;
    juce::BigInteger activeOutputs;
    double rate = 44100.0;
    int size = 512;
    juce::AudioIODeviceCallback* callback = nullptr;
};

class FakeDeviceType : public juce::AudioIODeviceType
{
public:
    FakeDeviceType() : juce::AudioIODeviceType("Fake") {}
    void scanForDevices() override {}
    juce::StringArray getDeviceNames(bool wantInputNames) const override
    {
        return wantInputNames ? juce::StringArray() : kDeviceNames;
    }
    int getDefaultDeviceIndex(bool) const override { return 0; }
    int getIndexOfDevice(juce::AudioIODevice* device, bool asInput) const override
    {
        return asInput || device == nullptr ? -1 : kDeviceNames.indexOf(device->getName());
    }
    bool hasSeparateInputsAndOutputs() const override { return true; }
    juce::AudioIODevice* createDevice(const juce::String& outputName, const juce::String&) override
    {
        return kDeviceNames.contains(outputName) ? new FakeDevice(outputName) : nullptr;
    }
};

class FakeDeviceManager : public juce::AudioDeviceManager
{
    void createAudioDeviceTypes(juce::OwnedArray<juce::AudioIODeviceType>& types) override
    {
        types.add(new FakeDeviceType());
    }
};

// Records the command messages one module's command parameter posts.
struct CommandRecorder : ZylMessageSink
{
    void receiveMessage(void*, int code, int) override
    {
        if (zylMessageLowByte(code) == kCauseCommand)
            codes.push_back(code);
    }
    std::vector<int> codes;
};

juce::String stateText(juce::AudioProcessor& processor)
{
    juce::MemoryBlock state;
    processor.getStateInformation(state);
    return state.toBase64Encoding();
}

MainAppWindow::Options testOptions();

// The factory state as a window started without settings shows it (the editor adds its own
// properties to the processor's state).
const juce::String& factoryState()
{
    static const juce::String text = [] {
        const auto folder = juce::File::createTempFile("lumenfold-factory");
        folder.createDirectory();
        juce::String state;
        {
            MainAppWindow window(std::make_unique<juce::PropertiesFile>(
                                     folder.getChildFile("lumenfold.settings"),
                                     lumenfoldApplication::settingsOptions()),
                                 testOptions());
            zyltest::drainMessageQueue();
            state = stateText(*window.getAudioProcessor());
        }
        folder.deleteRecursively();
        return state;
    }();
    return text;
}

// The factory state with the root module's element changed by edit, base64 again.
template <class Edit>
juce::String editedFactoryState(Edit&& edit)
{
    juce::MemoryBlock block;
    block.fromBase64Encoding(factoryState());
    auto xml = juce::parseXML(juce::String::fromUTF8(static_cast<const char*>(block.getData())));
    EXPECT_NE(xml, nullptr);
    juce::XmlElement* root = xml->hasAttribute(kName) ? xml.get() : nullptr;
    for (auto* child = xml->getFirstChildElement(); root == nullptr && child != nullptr;
         child = child->getNextElement())
        if (child->hasAttribute(kName))
            root = child;
    EXPECT_NE(root, nullptr);
    edit(*xml, *root);
    const auto text = xml->toString(juce::XmlElement::TextFormat().singleLine());
    juce::MemoryBlock out(text.toRawUTF8(), text.getNumBytesAsUTF8() + 1);
    return out.toBase64Encoding();
}

// The product processor without MIDI ports, the fake device type, off the desktop, and no
// quitting.
MainAppWindow::Options testOptions()
{
    MainAppWindow::Options result;
    result.filterFactory = [] { return ZylLumenfoldFilter::createStandalone(nullptr); };
    result.deviceManagerFactory = [] { return std::make_unique<FakeDeviceManager>(); };
    result.quit = [] {};
    result.requestQuit = [] {};
    result.addToDesktop = false;
    return result;
}

struct MainAppWindowTest : ::testing::Test
{
    MainAppWindowTest() { folder.createDirectory(); }
    ~MainAppWindowTest() override
    {
        window.reset();
        folder.deleteRecursively();
    }

    juce::File settingsFile() const { return folder.getChildFile(settingsName); }

    std::unique_ptr<juce::PropertiesFile> openSettings() const
    {
        return std::make_unique<juce::PropertiesFile>(settingsFile(),
                                                      lumenfoldApplication::settingsOptions());
    }

    // Writes one value into the settings file, as an earlier run would have left it.
    void store(const juce::String& key, const juce::var& value) const
    {
        auto settings = openSettings();
        settings->setValue(key, value);
    }

    void storeXml(const juce::String& key, const juce::XmlElement& value) const
    {
        auto settings = openSettings();
        settings->setValue(key, &value);
    }

    MainAppWindow::Options options()
    {
        auto result = testOptions();
        result.filterFactory = [this]() -> std::unique_ptr<juce::AudioProcessor> {
            ++filtersMade;
            if (!filterAvailable)
                return nullptr;
            return ZylLumenfoldFilter::createStandalone(nullptr);
        };
        result.quit = [this] { ++quits; };
        result.requestQuit = [this] { ++quitRequests; };
        return result;
    }

    // As the program opens its settings file at start.
    MainAppWindow& open()
    {
        window = std::make_unique<MainAppWindow>(
            lumenfoldApplication::openSettingsFile(settingsFile()), options());
        zyltest::drainMessageQueue();
        return *window;
    }

    void close()
    {
        window.reset();
        zyltest::drainMessageQueue();
    }

    ZylFilter& filter() const { return *dynamic_cast<ZylFilter*>(window->getAudioProcessor()); }

    juce::String currentDeviceName() const
    {
        auto* device = window->getDeviceManager()->getCurrentAudioDevice();
        return device != nullptr ? device->getName() : juce::String();
    }

    juce::File folder = juce::File::createTempFile("lumenfold-window");
    juce::String settingsName { "lumenfold.settings" };
    ZylFakeUiSeam seam;
    ZylScopedUiSeam installedSeam { seam };
    std::unique_ptr<MainAppWindow> window;
    bool filterAvailable = true;
    int filtersMade = 0;
    int quits = 0;
    int quitRequests = 0;
};

TEST_F(MainAppWindowTest, OpensCentredAtItsSizeWithTheThreeMenusWhateverPositionIsStored)
{
    store("windowX", 3);
    store("windowY", 4);
    auto& w = open();

    EXPECT_EQ(w.getWidth(), MainAppWindow::kWidth);
    EXPECT_EQ(w.getHeight(), MainAppWindow::kHeight);
    if (const auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay())
    {
        EXPECT_NEAR(w.getBounds().getCentreX(), display->userArea.getCentreX(), 1);
        EXPECT_NEAR(w.getBounds().getCentreY(), display->userArea.getCentreY(), 1);
    }
    EXPECT_EQ(w.getName(), "lumenfold");
    EXPECT_TRUE(w.isUsingNativeTitleBar());
    ASSERT_NE(w.getMenuBarComponent(), nullptr);
    EXPECT_EQ(w.getMenuBarComponent()->getHeight(), MainAppWindow::kMenuBarHeight);
    ASSERT_NE(w.getContentComponent(), nullptr);
    EXPECT_EQ(w.getContentComponent(), w.getAudioProcessor()->getActiveEditor());
    EXPECT_EQ(w.getAudioProcessor()->getTotalNumOutputChannels(), 2);
    EXPECT_EQ(w.getAudioProcessor()->getTotalNumInputChannels(), 0);
    EXPECT_EQ(currentDeviceName(), "Fake A");
    EXPECT_TRUE(stateText(filter()) == factoryState());

    EXPECT_EQ(w.getMenuBarNames(), juce::StringArray({ "File", "Settings", "Help" }));
    // Every item: its id and text, 0 for a separator; all enabled and unticked.
    const std::vector<std::vector<std::pair<int, juce::String>>> expected {
        { { 110, "Load Preset Bank..." }, { 111, "Load Preset..." }, { 0, {} },
          { 120, "Save Preset Bank As..." }, { 121, "Save Preset As..." }, { 0, {} },
          { 125, "Rename Preset..." }, { 0, {} }, { 130, "Exit" } },
        { { 210, "Audio Settings..." }, { 220, "Midi Settings..." }, { 0, {} },
          { 230, "Restore Defaults" } },
        { { 310, "Help..." }, { 0, {} }, { 320, "Product home" }, { 330, "Online manual" },
          { 340, "Latest updates" }, { 0, {} }, { 360, "About..." } }
    };
    for (int menu = 0; menu < 3; ++menu)
    {
        SCOPED_TRACE(menu);
        std::vector<std::pair<int, juce::String>> items;
        const auto popup = w.getMenuForIndex(menu, {});
        for (juce::PopupMenu::MenuItemIterator it(popup); it.next();)
        {
            const auto& item = it.getItem();
            items.emplace_back(item.isSeparator ? 0 : item.itemID, item.text);
            EXPECT_TRUE(item.isSeparator || item.isEnabled);
            EXPECT_FALSE(item.isTicked);
        }
        EXPECT_EQ(items, expected[static_cast<size_t>(menu)]);
    }
}

TEST_F(MainAppWindowTest, ShutDownWritesTheSettingsAndARestartFindsThemKept)
{
    auto& w = open();
    filter().changeProgramName(0, "Kept across runs");
    auto setup = w.getDeviceManager()->getAudioDeviceSetup();
    setup.outputDeviceName = "Fake B";
    ASSERT_TRUE(w.getDeviceManager()->setAudioDeviceSetup(setup, true).isEmpty());
    w.setTopLeftPosition(w.getX() + 17, w.getY() + 9);
    const auto position = w.getPosition();
    const auto state = stateText(filter());
    close();

    // Written whole (through a temporary file, which is gone).
    EXPECT_EQ(folder.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 1);
    const auto xml = juce::parseXML(settingsFile());
    ASSERT_NE(xml, nullptr);
    {
        auto settings = openSettings();
        EXPECT_EQ(settings->getIntValue("windowX"), position.x);
        EXPECT_EQ(settings->getIntValue("windowY"), position.y);
        EXPECT_TRUE(settings->getValue("filterState") == state);
        const auto audio = settings->getXmlValue("audioSetup");
        ASSERT_NE(audio, nullptr);
        EXPECT_EQ(audio->getStringAttribute("audioOutputDeviceName"), "Fake B");
    }

    open();
    EXPECT_EQ(filter().getProgramName(0), "Kept across runs");
    EXPECT_TRUE(stateText(filter()) == state);
    EXPECT_EQ(currentDeviceName(), "Fake B");
    // Centred again, not at the stored position (on a machine with a display).
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr)
    {
        EXPECT_NE(window->getPosition(), position);
    }
}

TEST_F(MainAppWindowTest, DamagedOrForeignStoredStateStartsTheFactoryState)
{
    juce::MemoryBlock noise(300);
    juce::Random random(7);
    random.fillBitsRandomly(noise.getData(), noise.getSize());

    const std::vector<std::pair<const char*, juce::String>> cases {
        { "not base64", "%%% this is not base64 %%%" },
        { "decodes to nothing", "0." },
        { "random bytes", noise.toBase64Encoding() },
        { "another product's name",
          editedFactoryState([](juce::XmlElement&, juce::XmlElement& root) {
              root.setAttribute(kName, "someotherproduct");
          }) },
        { "major version 3",
          editedFactoryState([](juce::XmlElement&, juce::XmlElement& root) {
              root.setAttribute(kVersion, "3.0.0");
          }) },
        { "a single program's state", editedFactoryState([](juce::XmlElement& top, juce::XmlElement&) {
              top.setTagName("fxp");
          }) },
    };
    for (const auto& [what, text] : cases)
    {
        SCOPED_TRACE(what);
        settingsFile().deleteFile();
        store("filterState", text);
        open();
        EXPECT_TRUE(stateText(filter()) == factoryState());
        EXPECT_EQ(currentDeviceName(), "Fake A");
        close();
    }
}

TEST_F(MainAppWindowTest, MissingOrDamagedSettingsFileStartsTheFactoryStateOnTheDefaultDevice)
{
    // The parser recurses once per level: so deep a file overflowed the stack at every start.
    juce::String deep = "<?xml version=\"1.0\"?><PROPERTIES><VALUE name=\"audioSetup\">";
    deep << juce::String::repeatedString("<a>", 40000) << juce::String::repeatedString("</a>", 40000)
         << "</VALUE></PROPERTIES>";
    // A file of an earlier run with a renamed program, and a value the properties file reads as
    // it is but parses again (40,000 deep) when it saves: read at start, it would show the name.
    open();
    filter().changeProgramName(0, "Read all the same");
    close();
    const auto withDeepValue = settingsFile().loadFileAsString().replace(
        "</PROPERTIES>", "<VALUE name=\"x\" val=\"" + juce::String::repeatedString("&lt;a&gt;", 40000)
                             + "\"/></PROPERTIES>");
    const auto written = [this](const juce::String& text) {
        return [this, text] { settingsFile().replaceWithText(text); };
    };
    // Where the bytes of a file that fails the check end up: moved aside to a file of the
    // name ".damaged" (or a free name beside it), or left in place when they cannot be moved,
    // unread and never overwritten. Either way the user reads one line naming the file; and
    // one when the exit cannot write it.
    enum class Kept { notDamaged, aside, inPlace };
    const std::vector<std::tuple<const char*, std::function<void()>, Kept, int>> cases {
        { "missing", [] {}, Kept::notDamaged, 0 },
        { "empty", [this] { settingsFile().create(); }, Kept::aside, 1 },
        { "not XML", written("\x01\x02 garbage <<<"), Kept::aside, 1 },
        { "cut short", written("<?xml version=\"1.0\"?><PROPERTIES><VALUE name=\"filterState\" val=\"AB"), Kept::aside, 1 },
        { "another program's file", written("<?xml version=\"1.0\"?><OTHER a=\"1\"/>"), Kept::notDamaged, 0 },
        { "unreadable: a folder in its place", [this] { settingsFile().createDirectory(); }, Kept::notDamaged, 1 },
        { "40,000 nested elements", written(deep), Kept::aside, 1 },
        // The properties file parses such a value again when it saves: at exit, the crash.
        { "a value of XML nested 40,000 deep", written(withDeepValue), Kept::aside, 1 },
        { "the name .damaged taken by a folder", [&] {
              settingsFile().replaceWithText(withDeepValue);
              settingsFile().getSiblingFile(settingsName + ".damaged").getChildFile("notes.txt").create();
          }, Kept::aside, 1 },
#if ! JUCE_WINDOWS
        // A file that cannot be moved (its name with ".damaged" is longer than a file name may
        // be; for the program's own file: a read-only folder, a file the user may not remove).
        { "a damaged file that cannot be moved aside", [&] {
              settingsName = juce::String::repeatedString("n", 239) + ".settings";
              // Written straight: the temporary file of a replacement would need a longer name.
              settingsFile().appendText(withDeepValue);
          }, Kept::inPlace, 1 },
#endif
        // Device names and values with any character are what the program itself writes.
        { "any character in the device names and a value", [this] {
              juce::XmlElement setup("DEVICESETUP");
              setup.setAttribute("deviceType", "Fake");
              setup.setAttribute("audioOutputDeviceName", zyltest::everyKindOfCharacter());
              storeXml("audioSetup", setup);
              store("name", zyltest::everyKindOfCharacter());
          }, Kept::notDamaged, 0 },
    };
    for (const auto& [what, prepare, kept, lines] : cases)
    {
        SCOPED_TRACE(what);
        folder.deleteRecursively();
        folder.createDirectory();
        settingsName = "lumenfold.settings";
        prepare();
        // What a save killed half-way a while ago left behind.
        const auto leftover = folder.getChildFile(settingsFile().getFileNameWithoutExtension() + "_tempf.settings");
        leftover.replaceWithText("<PROPERTIES");
        leftover.setLastModificationTime(juce::Time::getCurrentTime() - juce::RelativeTime::hours(1));
        const auto bytes = settingsFile().existsAsFile() ? settingsFile().loadFileAsString() : juce::String();
        const auto values = kept == Kept::notDamaged ? openSettings()->getAllProperties() : juce::StringPairArray();
        const auto before = folder.findChildFiles(juce::File::findFilesAndDirectories, true);

        ZylDebugCapture capture;
        open();
        EXPECT_TRUE(stateText(filter()) == factoryState());
        EXPECT_EQ(currentDeviceName(), "Fake A");
        EXPECT_EQ(window->getWidth(), MainAppWindow::kWidth);
        EXPECT_FALSE(leftover.exists());
        // The files that came with the start: the one moved aside.
        auto made = folder.findChildFiles(juce::File::findFilesAndDirectories, true);
        made.removeValuesIn(before);
        EXPECT_EQ(made.size(), kept == Kept::aside ? 1 : 0);
        if (kept == Kept::aside && made.size() == 1)
        {
            EXPECT_TRUE(made[0].getFileName().startsWith(settingsName) && made[0].hasFileExtension("damaged"));
            EXPECT_TRUE(made[0].loadFileAsString() == bytes);
            EXPECT_FALSE(settingsFile().exists());
        }
        if (kept == Kept::notDamaged)
        {
            EXPECT_TRUE(window->getSettings().getAllProperties() == values);
        }
        close();
        int notices = 0;
        for (const auto& line : capture.getLines())
            notices += line.contains(settingsFile().getFullPathName()) ? 1 : 0;
        EXPECT_EQ(notices, lines);
        // Shut-down wrote a good file in place of one moved aside, and nothing over one left in place.
        if (kept == Kept::aside)
        {
            EXPECT_TRUE(openSettings()->getValue("filterState") == factoryState());
        }
        if (kept == Kept::inPlace)
        {
            EXPECT_TRUE(settingsFile().loadFileAsString() == bytes);
        }
    }
}

TEST_F(MainAppWindowTest, AnExitThatCannotWriteTheSettingsSaysSoOnceNamingTheFile)
{
    // A home folder that cannot be made: a file stands where its folder would be.
    ASSERT_TRUE(folder.getChildFile("home").replaceWithText("not a folder"));
    settingsName = "home/.lumenfold/lumenfold.settings";
    open();
    ZylDebugCapture lines;
    close();
    EXPECT_FALSE(settingsFile().exists());
    ASSERT_EQ(lines.getLines().size(), 1u);
    EXPECT_TRUE(lines.getLines()[0].contains(settingsFile().getFullPathName()));
}

TEST_F(MainAppWindowTest, UnknownOrDamagedAudioSetupFallsBackToTheDefaultDevice)
{
    // A setup naming a device that exists elsewhere is honoured; the rest fall back.
    const std::vector<std::tuple<const char*, const char*, const char*>> cases {
        { "unknown device", "<DEVICESETUP deviceType=\"Fake\" audioOutputDeviceName=\"Unplugged\"/>", "Fake A" },
        { "unknown device type", "<DEVICESETUP deviceType=\"Nowhere\" audioOutputDeviceName=\"Unplugged\"/>", "Fake A" },
        { "known device under an unknown type", "<DEVICESETUP deviceType=\"Nowhere\" audioOutputDeviceName=\"Fake B\"/>", "Fake B" },
        { "foreign element", "<SOMETHING deviceType=\"Fake\"/>", "Fake A" },
        { "impossible rate", "<DEVICESETUP deviceType=\"Fake\" audioOutputDeviceName=\"Fake B\" audioDeviceRate=\"-5\" audioDeviceBufferSize=\"-1\"/>", "Fake B" },
    };
    for (const auto& [what, setup, device] : cases)
    {
        SCOPED_TRACE(what);
        settingsFile().deleteFile();
        storeXml("audioSetup", *juce::parseXML(setup));
        open();
        EXPECT_EQ(currentDeviceName(), device);
        close();
    }
}

TEST_F(MainAppWindowTest, MenuItemsPostTheirCommandsToTheirModules)
{
    auto& w = open();
    auto* container = filter().getModuleContainer();
    std::map<int, CommandRecorder> recorders;
    for (const int id : { 1000, 3000, 9000 })
        container->getModule(id)->getCommandParameter()->addSink(&recorders[id]);

    const std::vector<std::tuple<int, int, int>> cases {
        { 110, 1000, 16 }, { 111, 1000, 14 }, { 120, 1000, 15 }, { 121, 1000, 13 },
        { 125, 1000, 17 }, { 220, 3000, 10 }, { 310, 9000, 12 }, { 320, 9000, 19 },
        { 330, 9000, 20 }, { 340, 9000, 21 }, { 360, 9000, 11 },
    };
    for (const auto& [item, module, command] : cases)
    {
        SCOPED_TRACE(item);
        for (auto& [id, recorder] : recorders)
            recorder.codes.clear();
        w.menuItemSelected(item, 0);
        zyltest::drainMessageQueue();
        for (auto& [id, recorder] : recorders)
            EXPECT_EQ(recorder.codes, id == module ? std::vector<int> { (command << 8) | 6 } : std::vector<int> {});
    }

    // Ids outside the table do nothing.
    for (auto& [id, recorder] : recorders)
        recorder.codes.clear();
    for (const int item : { 0, 100, 135, 999 })
        w.menuItemSelected(item, 0);
    zyltest::drainMessageQueue();
    for (auto& [id, recorder] : recorders)
        EXPECT_TRUE(recorder.codes.empty());
    EXPECT_EQ(quits, 0);

    for (const int id : { 1000, 3000, 9000 })
        container->getModule(id)->getCommandParameter()->removeSink(&recorders[id]);
}

TEST_F(MainAppWindowTest, ExitQuitsAndTheCloseButtonAsksToQuit)
{
    auto& w = open();
    w.closeButtonPressed();
    EXPECT_EQ(quitRequests, 1);
    EXPECT_EQ(quits, 0);
    w.menuItemSelected(MainAppWindow::exitItem, 0);
    EXPECT_EQ(quits, 1);
}

TEST_F(MainAppWindowTest, WithoutAProcessorTheProgramQuitsAndTheMenusDoNothing)
{
    filterAvailable = false;
    auto& w = open();
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(w.getAudioProcessor(), nullptr);
    w.menuItemSelected(MainAppWindow::restoreDefaultsItem, 1);
    w.menuItemSelected(MainAppWindow::audioSettingsItem, 1);
    EXPECT_TRUE(seam.calls.empty());
    close();
}

TEST_F(MainAppWindowTest, RestoreDefaultsAsksAndOnNoChangesNothing)
{
    store("filterState", editedFactoryState([](juce::XmlElement&, juce::XmlElement&) {}));
    auto& w = open();
    filter().changeProgramName(0, "Mine");
    auto* before = w.getAudioProcessor();

    seam.okCancelAnswers.push_back(false); // "   No   "
    w.menuItemSelected(MainAppWindow::restoreDefaultsItem, 1);
    w.menuItemSelected(MainAppWindow::restoreDefaultsItem, 1); // closed: the empty queue
    const auto boxes = seam.callsOf(ZylFakeUiSeam::Kind::okCancelBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, "Warning");
    EXPECT_EQ(boxes[0].text, "This will clear all presets and reset midi settings. Are you sure? ");
    EXPECT_EQ(boxes[0].icon, juce::MessageBoxIconType::WarningIcon);
    EXPECT_EQ(boxes[0].buttons, juce::StringArray({ "   Yes   ", "   No   " }));
    EXPECT_EQ(w.getAudioProcessor(), before);
    EXPECT_EQ(filter().getProgramName(0), "Mine");
    EXPECT_TRUE(w.getSettings().containsKey("filterState"));
}

TEST_F(MainAppWindowTest, RestoreDefaultsOnYesReplacesTheProcessorAndForgetsTheStoredState)
{
    auto& w = open();
    filter().changeProgramName(0, "Mine");
    close();
    auto& again = open();
    ASSERT_EQ(filter().getProgramName(0), "Mine");
    again.setSize(700, 400);
    const int made = filtersMade;

    seam.okCancelAnswers.push_back(true);
    again.menuItemSelected(MainAppWindow::restoreDefaultsItem, 1);
    EXPECT_EQ(filtersMade, made + 1);
    ASSERT_NE(again.getAudioProcessor(), nullptr);
    EXPECT_TRUE(stateText(filter()) == factoryState());
    EXPECT_FALSE(again.getSettings().containsKey("filterState"));
    EXPECT_EQ(again.getPlayer().getCurrentProcessor(), again.getAudioProcessor());
    auto* editor = again.getAudioProcessor()->getActiveEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(again.getContentComponent(), editor);
    // The window takes the new editor's size.
    EXPECT_EQ(again.getWidth(), editor->getWidth());
    EXPECT_EQ(again.getHeight(), editor->getHeight() + MainAppWindow::kMenuBarHeight);
    (void) w;

    // The next shut-down writes the fresh state.
    const auto fresh = stateText(filter());
    close();
    EXPECT_TRUE(openSettings()->getValue("filterState") == fresh);
}

TEST_F(MainAppWindowTest, AudioSettingsShowsTheDeviceSelectorInAModalDialog)
{
    auto& w = open();
    bool checked = false;
    seam.onModalDialog = [&](const ZylUiSeam::DialogRequest& request) {
        auto* selector = dynamic_cast<juce::AudioDeviceSelectorComponent*>(request.content);
        EXPECT_NE(selector, nullptr);
        if (selector == nullptr)
            return 0;
        EXPECT_EQ(selector->getWidth(), 500);
        EXPECT_EQ(&selector->getLookAndFeel(), &juce::LookAndFeel::getDefaultLookAndFeel());
        EXPECT_EQ(&selector->deviceManager, w.getDeviceManager());
        checked = true;
        return 0;
    };
    w.menuItemSelected(MainAppWindow::audioSettingsItem, 1);
    const auto dialogs = seam.callsOf(ZylFakeUiSeam::Kind::modalDialog);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(checked);
    EXPECT_EQ(dialogs[0].title, "Audio Settings");
    EXPECT_TRUE(dialogs[0].dialog.contentOwned);
    EXPECT_EQ(dialogs[0].dialog.background,
              juce::LookAndFeel::getDefaultLookAndFeel().findColour(juce::ComboBox::backgroundColourId));
}

// The program's modules as the panels reach them.
ZylProgramModule& programModuleOf(ZylFilter& processor)
{
    return *dynamic_cast<ZylProgramModule*>(
        processor.getModuleContainer()->getModule(ZylProgramModule::kModuleId));
}

ZylSpaceModule& spaceModuleOf(ZylFilter& processor)
{
    return *dynamic_cast<ZylSpaceModule*>(
        processor.getModuleContainer()->getModule(ZylSpaceModule::kModuleId));
}

// A preset box's step: the program parameter takes another program, as the user chose it.
void chooseProgram(ZylFilter& processor, int index)
{
    programModuleOf(processor).selectProgram(index, kCauseUser);
    zyltest::drainMessageQueue();
}

// A panel's step: the parameter takes its domain's value at index, as the user chose it.
void chooseValue(ZylParameter* parameter, int index)
{
    ASSERT_NE(parameter, nullptr);
    const auto& values = parameter->getDomain()->getValues();
    ASSERT_LT(static_cast<size_t>(index), values.size());
    parameter->setValueObject(values[static_cast<size_t>(index)], kCauseUser, false, true);
    zyltest::drainMessageQueue();
}

// What the space panel shows: the current program's key, scale, voicing and trigger.
std::vector<int> shownSpaceValues(ZylFilter& processor)
{
    auto& space = spaceModuleOf(processor);
    return { space.getKeyParameter()->getIndex(), space.getScaleParameter()->getIndex(),
             space.getVoicingParameter()->getIndex(), space.getTriggerParameter()->getIndex() };
}

// Edits the current program as a user does in the space panel: key, voicing and trigger one
// step on from where they stand.
void editCurrentProgram(ZylFilter& processor)
{
    auto& space = spaceModuleOf(processor);
    for (auto* parameter : { space.getKeyParameter(), space.getVoicingParameter(),
                             space.getTriggerParameter() })
        chooseValue(parameter, (parameter->getIndex() + 1)
                                   % static_cast<int>(parameter->getDomain()->getValues().size()));
}

TEST_F(MainAppWindowTest, ARestartKeepsEveryProgramsEditsAndTheCurrentProgram)
{
    struct Case
    {
        const char* what;
        int edited;  // the program edited
        int current; // the program current at exit
        bool throughBankFile;
    };
    const Case cases[] {
        { "current program 2, edited", 2, 2, false },
        { "program 3 edited, program 1 current", 3, 1, false },
        { "program 0 current, edited", 0, 0, false },
        { "a bank with program 2 current and edited, loaded from a file", 2, 2, true },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        settingsFile().deleteFile();
        open();
        chooseProgram(filter(), c.edited);
        editCurrentProgram(filter());
        const auto edited = shownSpaceValues(filter());
        chooseProgram(filter(), c.current);
        if (c.throughBankFile)
        {
            const auto bank = folder.getChildFile("bank.fxb");
            ASSERT_TRUE(filter().saveBankToFile(bank));
            close();
            settingsFile().deleteFile();
            open();
            ASSERT_TRUE(filter().loadBankFromFile(bank));
            zyltest::drainMessageQueue();
        }
        const auto shown = shownSpaceValues(filter());
        const auto firstState = stateText(filter());
        close();
        const auto written = openSettings()->getValue("filterState");

        open();
        EXPECT_EQ(filter().getCurrentProgram(), c.current);
        EXPECT_EQ(shownSpaceValues(filter()), shown);
        chooseProgram(filter(), c.edited);
        EXPECT_EQ(shownSpaceValues(filter()), edited);
        chooseProgram(filter(), c.current);
        close();
        EXPECT_TRUE(openSettings()->getValue("filterState") == written);
        EXPECT_TRUE(written == firstState);
    }
}

TEST_F(MainAppWindowTest, ADeviceThatStopsOnItsOwnIsReportedAndStopsTheSong)
{
    auto& w = open();
    auto& transport = *dynamic_cast<ZylTransportModule*>(
        filter().getModuleContainer()->getModule(ZylTransportModule::kModuleId));
    transport.start();
    zyltest::drainMessageQueue();
    ASSERT_TRUE(transport.isPlaying());

    // What the user chooses in "Audio Settings...": an output, or none.
    const auto chooseOutput = [&w](const juce::String& name) {
        auto setup = w.getDeviceManager()->getAudioDeviceSetup();
        setup.outputDeviceName = name;
        ASSERT_TRUE(w.getDeviceManager()->setAudioDeviceSetup(setup, true).isEmpty());
        zyltest::drainMessageQueue();
    };
    // The user's own changes are no news.
    for (const auto* name : { "Fake B", "", "Fake A" })
        chooseOutput(name);
    EXPECT_TRUE(seam.callsOf(ZylFakeUiSeam::Kind::messageBox).empty());
    EXPECT_TRUE(transport.isPlaying());

    auto* device = dynamic_cast<FakeDevice*>(w.getDeviceManager()->getCurrentAudioDevice());
    ASSERT_NE(device, nullptr);
    device->stopOnItsOwn();
    zyltest::drainMessageQueue();
    const auto boxes = seam.callsOf(ZylFakeUiSeam::Kind::messageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Audio device stopped");
    EXPECT_TRUE(boxes[0].text.contains("\"Fake A\""));
    EXPECT_TRUE(boxes[0].text.contains("Audio Settings..."));
    EXPECT_EQ(boxes[0].icon, juce::MessageBoxIconType::WarningIcon);
    // As the Stop button's first press does.
    EXPECT_FALSE(transport.isPlaying());

    // Choosing no device and then the device again brings it back, and says nothing more.
    chooseOutput({});
    chooseOutput("Fake A");
    ASSERT_NE(w.getDeviceManager()->getCurrentAudioDevice(), nullptr);
    EXPECT_TRUE(w.getDeviceManager()->getCurrentAudioDevice()->isOpen());
    EXPECT_EQ(seam.callsOf(ZylFakeUiSeam::Kind::messageBox).size(), 1u);
}

TEST(LumenfoldApplication, KeepsItsSettingsInAnXmlFileNamedAfterTheProgram)
{
    const auto options = lumenfoldApplication::settingsOptions();
    const auto file = options.getDefaultFile();
    EXPECT_EQ(file.getFileName(), "lumenfold.settings");
    // A folder of the program's name in the user's application data (".lumenfold" in the home
    // folder on Linux).
    EXPECT_TRUE(file.getParentDirectory().getFileName().endsWith("lumenfold"));
    EXPECT_EQ(options.storageFormat, juce::PropertiesFile::storeAsXML);
    EXPECT_EQ(options.millisecondsBeforeSaving, 3000);
    EXPECT_FALSE(options.commonToAllUsers);
}
} // namespace
