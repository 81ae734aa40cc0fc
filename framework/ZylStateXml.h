#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <optional>
#include <string_view>

// The conversion between the state document and a block of memory, and the acceptance check of a
// loaded state. The module tree's writers and readers (ZylModule) build and walk the elements;
// everything here works on elements and bytes only.
//
// Text form: UTF-8 without an XML declaration, all on one line, attributes in insertion order,
// followed by one zero byte. Characters outside ASCII are written as UTF-8 bytes, never as
// character references, so a program name written by this program reads the same in any
// editor that shows UTF-8. A code point UTF-8 cannot hold (a surrogate, or one above U+10FFFF)
// is written as U+FFFD, so that one malformed string never makes the document unreadable.

// Tags of the state document.
namespace ZylStateTags
{
inline constexpr const char* kBank = "fxb";
inline constexpr const char* kProgram = "fxp";
inline constexpr const char* kOldRoot = "plugin";
inline constexpr const char* kModule = "mod";
inline constexpr const char* kExtension = "ext";
inline constexpr const char* kGlobal = "glob";
inline constexpr const char* kProperties = "prs";
inline constexpr const char* kProgramList = "pgms";
inline constexpr const char* kProgramState = "pgm";
inline constexpr const char* kChildModules = "cm";
inline constexpr const char* kParameterSet = "ps";
inline constexpr const char* kId = "i";
inline constexpr const char* kName = "n";
inline constexpr const char* kVersion = "v";
inline constexpr const char* kOldPluginName = "pluginName";
inline constexpr const char* kOldPluginVersion = "pluginVersion";
} // namespace ZylStateTags

// Read when an id attribute is missing: no module and no program has it.
constexpr int kMissingStateId = -99999;

// Programs of a bank: "pgm" indexes and the program index of a program load lie in 0..127.
constexpr int kStateProgramCount = 128;

// Elements nest this deep at most in a document the loader accepts. The deepest document the
// module tree writes is far shallower; the bound keeps a crafted file from exhausting the stack
// of the recursive parser.
constexpr int kMaxStateXmlDepth = 64;

// Names and property values of a state hold at most this many characters. The writer cuts a
// longer text, the loader refuses a document that holds one, so that a crafted file cannot make
// a load allocate many times its own size.
constexpr int kMaxStateTextLength = 4096;

// An element of a state carries at most this many attributes; a module's property set, written as
// the attributes of one element, holds at most this many properties.
constexpr int kMaxStateAttributes = 1024;

// A state document holds at most this many nodes: elements, attributes and runs of text counted
// together. A full bank of the module tree holds about a tenth of it. The framework's parser
// spends some hundred bytes on each node whatever its length in the text, so a file made of
// many tiny elements would otherwise cost twenty times its size; the budget bounds a load's tree
// to some tens of MiB whatever the file holds.
constexpr int kMaxStateNodes = 131072;

// How far a document may reach before the framework's parser reads it: nesting depth,
// attributes to an element, characters to an attribute value, and nodes in all (elements,
// attributes and runs of text). The defaults are the state document's bounds.
struct ZylXmlBounds
{
    int maxDepth = kMaxStateXmlDepth;
    int maxAttributes = kMaxStateAttributes;
    int maxTextLength = kMaxStateTextLength;
    int maxNodes = kMaxStateNodes;
};

// Whether the bytes are valid UTF-8 and a well-formed document of the simple shape the state
// writer produces (see parseXmlFromMemory) within the bounds, so that the framework's parser,
// which recurses once per nesting level, can read it safely. Null data is refused.
bool isXmlWithinBounds(const char* data, size_t size, const ZylXmlBounds& bounds);

// The state text inside data: after the 8-byte "VC2!" header when the data is longer than 8
// bytes and begins with it, and up to the first zero byte or the end of the data. Empty for null
// data or a size of 0 or less.
std::string_view stateTextOf(const void* data, juce::int64 size);

// Writes the element as one line of UTF-8 text followed by one zero byte; the block's size is the
// byte length of the text plus one. This size is the chunk size of files and of the host.
void writeXmlToMemory(const juce::XmlElement& element, juce::MemoryBlock& block);

// The same text as a string (for tests and diagnostics).
juce::String createStateXmlText(const juce::XmlElement& element);

// Parses a state document. Data of more than 8 bytes that begins with "VC2!" (the header that
// juce::AudioProcessor::copyXmlToBinary writes) is read after those 8 bytes. The text ends at the
// first zero byte or at the end of the data. Null when the data is null or empty, when the text
// is not valid UTF-8, when it is not a well-formed document of the shape the state writer
// produces (no document type declaration, no processing instruction inside the root element,
// quoted attributes, matching end tags, only predefined entities and references to valid
// characters, at most kMaxStateXmlDepth levels, kMaxStateAttributes attributes to an element,
// kMaxStateTextLength characters to an attribute value and kMaxStateNodes nodes in all), or when
// it does not parse.
std::unique_ptr<juce::XmlElement> parseXmlFromMemory(const void* data, juce::int64 size);

// Name, version and kind of a stored state. For an "fxb" or "fxp" root the kind is the tag and
// name and version are the first child "mod"'s "n" and "v"; for the older "plugin" root they are
// its "pluginName" and "pluginVersion", and the kind is "fxb" when its fourth child element is
// named so, "fxp" when its first is. Any other root leaves all three empty. True when all three
// are non-empty.
bool getStateInfo(const juce::XmlElement& element, juce::String& name, juce::String& version,
                  juce::String& kind);

// Splits "2.5.544" at "." into at most three numbers, each read as a leading decimal integer
// (optional blanks and sign, saturated to the int range); missing parts are 0.
void parseVersion(const juce::String& text, int& major, int& minor, int& build);

// Whether a stored state is one this program loads: its name equals pluginName exactly, its
// major version is at least 2 and not above the program's own major version, and its kind is
// expectedTag. Minor and build numbers are never compared.
bool isStateAccepted(const juce::XmlElement& element, const juce::String& expectedTag,
                     const juce::String& pluginName, const juce::String& versionString);

// An integer attribute of a state: optional blanks, an optional sign, decimal digits, optional
// blanks. Empty for any other text and for a number outside the int range, which would otherwise
// wrap round onto a valid id or index.
std::optional<int> parseStateInt(const juce::String& text);

// The named attribute read by parseStateInt: missing when the element has no such attribute,
// invalid when its text is not an int.
int readIntAttribute(const juce::XmlElement& element, const char* name, int missing, int invalid);

// The first child element with exactly this tag (tags are case-sensitive), or null.
const juce::XmlElement* findFirstChildElement(const juce::XmlElement& parent, const char* tag);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF).
bool isValidUtf8(const char* data, size_t size);
