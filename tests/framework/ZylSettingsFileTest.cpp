#include "framework/ZylSettingsFile.h"
#include "tests/framework/ZylSettingsFileTestSupport.h"

#include <juce_data_structures/juce_data_structures.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace
{
struct SettingsFileCheck : ::testing::Test
{
    SettingsFileCheck() { folder.createDirectory(); }
    ~SettingsFileCheck() override { folder.deleteRecursively(); }

    juce::File settings() const { return folder.getChildFile("lumenfold.settings"); }

    // What juce::PropertiesFile writes for a window position, an audio setup and a large state;
    // the device names and one more value hold the given text.
    std::string writtenByJuce(const juce::String& text = juce::CharPointer_UTF8("system & \xc3\xa9")) const
    {
        const auto file = folder.getChildFile("written.settings");
        file.deleteFile();
        {
            juce::PropertiesFile::Options options;
            options.storageFormat = juce::PropertiesFile::storeAsXML;
            juce::PropertiesFile properties(file, options);
            properties.setValue("windowX", 12);
            juce::XmlElement setup("DEVICESETUP");
            setup.setAttribute("deviceType", "JACK");
            setup.setAttribute("audioOutputDeviceName", text);
            setup.createNewChildElement("MIDIINPUT")->setAttribute("name", text);
            properties.setValue("audioSetup", &setup);
            properties.setValue("name", text);
            juce::MemoryBlock state(300000);
            juce::Random(3).fillBitsRandomly(state.getData(), state.getSize());
            properties.setValue("filterState", state.toBase64Encoding());
        }
        return file.loadFileAsString().toStdString();
    }

    static std::string nested(int depth)
    {
        std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<PROPERTIES>";
        for (int i = 1; i < depth; ++i)
            text += "<a>";
        for (int i = 1; i < depth; ++i)
            text += "</a>";
        return text + "</PROPERTIES>\n";
    }

    juce::File folder = juce::File::createTempFile("lumenfold-settings-check");
};

bool settingsTextIsSafe(const std::string& text)
{
    return ZylSettingsFile::isSafeToParse(text.data(), text.size());
}
} // namespace

TEST_F(SettingsFileCheck, WhatJuceWritesIsSafeToParseAndDeepOrMalformedFilesAreNot)
{
    const auto good = writtenByJuce();
    ASSERT_GT(good.size(), 400000u);
    const std::vector<std::pair<const char*, std::pair<std::string, bool>>> cases {
        { "written by juce::PropertiesFile", { good, true } },
        { "names and values with any character", { writtenByJuce(zyltest::everyKindOfCharacter()), true } },
        { "with a byte order mark", { "\xEF\xBB\xBF" + good, true } },
        { "nested as deep as allowed", { nested(ZylSettingsFile::kMaxDepth), true } },
        { "one level deeper", { nested(ZylSettingsFile::kMaxDepth + 1), false } },
        { "40,000 nested elements", { nested(40000), false } },
        { "a million tiny elements", { "<PROPERTIES>" + [] {
              std::string many;
              for (int i = 0; i < 1000000; ++i)
                  many += "<a/>";
              return many;
          }() + "</PROPERTIES>", false } },
        { "empty", { "", false } },
        { "not XML", { "\x01\x02 garbage <<<", false } },
        { "cut short", { good.substr(0, good.size() / 2), false } },
        { "not UTF-8", { "<PROPERTIES><VALUE name=\"\xff\"/></PROPERTIES>", false } },
        { "an entity declaration",
          { "<!DOCTYPE p [<!ENTITY e \"x\">]><PROPERTIES>&e;</PROPERTIES>", false } },
        // The framework's parser loops for ever on these two (found by fuzzing the start).
        { "a processing instruction followed by text inside an element",
          { "<PROPERTIES><?x?>b</PROPERTIES>", false } },
        { "a quoted value that is not UTF-8",
          { "<PROPERTIES><VALUE name=\"a\" val=\"\xc3(\xa0\"/></PROPERTIES>", false } },
        // The properties file parses a value that begins with "<" again when it saves.
        { "a value that is XML nested 40,000 deep", { [] {
              std::string text = "<PROPERTIES><VALUE name=\"a\" val=\"";
              for (int i = 0; i < 40000; ++i)
                  text += "&lt;a&gt;";
              return text + "\"/></PROPERTIES>";
          }(), false } },
        { "an audio setup the parser loops on",
          { "<PROPERTIES><VALUE name=\"audioSetup\" val=\"&lt;D&gt;&lt;?x?&gt;b&lt;/D&gt;\"/></PROPERTIES>",
            false } },
        { "a value that is XML within the bounds",
          { "<PROPERTIES><VALUE name=\"a\" val=\" &lt;D x=&quot;1&quot;/&gt;\"/></PROPERTIES>", true } },
    };
    for (const auto& [what, testCase] : cases)
    {
        SCOPED_TRACE(what);
        EXPECT_EQ(settingsTextIsSafe(testCase.first), testCase.second);
        ASSERT_TRUE(settings().replaceWithData(testCase.first.data(), testCase.first.size())
                    || testCase.first.empty());
        if (testCase.first.empty())
            settings().create();
        EXPECT_EQ(ZylSettingsFile::isSafeToParse(settings()), testCase.second);
    }

    // A file over the size bound fails before it is read.
    settings().deleteFile();
    {
        juce::FileOutputStream out(settings());
        ASSERT_TRUE(out.openedOk());
        out.write(good.data(), good.size());
        out.setPosition(ZylSettingsFile::kMaxSize);
        out.writeByte(' ');
    }
    EXPECT_FALSE(ZylSettingsFile::isSafeToParse(settings()));
    EXPECT_FALSE(ZylSettingsFile::isSafeToParse(folder.getChildFile("missing")));
}

TEST_F(SettingsFileCheck, PrepareMovesADamagedFileAsideAndRemovesOldLeftoversOfItsSaves)
{
    const auto deep = nested(40000);
    const auto old = juce::Time::getCurrentTime() - juce::RelativeTime::minutes(5);
    const auto make = [this, &old](const juce::String& name, bool isOld) {
        const auto file = folder.getChildFile(name);
        file.replaceWithText("x");
        if (isOld)
            file.setLastModificationTime(old);
    };
    ASSERT_TRUE(settings().replaceWithData(deep.data(), deep.size()));
    const juce::StringArray leftovers { "lumenfold_temp1a2b3c.settings",
                                        "lumenfold_tempffffffff.settings",
                                        "lumenfold_temp1234_2.settings", "lumenfold_tempab2.settings" };
    // Too young (maybe a save of another instance under way), or not made by a save of it.
    const juce::StringArray kept { "lumenfold_temp5.settings",  "lumenfold_temp.settings",
                                   "lumenfold_tempxyz.settings", "lumenfold_temp12.fxb",
                                   "other_temp12.settings",     "lumenfold_temp12_.settings",
                                   "lumenfold_temp12.settings.damaged" };
    for (const auto& name : leftovers)
        make(name, true);
    for (const auto& name : kept)
        make(name, name != "lumenfold_temp5.settings");
    folder.getChildFile("lumenfold_temp77.settings").createDirectory();

    const auto prepared = ZylSettingsFile::prepare(settings());
    EXPECT_EQ(prepared.outcome, ZylSettingsFile::Prepared::Outcome::movedAside);
    EXPECT_EQ(prepared.movedTo, folder.getChildFile("lumenfold.settings.damaged"));
    EXPECT_FALSE(settings().exists());
    EXPECT_EQ(ZylSettingsFile::damagedFileOf(settings()), folder.getChildFile("lumenfold.settings.damaged"));
    EXPECT_EQ(ZylSettingsFile::damagedFileOf(settings()).loadFileAsString().toStdString(), deep);
    for (const auto& name : leftovers)
        EXPECT_FALSE(folder.getChildFile(name).exists()) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(folder.getChildFile(name).existsAsFile()) << name;
    EXPECT_TRUE(folder.getChildFile("lumenfold_temp77.settings").isDirectory());

    // A good file and a missing one stay as they are.
    const auto good = writtenByJuce();
    settings().replaceWithData(good.data(), good.size());
    EXPECT_EQ(ZylSettingsFile::prepare(settings()).outcome, ZylSettingsFile::Prepared::Outcome::ready);
    EXPECT_EQ(settings().loadFileAsString().toStdString(), good);
    settings().deleteFile();
    EXPECT_EQ(ZylSettingsFile::prepare(settings()).outcome, ZylSettingsFile::Prepared::Outcome::ready);
    EXPECT_EQ(ZylSettingsFile::damagedFileOf(settings()).loadFileAsString().toStdString(), deep);
}

TEST_F(SettingsFileCheck, PrepareNeverDeletesADamagedFileWithoutKeepingACopy)
{
    const auto deep = nested(40000);
    const auto inTheWay = ZylSettingsFile::damagedFileOf(settings());
    // What has the name ".damaged" already stays as it is, and the damaged file goes to a free
    // name beside it: a folder with a file of the user's in it, a file moved aside before.
    const std::vector<std::pair<const char*, std::function<juce::File()>>> cases {
        { "a folder", [&] {
              inTheWay.createDirectory();
              return inTheWay.getChildFile("notes.txt");
          } },
        { "a damaged file of an earlier start", [&] { return inTheWay; } },
    };
    for (const auto& [what, makeInTheWay] : cases)
    {
        SCOPED_TRACE(what);
        folder.deleteRecursively();
        folder.createDirectory();
        const auto mine = makeInTheWay();
        ASSERT_TRUE(mine.replaceWithText("mine"));
        ASSERT_TRUE(settings().replaceWithData(deep.data(), deep.size()));
        const auto prepared = ZylSettingsFile::prepare(settings());
        EXPECT_EQ(prepared.outcome, ZylSettingsFile::Prepared::Outcome::movedAside);
        EXPECT_FALSE(settings().exists());
        EXPECT_EQ(mine.loadFileAsString(), "mine");
        EXPECT_EQ(prepared.movedTo, folder.getChildFile("lumenfold.settings(2).damaged"));
        EXPECT_EQ(prepared.movedTo.loadFileAsString().toStdString(), deep);
    }

#if ! JUCE_WINDOWS
    // A file that cannot be moved at all (its name with ".damaged" is longer than a file name
    // may be) stays where it is.
    const auto stuck = folder.getChildFile(juce::String::repeatedString("n", 240) + ".settings");
    // Written straight: the temporary file of a replacement would need a longer name.
    ASSERT_TRUE(stuck.appendData(deep.data(), deep.size()));
    EXPECT_EQ(ZylSettingsFile::prepare(stuck).outcome, ZylSettingsFile::Prepared::Outcome::leftInPlace);
    EXPECT_EQ(stuck.loadFileAsString().toStdString(), deep);
#endif
}
