#include "framework/ZylDebug.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylProgramDomain.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylStateTestTree.h"
#include "tests/framework/ZylTestDomain.h"

#include <gtest/gtest.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <chrono>
#include <string>

using zyltest::StateTree;
using zyltest::toText;

namespace
{
juce::MemoryBlock blockOf(const std::string& text)
{
    juce::MemoryBlock block(text.data(), text.size());
    block.append("\0", 1);
    return block;
}

bool loadBank(StateTree& tree, const juce::MemoryBlock& block)
{
    return tree.root->loadBankFromMemory(block.getData(), static_cast<juce::int64>(block.getSize()));
}

bool loadProgram(StateTree& tree, int index, const juce::MemoryBlock& block)
{
    return tree.root->loadProgramFromMemory(index, block.getData(),
                                            static_cast<juce::int64>(block.getSize()));
}

// A bank whose root module carries a property set of count properties.
std::string propertyFlood(const std::string& header, int count)
{
    std::string text = "<fxb>" + header + "<glob><prs";
    for (int i = 0; i < count; ++i)
        text += " p" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    return text + "/></glob></mod></fxb>";
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

ZylValue* valueNamed(ZylParameter* parameter, const wchar_t* name)
{
    return parameter->getDomain()->findByName(name);
}

// Changes every kind of stored data away from the defaults, in several programs.
void changeEverything(StateTree& tree)
{
    auto& leaf = tree.leaf();
    auto* unitScale = leaf.level()->getDomain();
    leaf.power()->setValueObject(valueNamed(leaf.power(), L"On"), kCauseUser, false, false);
    for (int program : { 0, 5, 127 })
    {
        leaf.programParameter(program, 0)->setValueObject(
            unitScale->getValues()[static_cast<size_t>(10 + program % 90)], kCauseUser, false, false);
        leaf.programParameter(program, 1)->setValue(123.25f + static_cast<float>(program),
                                                    kCauseUser, false, false);
        leaf.programParameter(program, 2)->setValueObject(
            valueNamed(leaf.port(), L"Gymnop\u00e9die no. 1"), kCauseUser, false, false);
    }
    tree.inner().mix()->setValueObject(tree.inner().mix()->getDomain()->getValues()[42],
                                       kCauseUser, false, false);
    tree.inner().deviceName = juce::String(juce::CharPointer_UTF8("Ger\xc3\xa4t \"2\" & <3>"));
    tree.programs().setProgramName(0, "Init");
    tree.programs().setProgramName(5, juce::String(juce::CharPointer_UTF8("Caf\xc3\xa9 5")));
    tree.root->getPropertySet()->setValue("editorWidth", 640);
    tree.root->getPropertySet()->setValue("$tmp/scroll", 3);
    tree.root->getPropertySet()->setValue("odd key", "skipped");
    tree.leaf().getPropertySet()->setValue("lastUsedFileNameWinfxb", "C:\\a & b\\bank.fxb");
    zyltest::drainMessageQueue();
}
} // namespace

TEST(ZylModuleState, BankDocumentHasTheNestedShapeAndDropsEmptyElements)
{
    StateTree tree;
    const auto text = toText(tree.bank());

    EXPECT_EQ(text.rfind("<fxb><mod i=\"2\" n=\"lumenfold\" v=\"2.5.544\"><cm><mod i=\"1000\"><ext>"
                         "<dom n=\"Preset\"><val i=\"0\" n=\"Untitled 0\"/>",
                         0),
              0u);
    EXPECT_NE(text.find("<val i=\"127\" n=\"Untitled 127\"/></dom></ext><glob><ps><pv i=\"0\" v=\"0\"/>"
                        "</ps></glob></mod><mod i=\"2000\"><glob><ps><pv i=\"0\" v=\"0\"/></ps></glob>"
                        "<pgms><pgm i=\"0\"><ps><pv i=\"0\" v=\"0\"/><pv i=\"1\" v=\"120.0\"/>"
                        "<pv i=\"2\" v=\"Port A\"/></ps></pgm><pgm i=\"1\">"),
              std::string::npos);
    EXPECT_NE(text.find("<cm><mod i=\"300100\"><ext><dev n=\"none\"/></ext><glob>"),
              std::string::npos);
    // The bare module and the program module's empty program sets write nothing but the id.
    EXPECT_NE(text.find("<mod i=\"9000\"/></cm></mod></fxb>"), std::string::npos);
    EXPECT_EQ(text.find("<pgms/>"), std::string::npos);
    EXPECT_EQ(text.find("<glob/>"), std::string::npos);
    EXPECT_EQ(text.back(), '\0');
    EXPECT_EQ(text.find('\0'), text.size() - 1);
}

TEST(ZylModuleState, ProgramDocumentHoldsOneProgramAndItsName)
{
    StateTree tree;
    tree.programs().setProgramName(5, "Five");
    const auto text = toText(tree.program(5));

    EXPECT_EQ(text.rfind("<fxp><mod i=\"2\" n=\"lumenfold\" v=\"2.5.544\"><cm><mod i=\"1000\"><ext>"
                         "<val i=\"5\" n=\"Five\"/></ext></mod><mod i=\"2000\"><pgm i=\"5\"><ps>",
                         0),
              0u);
    EXPECT_EQ(text.find("<glob>"), std::string::npos);
    EXPECT_EQ(text.find("<pgms>"), std::string::npos);
}

TEST(ZylModuleState, SavedBankLoadsIntoAFreshTreeAndSavesToTheSameBytes)
{
    StateTree original;
    changeEverything(original);
    const auto saved = original.bank();
    const auto text = toText(saved);
    EXPECT_NE(text.find("n=\"Caf\xc3\xa9 5\""), std::string::npos) << "UTF-8, not references";
    EXPECT_NE(text.find("<dev n=\"Ger\xc3\xa4t &quot;2&quot; &amp; &lt;3&gt;\"/>"), std::string::npos);
    EXPECT_EQ(text.find("$tmp"), std::string::npos);
    EXPECT_EQ(text.find("odd key"), std::string::npos);

    StateTree loaded;
    ZylTestSink sink;
    loaded.root->addParameterSink(&sink, false);
    zyltest::drainMessageQueue();
    sink.entries.clear();

    ASSERT_TRUE(loadBank(loaded, saved));
    EXPECT_EQ(loaded.bank(), saved);

    EXPECT_EQ(loaded.programs().getProgramName(0), "Init");
    EXPECT_EQ(loaded.leaf().programParameter(127, 1)->getValue(), 250.25f);
    EXPECT_EQ(loaded.leaf().programParameter(5, 2)->getValueObject()->getName(),
              L"Gymnop\u00e9die no. 1");
    EXPECT_EQ(loaded.inner().deviceName, original.inner().deviceName);
    EXPECT_EQ(loaded.root->getPropertySet()->getIntValue("editorWidth"), 640);
    EXPECT_EQ(loaded.leaf().getPropertySet()->getValue("lastUsedFileNameWinfxb"),
              "C:\\a & b\\bank.fxb");

    // Loading posts nothing itself; the resend afterwards tells every listener, with cause 5.
    zyltest::drainMessageQueue();
    int resent = 0;
    for (const auto& entry : sink.entries)
        if (entry.code == zylMessageCode(kValueChanged, kCauseState))
            ++resent;
    EXPECT_GE(resent, 6);
    loaded.root->removeParameterSink(&sink, false);
}

TEST(ZylModuleState, SavedProgramLoadsIntoAnyProgramAndSavesToTheSameBytes)
{
    StateTree original;
    changeEverything(original);

    StateTree sameIndex;
    const auto programZero = original.program(0);
    ASSERT_TRUE(loadProgram(sameIndex, 0, programZero));
    EXPECT_EQ(sameIndex.program(0), programZero);

    StateTree otherIndex;
    const auto programFive = original.program(5);
    ASSERT_TRUE(loadProgram(otherIndex, 9, programFive));
    const auto expected = replaceAll(replaceAll(toText(programFive), "<val i=\"5\"", "<val i=\"9\""),
                                     "<pgm i=\"5\"", "<pgm i=\"9\"");
    EXPECT_EQ(toText(otherIndex.program(9)), expected);
    EXPECT_EQ(otherIndex.programs().getProgramName(9),
              juce::String(juce::CharPointer_UTF8("Caf\xc3\xa9 5")));
    EXPECT_EQ(otherIndex.leaf().programParameter(9, 1)->getValue(), 128.25f);
    // Only program 9 changed.
    EXPECT_EQ(otherIndex.leaf().programParameter(5, 1)->getValue(), 120.0f);
    EXPECT_EQ(otherIndex.programs().getProgramName(5), "Untitled 5");
}

TEST(ZylModuleState, LoadingNeverResetsWhatTheStateDoesNotMention)
{
    StateTree tree;
    changeEverything(tree);
    const auto before = tree.leaf().programParameter(5, 1)->getValue();

    ZylDebugCapture capture;
    const auto partial = blockOf(
        "<fxb><mod i=\"2\" n=\"lumenfold\" v=\"2.0.349\"><cm>"
        "<mod i=\"2000\"><pgms><pgm i=\"7\"><ps><pv i=\"1\" v=\"300\"/><pv i=\"77\" v=\"1\"/></ps>"
        "</pgm><pgm><ps><pv i=\"1\" v=\"400\"/></ps></pgm></pgms></mod>"
        "<mod i=\"4242\"><glob><ps><pv i=\"0\" v=\"1\"/></ps></glob></mod>"
        "<mod><glob/></mod></cm></mod></fxb>");
    ASSERT_TRUE(loadBank(tree, partial));

    EXPECT_EQ(tree.leaf().programParameter(7, 1)->getValue(), 300.0f);
    EXPECT_EQ(tree.leaf().programParameter(5, 1)->getValue(), before);
    EXPECT_EQ(tree.programs().getProgramName(0), "Init");
    EXPECT_EQ(tree.root->getPropertySet()->getIntValue("editorWidth"), 640);
    EXPECT_TRUE(capture.contains("unknown parameter id=77"));
}

TEST(ZylModuleState, ProgramStateGoesIntoTheIndexGivenWhateverItsPgmSays)
{
    StateTree tree;
    const auto program = blockOf(
        "<fxp><mod i=\"2\" n=\"lumenfold\" v=\"2.5.1\"><cm><mod i=\"1000\"><ext>"
        "<val i=\"3\" n=\"Nine\"/></ext></mod><mod i=\"2000\"><pgm i=\"3\"><ps><pv i=\"1\" v=\"99\"/>"
        "</ps></pgm></mod></cm></mod></fxp>");
    ASSERT_TRUE(loadProgram(tree, 9, program));
    EXPECT_EQ(tree.programs().getProgramName(9), "Nine");
    EXPECT_EQ(tree.programs().getProgramName(3), "Untitled 3");
    EXPECT_EQ(tree.leaf().programParameter(9, 1)->getValue(), 99.0f);
    EXPECT_EQ(tree.leaf().programParameter(3, 1)->getValue(), 120.0f);
}

TEST(ZylModuleState, ABankWithTenNamesRenamesTheFirstTenPrograms)
{
    StateTree tree;
    std::string names;
    for (int i = 0; i < 10; ++i)
        names += "<val i=\"" + std::to_string(i) + "\" n=\"P" + std::to_string(i) + "\"/>";
    const auto bank = blockOf("<fxb><mod i=\"2\" n=\"lumenfold\" v=\"2.5.544\"><cm><mod i=\"1000\">"
                              "<ext><dom n=\"Preset\">"
                              + names + "</dom></ext></mod></cm></mod></fxb>");
    ASSERT_TRUE(loadBank(tree, bank));
    EXPECT_EQ(tree.programs().getProgramName(9), "P9");
    EXPECT_EQ(tree.programs().getProgramName(10), "Untitled 10");
}

TEST(ZylModuleState, TransientPropertiesStayOutOfTheState)
{
    StateTree tree;
    const auto bank = blockOf("<fxb><mod i=\"2\" n=\"lumenfold\" v=\"2.5.544\"><glob>"
                              "<prs $tmp/x=\"1\" editorHeight=\"300\"/></glob></mod></fxb>");
    // "$tmp/x" is no attribute name the parser accepts, so this state is refused whole ...
    EXPECT_FALSE(loadBank(tree, bank));

    // ... while a transient key of a stored state that the parser reads is taken.
    tree.root->getPropertySet()->setValue("$tmp/x", "1");
    tree.root->getPropertySet()->setValue("editorHeight", 300);
    const auto text = toText(tree.bank());
    EXPECT_NE(text.find("<glob><prs editorHeight=\"300\"/></glob>"), std::string::npos);
    EXPECT_EQ(text.find("$tmp"), std::string::npos);
}

TEST(ZylModuleState, TheOlderPluginLayoutIsLoadedThroughItsFirstChild)
{
    StateTree tree;
    const auto old = blockOf(
        "<plugin pluginName=\"lumenfold\" pluginVersion=\"2.0.1\"><state><cm><mod i=\"2000\"><glob>"
        "<ps><pv i=\"0\" v=\"1\"/></ps></glob></mod></cm></state><a/><b/><fxb/></plugin>");
    ASSERT_TRUE(loadBank(tree, old));
    EXPECT_EQ(tree.leaf().power()->getValueObject()->getName(), L"On");
}

TEST(ZylModuleState, BinaryStateOfTheFrameworkIsAccepted)
{
    StateTree original;
    changeEverything(original);
    const auto saved = original.bank();
    auto document = parseXmlFromMemory(saved.getData(), static_cast<juce::int64>(saved.getSize()));
    ASSERT_NE(document, nullptr);
    juce::MemoryBlock binary;
    juce::AudioProcessor::copyXmlToBinary(*document, binary);
    ASSERT_EQ(std::string(static_cast<const char*>(binary.getData()), 4), "VC2!");

    StateTree loaded;
    ASSERT_TRUE(loadBank(loaded, binary));
    EXPECT_EQ(loaded.bank(), saved);
}

// Every refused load reports failure and leaves every module as it was.
TEST(ZylModuleState, RefusedStatesChangeNothing)
{
    StateTree source;
    changeEverything(source);
    const auto goodBank = toText(source.bank());
    const auto goodProgram = toText(source.program(5));
    const std::string header = "<mod i=\"2\" n=\"lumenfold\" v=\"2.5.544\">";

    struct Case
    {
        const char* what;
        std::string data;
        bool bank;
        int programIndex;
    };
    const Case cases[] = {
        { "empty", "", true, 0 },
        { "not xml", "garbage", true, 0 },
        { "cut in the middle", goodBank.substr(0, goodBank.size() / 2), true, 0 },
        { "program state as bank", goodProgram, true, 0 },
        { "bank state as program", goodBank, false, 5 },
        { "wrong name", replaceAll(goodBank, "n=\"lumenfold\"", "n=\"other\""), true, 0 },
        { "major version 3", replaceAll(goodBank, "v=\"2.5.544\"", "v=\"3.0.0\""), true, 0 },
        { "major version 1", replaceAll(goodBank, "v=\"2.5.544\"", "v=\"1.9.0\""), true, 0 },
        { "no version", replaceAll(goodBank, " v=\"2.5.544\"", ""), true, 0 },
        { "invalid utf-8", replaceAll(goodBank, "Caf\xc3\xa9", "Caf\xe9"), true, 0 },
        { "root without child", "<fxb/>", true, 0 },
        { "program root without child", "<fxp></fxp>", false, 0 },
        { "pgm index 128", "<fxb>" + header + "<cm><mod i=\"2000\"><pgms><pgm i=\"0\"><ps>"
                               "<pv i=\"1\" v=\"50\"/></ps></pgm><pgm i=\"128\"/></pgms></mod>"
                               "</cm></mod></fxb>",
          true, 0 },
        { "pgm index -1", "<fxb>" + header + "<cm><mod i=\"2000\"><pgms><pgm i=\"-1\"/></pgms>"
                              "</mod></cm></mod></fxb>",
          true, 0 },
        { "ext without child", "<fxb>" + header + "<cm><mod i=\"1000\"><ext/></mod><mod i=\"2000\">"
                                   "<glob><ps><pv i=\"0\" v=\"0\"/></ps></glob></mod></cm></mod></fxb>",
          true, 0 },
        { "nested ext without child", "<fxp>" + header + "<cm><mod i=\"2000\"><cm><mod i=\"300100\">"
                                          "<ext></ext></mod></cm></mod></cm></mod></fxp>",
          false, 0 },
        { "program index 128", goodProgram, false, 128 },
        { "program index -1", goodProgram, false, -1 },
        // 2^32 + 5 and 2^31 would wrap to 5 and INT_MIN in a 32-bit int.
        { "pgm index 4294967301", "<fxb>" + header + "<cm><mod i=\"2000\"><pgms><pgm i=\"4294967301\">"
                                      "<ps><pv i=\"1\" v=\"50\"/></ps></pgm></pgms></mod></cm></mod></fxb>",
          true, 0 },
        { "pgm index 2147483648", "<fxb>" + header + "<cm><mod i=\"2000\"><pgms><pgm i=\"2147483648\">"
                                      "<ps><pv i=\"1\" v=\"50\"/></ps></pgm></pgms></mod></cm></mod></fxb>",
          true, 0 },
        { "pgm index with trailing text", "<fxb>" + header + "<cm><mod i=\"2000\"><pgms><pgm i=\"5x\">"
                                              "<ps><pv i=\"1\" v=\"50\"/></ps></pgm></pgms></mod></cm></mod></fxb>",
          true, 0 },
        { "program name over the length limit",
          replaceAll(goodBank, "n=\"Init\"", "n=\"" + std::string(kMaxStateTextLength + 1, 'x') + "\""),
          true, 0 },
        { "property value over the length limit",
          replaceAll(goodBank, "editorWidth=\"640\"",
                     "editorWidth=\"" + std::string(kMaxStateTextLength + 1, '6') + "\""),
          true, 0 },
        { "100,000 properties", propertyFlood(header, 100000), true, 0 },
        { "property set over the limit", propertyFlood(header, kMaxStateAttributes + 1), true, 0 },
    };

    for (const auto& c : cases)
    {
        StateTree tree;
        changeEverything(tree);
        tree.programs().setProgramName(1, "kept");
        const auto before = tree.bank();

        const auto data = blockOf(c.data);
        const auto start = std::chrono::steady_clock::now();
        const bool loaded = c.bank ? loadBank(tree, data) : loadProgram(tree, c.programIndex, data);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_FALSE(loaded) << c.what;
        EXPECT_EQ(tree.bank(), before) << c.what;
        // Every step of a load is linear in its input: the largest case here (about 1.5 MB)
        // takes milliseconds, also in the sanitizer build; a quadratic step takes minutes.
        EXPECT_LT(took.count(), 5.0) << c.what;
    }
}

// Integer attributes that do not fit an int are bad ids, not ids modulo 2^32: the load goes on,
// skipping what they name, as for any unknown id.
TEST(ZylModuleState, IdsOutsideTheIntRangeNameNothing)
{
    StateTree tree;
    changeEverything(tree);
    const auto level = tree.leaf().programParameter(5, 0)->getValueObject();
    const auto tempo = tree.leaf().programParameter(5, 1)->getValue();
    const auto mix = tree.inner().mix()->getValueObject();

    ZylDebugCapture capture;
    const auto bank = blockOf(
        "<fxb><mod i=\"2\" n=\"lumenfold\" v=\"2.5.544\"><cm>"
        // 2^32 + 1 and 2^32 + 0 as parameter and value ids of parameter 0 (fixed values) and 1.
        "<mod i=\"2000\"><pgms><pgm i=\"5\"><ps><pv i=\"4294967296\" v=\"3\"/>"
        "<pv i=\"4294967297\" v=\"300\"/><pv i=\"0\" v=\"4294967296\"/></ps></pgm></pgms></mod>"
        // 2^32 + 300100: the inner module's id modulo 2^32.
        "<mod i=\"4295267396\"><glob><ps><pv i=\"0\" v=\"7\"/></ps></glob></mod>"
        "</cm></mod></fxb>");
    ASSERT_TRUE(loadBank(tree, bank));

    EXPECT_EQ(tree.leaf().programParameter(5, 0)->getValueObject(), level);
    EXPECT_EQ(tree.leaf().programParameter(5, 1)->getValue(), tempo);
    EXPECT_EQ(tree.inner().mix()->getValueObject(), mix);
    EXPECT_TRUE(capture.contains("unknown parameter id=4294967297"));
}

// Names and property values hold at most kMaxStateTextLength characters: a longer program name
// is cut when it is set, and whatever the tree holds is saved within the limit, so that every
// saved state loads again.
TEST(ZylModuleState, LongTextsAreCutToTheLimitAndStillLoad)
{
    StateTree tree;
    const auto length = static_cast<size_t>(kMaxStateTextLength);
    tree.programs().setProgramName(3, juce::String(std::string(length + 10, 'n')));
    EXPECT_EQ(tree.programs().getProgramName(3).length(), kMaxStateTextLength);
    tree.leaf().getPropertySet()->setValue("lastUsedFileNameWinfxb",
                                           juce::String(std::string(length * 2, 'p')));
    for (int i = 0; i < kMaxStateAttributes + 5; ++i)
        tree.root->getPropertySet()->setValue("k" + juce::String(i), i);

    const auto saved = tree.bank();
    StateTree again;
    ASSERT_TRUE(loadBank(again, saved));
    EXPECT_EQ(again.programs().getProgramName(3), tree.programs().getProgramName(3));
    EXPECT_EQ(again.leaf().getPropertySet()->getValue("lastUsedFileNameWinfxb"),
              juce::String(std::string(length, 'p')));
    EXPECT_EQ(again.root->getPropertySet()->getAllProperties().size(), kMaxStateAttributes);
    EXPECT_EQ(again.bank(), saved);
}
