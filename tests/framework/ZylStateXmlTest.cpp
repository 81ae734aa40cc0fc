#include "framework/ZylStateXml.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>
#include <string>

namespace
{
juce::MemoryBlock textBlock(const std::string& text, bool withZero = true)
{
    juce::MemoryBlock block(text.data(), text.size());
    if (withZero)
        block.append("\0", 1);
    return block;
}

std::unique_ptr<juce::XmlElement> parse(const std::string& text)
{
    auto block = textBlock(text);
    return parseXmlFromMemory(block.getData(), static_cast<juce::int64>(block.getSize()));
}
} // namespace

TEST(ZylStateXml, TextIsOneLineOfUtf8FollowedByOneZeroByte)
{
    juce::XmlElement root("fxb");
    auto* mod = root.createNewChildElement("mod");
    mod->setAttribute("i", 2);
    mod->setAttribute("n", juce::String(juce::CharPointer_UTF8("Gymnop\xc3\xa9" "die & <co>")));
    mod->createNewChildElement("glob");

    juce::MemoryBlock block;
    writeXmlToMemory(root, block);

    const std::string expected =
        "<fxb><mod i=\"2\" n=\"Gymnop\xc3\xa9" "die &amp; &lt;co&gt;\"><glob/></mod></fxb>";
    ASSERT_EQ(block.getSize(), expected.size() + 1);
    EXPECT_EQ(std::string(static_cast<const char*>(block.getData()), expected.size()), expected);
    EXPECT_EQ(static_cast<const char*>(block.getData())[expected.size()], '\0');
}

TEST(ZylStateXml, ControlCharactersAndQuotesSurviveARoundTrip)
{
    juce::XmlElement root("prs");
    const juce::String odd = juce::String("a\"b\tc\nd\re'f`g^") + juce::String::charToString(0x1F600);
    root.setAttribute("k", odd);

    juce::MemoryBlock block;
    writeXmlToMemory(root, block);
    const std::string text(static_cast<const char*>(block.getData()), block.getSize() - 1);
    EXPECT_EQ(text.find('\n'), std::string::npos);

    auto back = parseXmlFromMemory(block.getData(), static_cast<juce::int64>(block.getSize()));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getStringAttribute("k"), odd);
}

TEST(ZylStateXml, CharactersUtf8CannotHoldAreWrittenAsReplacementCharacters)
{
    // A text converted from malformed UTF-16 (a file name with a lone surrogate, say) can hold
    // code points that UTF-8 cannot encode; written as they are, they would make the whole
    // document unreadable.
    for (const juce::juce_wchar bad : { 0xD800u, 0xDFFFu, 0x110000u, 0x7FFFFFFFu })
    {
        const juce::juce_wchar raw[] = { 'a', bad, 'b', 0 };
        juce::XmlElement root("prs");
        root.setAttribute("k", juce::String(juce::CharPointer_UTF32(raw)));

        juce::MemoryBlock block;
        writeXmlToMemory(root, block);
        auto back = parseXmlFromMemory(block.getData(), static_cast<juce::int64>(block.getSize()));
        ASSERT_NE(back, nullptr) << std::hex << static_cast<unsigned>(bad);
        EXPECT_EQ(back->getStringAttribute("k"), juce::String(juce::CharPointer_UTF8("a\xef\xbf\xbd" "b")))
            << std::hex << static_cast<unsigned>(bad);
    }
}

TEST(ZylStateXml, ParsesWithAndWithoutBinaryHeaderAndTrailingZero)
{
    EXPECT_NE(parse("<fxb/>"), nullptr);

    auto noZero = textBlock("<fxb/>", false);
    EXPECT_NE(parseXmlFromMemory(noZero.getData(), static_cast<juce::int64>(noZero.getSize())),
              nullptr);

    juce::MemoryBlock binary;
    const std::string header("VC2!\x07\x00\x00\x00", 8);
    binary.append(header.data(), header.size());
    binary.append("<fxp/>", 6);
    binary.append("\0", 1);
    auto element = parseXmlFromMemory(binary.getData(), static_cast<juce::int64>(binary.getSize()));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->getTagName(), "fxp");

    // Eight bytes or fewer that begin with the magic are read from the first byte.
    auto shortMagic = textBlock("VC2!<a/>", false);
    EXPECT_EQ(parseXmlFromMemory(shortMagic.getData(), 8), nullptr);
}

// Which bytes the parser is given: the header is skipped only when text follows it, and the text
// ends at the first zero byte.
TEST(ZylStateXml, StateTextStartsAfterTheBinaryHeaderAndEndsAtTheFirstZero)
{
    struct Case
    {
        const char* what;
        std::string data;
        size_t offset;
        size_t length;
    };
    const Case cases[] = {
        { "magic and 4 bytes: no header", std::string("VC2!<a/>", 8), 0, 8 },
        { "magic alone", "VC2!", 0, 4 },
        { "header and one byte", std::string("VC2!\x01\0\0\0x", 9), 8, 1 },
        { "header, text, zero, rest", std::string("VC2!\x05\0\0\0<a/>\0junk", 17), 8, 4 },
        { "header and a zero", std::string("VC2!\x05\0\0\0\0<a/>", 13), 8, 0 },
        { "plain text with a zero", std::string("<a/>\0<b/>", 9), 0, 4 },
        { "plain text", "<fxb/>", 0, 6 },
    };
    for (const auto& c : cases)
    {
        const auto text = stateTextOf(c.data.data(), static_cast<juce::int64>(c.data.size()));
        EXPECT_EQ(text.data(), c.data.data() + c.offset) << c.what;
        EXPECT_EQ(text.size(), c.length) << c.what;
    }
    EXPECT_TRUE(stateTextOf(nullptr, 10).empty());
    EXPECT_TRUE(stateTextOf("<a/>", 0).empty());
}

TEST(ZylStateXml, RefusesInputTheParserHandlesUnsafely)
{
    struct Case
    {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        { "empty", "" },
        { "not xml", "hello" },
        { "invalid utf-8", "<fxb n=\"\xff\"/>" },
        { "overlong utf-8", "<fxb n=\"\xc0\xaf\"/>" },
        { "surrogate in utf-8", "<fxb n=\"\xed\xa0\x80\"/>" },
        { "truncated utf-8", "<fxb n=\"\xe2\x82" },
        { "reference at the end", "<fxb n=\"&#x" },
        { "unterminated reference", "<fxb n=\"&#65\"/>" },
        { "reference to zero", "<fxb n=\"&#0;\"/>" },
        { "reference to a surrogate", "<fxb n=\"&#xD800;\"/>" },
        { "reference beyond unicode", "<fxb n=\"&#x110000;\"/>" },
        // The framework's parser stops after 8 hexadecimal digits and reads "\x04" then "1;".
        { "nine hexadecimal digits", "<fxb n=\"&#x000000041;\"/>" },
        { "named entity", "<fxb n=\"&nbsp;\"/>" },
        { "doctype", "<!DOCTYPE fxb [<!ENTITY a \"b\">]><fxb n=\"&a;\"/>" },
        { "unterminated tag", "<fxb n=\"1\"" },
        { "unterminated comment", "<fxb><!-- x </fxb>" },
        { "instruction followed by text", "<fxb><?" "?>text</fxb>" },
        { "instruction inside an element", "<fxb><mod/><?x y?></fxb>" },
        // The two readers would see different tokens in these; the framework's parser loops for
        // ever on the first.
        { "attribute without '='", "<fxp><mod v\"><?al n=?>\"x\"/></fxp>" },
        { "unquoted attribute", "<fxb i=2/>" },
        { "attribute without blank", "<fxb i=\"2\"n=\"x\"/>" },
        { "raw '<' in a value", "<fxb n=\"<\"/>" },
        { "mismatched end tag", "<fxb><mod></pgm></fxb>" },
        { "unclosed element", "<fxb><mod>" },
        { "text after the root", "<fxb/>tail" },
        { "second root", "<fxb/><fxp/>" },
        { "markup declaration inside", "<fxb><!ELEMENT x></fxb>" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(parse(c.text), nullptr) << c.what;

    EXPECT_EQ(parseXmlFromMemory(nullptr, 10), nullptr);
    EXPECT_NE(parse("<fxb n=\"&#65;&#x42;&amp;\"><!-- c --><![CDATA[<x>]]></fxb>"), nullptr);
    if (auto eight = parse("<fxb n=\"&#x00000041;&#0000000066;\"/>"); eight != nullptr)
    {
        EXPECT_EQ(eight->getStringAttribute("n"), "AB");
    }
    else
    {
        ADD_FAILURE() << "eight hexadecimal and ten decimal digits refused";
    }
    EXPECT_NE(parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<fxb/>"), nullptr);
    EXPECT_NE(parse("<!-- c --> <fxb a='1'\tb = \"&lt;&#x1F600;\" ><x/>text<y ></y ></fxb>\r\n"),
              nullptr);
}

TEST(ZylStateXml, RefusesNestingDeeperThanTheBound)
{
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<a x=\"/>\">";
        for (int i = 0; i < depth; ++i)
            text += "</a>";
        return text;
    };
    EXPECT_NE(parse(nested(kMaxStateXmlDepth)), nullptr);
    EXPECT_EQ(parse(nested(kMaxStateXmlDepth + 1)), nullptr);
    EXPECT_EQ(parse(nested(100000)), nullptr);
}

// Elements, attributes and text runs count together against one budget, so that a file of many
// tiny nodes cannot make the parser build a tree twenty times its size.
TEST(ZylStateXml, RefusesDocumentsWithMoreNodesThanTheBudget)
{
    // The root and n-1 children, each child "<a/>": n nodes.
    auto elements = [](int n) {
        std::string text = "<fxb>";
        for (int i = 1; i < n; ++i)
            text += "<a/>";
        return text + "</fxb>";
    };
    // The root with n-1 attributes spread over children of 1000 attributes each.
    auto attributes = [](int n) {
        std::string text = "<fxb>";
        int left = n - 1;
        while (left > 0)
        {
            text += "<a";
            const int here = std::min(left - 1, 999);
            for (int i = 0; i < here; ++i)
                text += " b" + std::to_string(i) + "=\"\"";
            text += "/>";
            left -= here + 1;
        }
        return text + "</fxb>";
    };
    // The root and n-1 text runs, kept apart by comments; blanks alone are no text.
    auto texts = [](int n) {
        std::string text = "<fxb> \n";
        for (int i = 1; i < n; ++i)
            text += "t<!---->";
        return text + "</fxb>";
    };
    using Maker = std::function<std::string(int)>;
    for (const auto& make : { Maker(elements), Maker(attributes), Maker(texts) })
    {
        EXPECT_NE(parse(make(kMaxStateNodes)), nullptr);
        EXPECT_EQ(parse(make(kMaxStateNodes + 1)), nullptr);
    }
    EXPECT_EQ(parse(elements(4 * kMaxStateNodes)), nullptr);
}

TEST(ZylStateXml, ReadsNameVersionAndKind)
{
    struct Case
    {
        std::string text;
        const char* name;
        const char* version;
        const char* kind;
    };
    const Case cases[] = {
        { "<fxb><mod i=\"2\" n=\"lumenfold\" v=\"2.5.544\"/></fxb>", "lumenfold", "2.5.544", "fxb" },
        { "<fxp><mod n=\"x\"/></fxp>", "x", "", "fxp" },
        { "<fxb><other n=\"x\" v=\"1\"/></fxb>", "", "", "fxb" },
        { "<fxb/>", "", "", "fxb" },
        { "<plugin pluginName=\"p\" pluginVersion=\"2.0\"><a/><b/><c/><fxb/></plugin>", "p", "2.0",
          "fxb" },
        { "<plugin pluginName=\"p\" pluginVersion=\"2.0\"><fxp/></plugin>", "p", "2.0", "fxp" },
        { "<plugin pluginName=\"p\"><a/></plugin>", "p", "", "" },
        { "<FXB><mod n=\"x\" v=\"2\"/></FXB>", "", "", "" },
    };
    for (const auto& c : cases)
    {
        auto element = parse(c.text);
        ASSERT_NE(element, nullptr) << c.text;
        juce::String name = "stale", version = "stale", kind = "stale";
        const bool complete = getStateInfo(*element, name, version, kind);
        EXPECT_EQ(name, c.name) << c.text;
        EXPECT_EQ(version, c.version) << c.text;
        EXPECT_EQ(kind, c.kind) << c.text;
        EXPECT_EQ(complete, name.isNotEmpty() && version.isNotEmpty() && kind.isNotEmpty());
    }
}

TEST(ZylStateXml, ParsesVersionsTheWayAtoiReadsThem)
{
    struct Case
    {
        const char* text;
        int major, minor, build;
    };
    const Case cases[] = {
        { "2.5.544", 2, 5, 544 }, { "2.0.349", 2, 0, 349 }, { "3", 3, 0, 0 },
        { "", 0, 0, 0 },          { " 2x.7", 2, 7, 0 },     { "-1.2.3.4", -1, 2, 3 },
        { "99999999999999.1", 2147483647, 1, 0 },          { "a.b.c", 0, 0, 0 },
    };
    for (const auto& c : cases)
    {
        int major = -7, minor = -7, build = -7;
        parseVersion(c.text, major, minor, build);
        EXPECT_EQ(major, c.major) << c.text;
        EXPECT_EQ(minor, c.minor) << c.text;
        EXPECT_EQ(build, c.build) << c.text;
    }
}

TEST(ZylStateXml, AcceptsOnlyThisProgramsNameMajorVersionTwoAndTheExpectedKind)
{
    struct Case
    {
        std::string text;
        const char* expectedTag;
        bool accepted;
    };
    auto bank = [](const char* name, const char* version) {
        return std::string("<fxb><mod i=\"2\" n=\"") + name + "\" v=\"" + version + "\"/></fxb>";
    };
    const Case cases[] = {
        { bank("lumenfold", "2.5.544"), "fxb", true },
        { bank("lumenfold", "2.0.349"), "fxb", true },
        { bank("lumenfold", "2.7.1"), "fxb", true },
        { bank("lumenfold", "1.9.0"), "fxb", false },
        { bank("lumenfold", "3.0.0"), "fxb", false },
        { bank("Lumenfold", "2.5.544"), "fxb", false },
        { bank("lumenfold", "2.5.544"), "fxp", false },
        { "<fxb/>", "fxb", false },
        { "<plugin pluginName=\"lumenfold\" pluginVersion=\"2.1\"><x/><x/><x/><fxb/></plugin>", "fxb",
          true },
    };
    for (const auto& c : cases)
    {
        auto element = parse(c.text);
        ASSERT_NE(element, nullptr) << c.text;
        EXPECT_EQ(isStateAccepted(*element, c.expectedTag, "lumenfold", "2.5.544"), c.accepted)
            << c.text << " as " << c.expectedTag;
    }
}

TEST(ZylStateXml, FindsChildrenByExactTag)
{
    auto element = parse("<a><B/><b i=\"1\"/><b i=\"2\"/></a>");
    ASSERT_NE(element, nullptr);
    auto* b = findFirstChildElement(*element, "b");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->getIntAttribute("i"), 1);
    EXPECT_EQ(findFirstChildElement(*element, "c"), nullptr);
}

TEST(ZylStateXml, ParsesIntegerAttributesOnlyWhenWholeAndInRange)
{
    struct Case
    {
        const char* text;
        std::optional<int> value;
    };
    const Case cases[] = {
        { "5", 5 },
        { " \t-12 \n", -12 },
        { "+7", 7 },
        { "2147483647", INT_MAX },
        { "-2147483648", INT_MIN },
        { "2147483648", std::nullopt },
        { "-2147483649", std::nullopt },
        { "4294967301", std::nullopt },
        { "99999999999999999999999999", std::nullopt },
        { "", std::nullopt },
        { "-", std::nullopt },
        { "5x", std::nullopt },
        { "x5", std::nullopt },
        { "1 2", std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseStateInt(c.text), c.value) << c.text;
}
