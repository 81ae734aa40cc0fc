#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>

class ZylModule;

// A bank written as readable text (resources/factorybank/factory-bank.txt), applied to a
// module tree to make the factory bank. One statement a line; a line starting with '#' is a
// comment; blanks around words do not count. Modules are named by id, parameters by their
// vocabulary's short name, values by their name as the interface shows it (numbers for
// typed-number domains):
//
//   bank <module id> <parameter> = <value>     a parameter of the module's global set
//   every <module id> <parameter> = <value>    a program parameter, in every program, before
//                                              the program's own lines
//   program <index> <name>                     starts program <index> (0..127)
//   <module id> <parameter> = <value>          a program parameter of that program
//
// The bank must name each of the 128 programs exactly once, with a printable ASCII name of 1 to
// 28 characters that is not an "Untitled <n>" placeholder.
class ZylBankDescription
{
public:
    static constexpr int kNumPrograms = 128;
    static constexpr int kMaxNameLength = 28;

    // Parses text; false with the reasons in errors (one per line, "line n: ...") when it does
    // not describe a whole bank.
    bool parse(const juce::String& text, juce::StringArray& errors);

    // Applies the parsed bank to a freshly initialised tree (root module), program by program,
    // delivering the tree's messages after every step so that each module reacts as it would to
    // the user; ends on program 0. False with the reasons when a module, parameter or value is
    // unknown. Message thread.
    bool applyTo(ZylModule& root, juce::StringArray& errors) const;

    // The bank file (".fxb") of a tree with this bank applied.
    static juce::MemoryBlock makeBankFile(const ZylModule& root);

    // Delivers every message waiting on the message thread's queue (including those posted
    // while delivering). Message thread.
    static void deliverMessages();

    struct Setting
    {
        int line = 0;
        std::int32_t moduleId = 0;
        juce::String parameter;
        juce::String value;
    };

    struct Program
    {
        int line = 0;
        juce::String name;
        juce::Array<Setting> settings;
    };

    const juce::Array<Setting>& getBankSettings() const noexcept { return bankSettings; }
    const juce::Array<Setting>& getEverySettings() const noexcept { return everySettings; }
    // Indexed by program; an entry's line is 0 when the text did not name it.
    const juce::Array<Program>& getPrograms() const noexcept { return programs; }

private:
    juce::Array<Setting> bankSettings;
    juce::Array<Setting> everySettings;
    juce::Array<Program> programs;
};
