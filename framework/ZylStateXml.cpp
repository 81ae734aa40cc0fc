#include "framework/ZylStateXml.h"

#include <climits>
#include <cstring>
#include <string>

namespace
{
constexpr const char* kBinaryXmlMagic = "VC2!";
constexpr juce::int64 kBinaryXmlHeaderSize = 8;
constexpr int kMajorVersionLoaded = 2;

// ASCII characters written as they are inside attribute values; every other ASCII character
// except the four with named entities becomes a character reference. The set is the one the
// framework's own writer uses, so ASCII text reads the same whichever wrote it.
bool isPlainXmlChar(juce::juce_wchar c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return c != 0 && std::strchr(" .,;:-()_+=?!$#@[]/|*%~{}'\\", static_cast<int>(c)) != nullptr;
}

bool isAcceptableCodePoint(juce::int64 code)
{
    return code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
}

void writeUtf8Char(juce::MemoryOutputStream& out, juce::juce_wchar c)
{
    char buffer[8] = {};
    juce::CharPointer_UTF8 dest(buffer);
    dest.write(c);
    out.write(buffer, static_cast<size_t>(dest.getAddress() - buffer));
}

// Writes at most maxCharacters characters of text (a negative limit writes all).
void writeEscaped(juce::MemoryOutputStream& out, const juce::String& text, bool escapeNewLines,
                  int maxCharacters)
{
    int written = 0;
    for (auto p = text.getCharPointer(); !p.isEmpty() && (maxCharacters < 0 || written++ < maxCharacters);)
    {
        const auto c = p.getAndAdvance();
        if (static_cast<juce::uint32>(c) >= 128)
        {
            // A text converted from malformed UTF-16 can hold a lone surrogate, and a string
            // built from UTF-32 a code point beyond U+10FFFF. UTF-8 cannot hold either, and one
            // written as it is would make the whole document unreadable, so it becomes U+FFFD.
            const bool encodable = isAcceptableCodePoint(static_cast<juce::uint32>(c));
            writeUtf8Char(out, encodable ? c : static_cast<juce::juce_wchar>(0xFFFD));
            continue;
        }
        if (isPlainXmlChar(c))
        {
            out.writeByte(static_cast<char>(c));
            continue;
        }
        switch (c)
        {
        case '&': out << "&amp;"; break;
        case '"': out << "&quot;"; break;
        case '>': out << "&gt;"; break;
        case '<': out << "&lt;"; break;
        case '\n':
        case '\r':
            if (!escapeNewLines)
            {
                out.writeByte(static_cast<char>(c));
                break;
            }
            out << "&#" << static_cast<int>(c) << ';';
            break;
        default: out << "&#" << static_cast<int>(c) << ';'; break;
        }
    }
}

void writeElement(juce::MemoryOutputStream& out, const juce::XmlElement& element)
{
    if (element.isTextElement())
    {
        writeEscaped(out, element.getText(), false, -1);
        return;
    }
    out.writeByte('<');
    out << element.getTagName();
    // A value longer than the loader reads is cut, so that every state written loads again.
    const int attributes = element.getNumAttributes();
    for (int i = 0; i < attributes; ++i)
    {
        out.writeByte(' ');
        out << element.getAttributeName(i);
        out.write("=\"", 2);
        writeEscaped(out, element.getAttributeValue(i), true, kMaxStateTextLength);
        out.writeByte('"');
    }
    if (element.getFirstChildElement() == nullptr)
    {
        out.write("/>", 2);
        return;
    }
    out.writeByte('>');
    for (auto* child : element.getChildIterator())
        writeElement(out, *child);
    out.write("</", 2);
    out << element.getTagName();
    out.writeByte('>');
}

bool startsWithAt(const char* s, size_t n, size_t at, const char* literal)
{
    const auto length = std::strlen(literal);
    return at + length <= n && std::memcmp(s + at, literal, length) == 0;
}

bool startsWithAtIgnoreCase(const char* s, size_t n, size_t at, const char* literal)
{
    const auto length = std::strlen(literal);
    if (at + length > n)
        return false;
    for (size_t k = 0; k < length; ++k)
    {
        auto c = s[at + k];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != literal[k])
            return false;
    }
    return true;
}

size_t findFrom(const char* s, size_t n, size_t from, const char* literal)
{
    const auto length = std::strlen(literal);
    for (size_t k = from; k + length <= n; ++k)
        if (std::memcmp(s + k, literal, length) == 0)
            return k;
    return std::string::npos;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Length of the entity or character reference at s[at] == '&', including its ';'; 0 when it is
// not one the loader accepts. The framework's parser misreads a character reference that runs
// to the end of the text and expands named entities from a document type declaration, so only
// the five predefined entities and references to valid characters pass. It also reads at most
// 8 hexadecimal digits and takes what follows as text, so a longer hexadecimal reference (one
// with leading zeros) is refused rather than read as another character.
size_t referenceLength(const char* s, size_t n, size_t at)
{
    for (const char* name : { "amp;", "quot;", "apos;", "lt;", "gt;" })
        if (startsWithAtIgnoreCase(s, n, at + 1, name))
            return 1 + std::strlen(name);

    if (at + 1 >= n || s[at + 1] != '#')
        return 0;

    size_t k = at + 2;
    const bool hex = k < n && (s[k] == 'x' || s[k] == 'X');
    if (hex)
        ++k;
    const auto digitsStart = k;
    const size_t maxDigits = hex ? 8 : 10;
    juce::int64 code = 0;
    for (; k < n && s[k] != ';'; ++k)
    {
        const int digit = hex ? hexDigitValue(s[k]) : ((s[k] >= '0' && s[k] <= '9') ? s[k] - '0' : -1);
        if (digit < 0 || k - digitsStart >= maxDigits)
            return 0;
        code = code * (hex ? 16 : 10) + digit;
    }
    if (k >= n || k == digitsStart || !isAcceptableCodePoint(code))
        return 0;
    return k + 1 - at;
}

// A strict pass over the text before the framework's parser sees it. That parser misreads some
// malformed input: a processing instruction followed by text inside an element makes it loop for
// ever, a character reference running to the end of the text makes it read past the end, it
// recurses once per nesting level and it expands entities of a document type declaration. So the
// text must be a well-formed document of the simple shape the state writer produces, in which
// every token means the same to both readers:
// - before the root element only blanks, an XML declaration or other processing instructions and
//   comments; after it only blanks and comments;
// - tags "<name", attributes name="value" or name='value' separated by blanks, "/>" or ">",
//   end tags "</name>" matching their start tags, at most bounds.maxDepth levels deep;
// - at most bounds.maxAttributes attributes to an element, bounds.maxTextLength characters to
//   a value and bounds.maxNodes elements, attributes and text runs in all, so that the parser
//   never builds far more than a real document holds;
// - no raw '<' inside a tag or a value, and every '&' in text or values one of the five
//   predefined entities or a reference to a valid character;
// - no document type declaration and no processing instruction inside the root element;
//   comments and CDATA sections inside it are allowed.
class StrictXmlScanner
{
public:
    StrictXmlScanner(const char* text, size_t size, const ZylXmlBounds& limits)
        : s(text), n(size), bounds(limits)
    {
    }

    bool scan()
    {
        if (!skipMisc(true) || !at("<") || !element())
            return false;
        return skipMisc(false) && i == n;
    }

private:
    bool at(const char* literal) const { return startsWithAt(s, n, i, literal); }

    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    static bool isNameStart(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
    }

    static bool isNameChar(char c)
    {
        return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
    }

    void skipBlanks()
    {
        while (i < n && isBlank(s[i]))
            ++i;
    }

    // Skips to just after the terminator; false when there is none.
    bool skipPast(const char* terminator)
    {
        const auto end = findFrom(s, n, i, terminator);
        if (end == std::string::npos)
            return false;
        i = end + std::strlen(terminator);
        return true;
    }

    // Blanks, comments and (before the root only) processing instructions.
    bool skipMisc(bool beforeRoot)
    {
        for (;;)
        {
            skipBlanks();
            if (at("<!--"))
            {
                i += 4;
                if (!skipPast("-->"))
                    return false;
            }
            else if (beforeRoot && at("<?"))
            {
                i += 2;
                if (!skipPast("?>"))
                    return false;
            }
            else
            {
                return true;
            }
        }
    }

    bool name(std::string& out)
    {
        const auto start = i;
        if (i >= n || !isNameStart(s[i]))
            return false;
        while (i < n && isNameChar(s[i]))
            ++i;
        out.assign(s + start, i - start);
        return true;
    }

    bool reference()
    {
        const auto length = referenceLength(s, n, i);
        if (length == 0)
            return false;
        i += length;
        return true;
    }

    // A quoted value of at most bounds.maxTextLength characters (a reference or a UTF-8 sequence
    // counts as one).
    bool attributeValue()
    {
        if (i >= n || (s[i] != '"' && s[i] != '\''))
            return false;
        const char quote = s[i++];
        int characters = 0;
        while (i < n && s[i] != quote)
        {
            if (s[i] == '<')
                return false;
            if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && ++characters > bounds.maxTextLength)
                return false;
            if (s[i] == '&')
            {
                if (!reference())
                    return false;
            }
            else
            {
                ++i;
            }
        }
        if (i >= n)
            return false;
        ++i;
        return true;
    }

    // Counts one more element, attribute or text run against the document's budget.
    bool countNode() { return ++nodes <= bounds.maxNodes; }

    // At '<' of a start tag: the whole element with its content.
    bool element()
    {
        if (!countNode())
            return false;
        ++i;
        std::string tag;
        if (!name(tag))
            return false;
        for (int attributes = 0;; ++attributes)
        {
            const auto beforeBlanks = i;
            skipBlanks();
            if (at("/>"))
            {
                i += 2;
                return true;
            }
            if (at(">"))
            {
                ++i;
                break;
            }
            std::string attribute;
            if (attributes == bounds.maxAttributes || i == beforeBlanks || !countNode()
                || !name(attribute))
                return false;
            skipBlanks();
            if (!at("="))
                return false;
            ++i;
            skipBlanks();
            if (!attributeValue())
                return false;
        }

        if (++depth > bounds.maxDepth)
            return false;
        if (!content())
            return false;

        // At "</".
        i += 2;
        std::string endTag;
        if (!name(endTag) || endTag != tag)
            return false;
        skipBlanks();
        if (!at(">"))
            return false;
        ++i;
        --depth;
        return true;
    }

    // Text, references, comments, CDATA sections and child elements, up to the end tag's "</".
    bool content()
    {
        // Each run of text, references and CDATA between tags and comments is one node.
        bool inText = false;
        const auto textNode = [&] {
            if (inText)
                return true;
            inText = true;
            return countNode();
        };
        while (i < n)
        {
            if (s[i] == '&')
            {
                if (!textNode() || !reference())
                    return false;
            }
            else if (s[i] != '<')
            {
                if (!isBlank(s[i]) && !textNode())
                    return false;
                ++i;
            }
            else if (at("</"))
            {
                return true;
            }
            else if (at("<!--"))
            {
                i += 4;
                inText = false;
                if (!skipPast("-->"))
                    return false;
            }
            else if (at("<![CDATA["))
            {
                i += 9;
                if (!textNode() || !skipPast("]]>"))
                    return false;
            }
            else if (at("<!") || at("<?"))
            {
                return false;
            }
            else
            {
                inText = false;
                if (!element())
                    return false;
            }
        }
        return false;
    }

    const char* s;
    size_t n;
    ZylXmlBounds bounds;
    size_t i = 0;
    int depth = 0;
    int nodes = 0;
};

bool isSpaceForAtoi(juce::juce_wchar c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The blanks, sign and digits at the start of a text, as atoi reads them. The magnitude stops
// growing at INT_MAX + 2, beyond the magnitude of every int, positive or negative.
struct LeadingInt
{
    bool negative = false;
    bool hasDigits = false;
    juce::int64 magnitude = 0;
    juce::String::CharPointerType rest;
};

LeadingInt scanLeadingInt(const juce::String& text)
{
    LeadingInt result { false, false, 0, text.getCharPointer() };
    auto& p = result.rest;
    while (isSpaceForAtoi(*p))
        ++p;
    if (*p == '+' || *p == '-')
    {
        result.negative = *p == '-';
        ++p;
    }
    constexpr auto kBeyondInt = static_cast<juce::int64>(INT_MAX) + 2;
    for (; *p >= '0' && *p <= '9'; ++p)
    {
        result.hasDigits = true;
        result.magnitude = juce::jmin(result.magnitude * 10 + (*p - '0'), kBeyondInt);
    }
    return result;
}

// atoi's reading, with values beyond an int held at INT_MIN or INT_MAX.
int parseLeadingInt(const juce::String& text)
{
    const auto scanned = scanLeadingInt(text);
    const auto value = scanned.negative ? -scanned.magnitude : scanned.magnitude;
    return static_cast<int>(juce::jlimit<juce::int64>(INT_MIN, INT_MAX, value));
}
} // namespace

std::optional<int> parseStateInt(const juce::String& text)
{
    auto scanned = scanLeadingInt(text);
    if (!scanned.hasDigits)
        return std::nullopt;
    auto& p = scanned.rest;
    while (isSpaceForAtoi(*p))
        ++p;
    if (!p.isEmpty())
        return std::nullopt;
    const auto value = scanned.negative ? -scanned.magnitude : scanned.magnitude;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

int readIntAttribute(const juce::XmlElement& element, const char* name, int missing, int invalid)
{
    if (!element.hasAttribute(name))
        return missing;
    return parseStateInt(element.getStringAttribute(name)).value_or(invalid);
}

const juce::XmlElement* findFirstChildElement(const juce::XmlElement& parent, const char* tag)
{
    for (auto* child : parent.getChildIterator())
        if (child->getTagName() == tag)
            return child;
    return nullptr;
}

void writeXmlToMemory(const juce::XmlElement& element, juce::MemoryBlock& block)
{
    juce::MemoryOutputStream text;
    writeElement(text, element);
    const auto n = text.getDataSize();
    block.setSize(n + 1, true);
    block.fillWith(0);
    if (n > 0)
        block.copyFrom(text.getData(), 0, n);
}

juce::String createStateXmlText(const juce::XmlElement& element)
{
    juce::MemoryOutputStream text;
    writeElement(text, element);
    return text.toUTF8();
}

std::string_view stateTextOf(const void* data, juce::int64 size)
{
    if (data == nullptr || size <= 0)
        return {};
    auto* bytes = static_cast<const char*>(data);
    if (size > kBinaryXmlHeaderSize && std::memcmp(bytes, kBinaryXmlMagic, 4) == 0)
    {
        bytes += kBinaryXmlHeaderSize;
        size -= kBinaryXmlHeaderSize;
    }
    const auto* zero = static_cast<const char*>(std::memchr(bytes, 0, static_cast<size_t>(size)));
    return { bytes, zero != nullptr ? static_cast<size_t>(zero - bytes) : static_cast<size_t>(size) };
}

bool isXmlWithinBounds(const char* data, size_t size, const ZylXmlBounds& bounds)
{
    return data != nullptr && isValidUtf8(data, size) && StrictXmlScanner(data, size, bounds).scan();
}

std::unique_ptr<juce::XmlElement> parseXmlFromMemory(const void* data, juce::int64 size)
{
    const auto text = stateTextOf(data, size);
    const auto* bytes = text.data();
    const auto length = text.size();
    if (length == 0 || length > static_cast<size_t>(INT_MAX))
        return {};
    if (!isXmlWithinBounds(bytes, length, ZylXmlBounds {}))
        return {};

    juce::XmlDocument document(juce::String::fromUTF8(bytes, static_cast<int>(length)));
    return document.getDocumentElement();
}

bool getStateInfo(const juce::XmlElement& element, juce::String& name, juce::String& version,
                  juce::String& kind)
{
    name.clear();
    version.clear();
    kind.clear();

    const auto& tag = element.getTagName();
    if (tag == ZylStateTags::kBank || tag == ZylStateTags::kProgram)
    {
        kind = tag;
        if (auto* first = element.getFirstChildElement();
            first != nullptr && first->getTagName() == ZylStateTags::kModule)
        {
            name = first->getStringAttribute(ZylStateTags::kName);
            version = first->getStringAttribute(ZylStateTags::kVersion);
        }
    }
    else if (tag == ZylStateTags::kOldRoot)
    {
        name = element.getStringAttribute(ZylStateTags::kOldPluginName);
        version = element.getStringAttribute(ZylStateTags::kOldPluginVersion);
        auto* fourth = element.getNumChildElements() >= 4 ? element.getChildElement(3) : nullptr;
        auto* first = element.getFirstChildElement();
        if (fourth != nullptr && fourth->getTagName() == ZylStateTags::kBank)
            kind = ZylStateTags::kBank;
        else if (first != nullptr && first->getTagName() == ZylStateTags::kProgram)
            kind = ZylStateTags::kProgram;
    }
    return name.isNotEmpty() && version.isNotEmpty() && kind.isNotEmpty();
}

void parseVersion(const juce::String& text, int& major, int& minor, int& build)
{
    int parts[3] = { 0, 0, 0 };
    int start = 0;
    for (int k = 0; k < 3 && start <= text.length(); ++k)
    {
        auto dot = text.indexOfChar(start, '.');
        if (dot < 0)
            dot = text.length();
        parts[k] = parseLeadingInt(text.substring(start, dot));
        start = dot + 1;
    }
    major = parts[0];
    minor = parts[1];
    build = parts[2];
}

bool isStateAccepted(const juce::XmlElement& element, const juce::String& expectedTag,
                     const juce::String& pluginName, const juce::String& versionString)
{
    juce::String name, version, kind;
    getStateInfo(element, name, version, kind);

    int storedMajor = 0, storedMinor = 0, storedBuild = 0;
    int ownMajor = 0, ownMinor = 0, ownBuild = 0;
    parseVersion(version, storedMajor, storedMinor, storedBuild);
    parseVersion(versionString, ownMajor, ownMinor, ownBuild);

    return name == pluginName && storedMajor >= kMajorVersionLoaded && ownMajor >= storedMajor
           && kind == expectedTag;
}

bool isValidUtf8(const char* data, size_t size)
{
    auto* s = reinterpret_cast<const unsigned char*>(data);
    size_t i = 0;
    while (i < size)
    {
        const unsigned c = s[i];
        if (c < 0x80)
        {
            ++i;
            continue;
        }
        size_t extra = 0;
        juce::uint32 code = 0, minimum = 0;
        if ((c & 0xE0) == 0xC0)
            extra = 1, code = c & 0x1F, minimum = 0x80;
        else if ((c & 0xF0) == 0xE0)
            extra = 2, code = c & 0x0F, minimum = 0x800;
        else if ((c & 0xF8) == 0xF0)
            extra = 3, code = c & 0x07, minimum = 0x10000;
        else
            return false;
        if (size - i <= extra)
            return false;
        for (size_t k = 1; k <= extra; ++k)
        {
            const unsigned d = s[i + k];
            if ((d & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (d & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}
