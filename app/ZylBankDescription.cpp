#include "app/ZylBankDescription.h"

#include "framework/ZylDomain.h"
#include "framework/ZylFxFiles.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylLinkParameterSet.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylProgramModule.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <memory>

namespace juce
{
// Defined by juce_events for every platform: dispatches what is pending on the system queue and
// tells whether anything was dispatched.
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace
{
constexpr int kMaxDeliveryRounds = 100000;

juce::String at(int line, const juce::String& message)
{
    return "line " + juce::String(line) + ": " + message;
}

bool isPlaceholderName(const juce::String& name)
{
    const juce::String prefix("Untitled ");
    if (!name.startsWith(prefix))
        return false;
    const auto rest = name.substring(prefix.length());
    return rest.isNotEmpty() && rest.containsOnly("0123456789");
}

bool isPrintableAscii(const juce::String& name)
{
    for (auto c : name)
        if (c < 0x20 || c > 0x7E)
            return false;
    return true;
}

// "<module id> <parameter> = <value>"; false when the line has another shape.
bool parseSetting(const juce::String& text, int line, ZylBankDescription::Setting& setting)
{
    const int equals = text.indexOfChar('=');
    if (equals < 0)
        return false;
    const auto left = text.substring(0, equals).trim();
    const auto value = text.substring(equals + 1).trim();
    const int blank = left.indexOfAnyOf(" \t");
    if (blank <= 0 || value.isEmpty())
        return false;
    const auto moduleText = left.substring(0, blank);
    if (!moduleText.containsOnly("0123456789"))
        return false;
    setting.line = line;
    setting.moduleId = moduleText.getIntValue();
    setting.parameter = left.substring(blank).trim();
    setting.value = value;
    return setting.parameter.isNotEmpty();
}

ZylParameter* findParameter(const ZylParameterSet* set, const juce::String& name)
{
    if (set == nullptr)
        return nullptr;
    for (auto* parameter : set->getParameters())
        if (auto* domain = parameter->getDomain();
            domain != nullptr && juce::String(domain->getShortName().c_str()) == name)
            return parameter;
    for (auto* child : set->getChildSets())
        if (auto* found = findParameter(child, name))
            return found;
    return nullptr;
}

bool applySetting(ZylModule& root, const ZylBankDescription::Setting& setting, bool global,
                  juce::StringArray& errors)
{
    auto* module = root.getContainer()->getModule(setting.moduleId);
    if (module == nullptr)
    {
        errors.add(at(setting.line, "no module " + juce::String(setting.moduleId)));
        return false;
    }
    const ZylParameterSet* set = global ? module->getGlobalParameters()
                                        : static_cast<ZylParameterSet*>(module->getProgramParameters());
    auto* parameter = findParameter(set, setting.parameter);
    if (parameter == nullptr)
    {
        errors.add(at(setting.line, "module " + juce::String(setting.moduleId) + " has no "
                                        + (global ? "bank" : "program") + " parameter \""
                                        + setting.parameter + "\""));
        return false;
    }

    if (parameter->hasListValues())
    {
        auto* value = parameter->getDomain()->findByName(setting.value.toWideCharPointer());
        if (value == nullptr)
        {
            errors.add(at(setting.line, "\"" + setting.parameter + "\" has no value \""
                                            + setting.value + "\""));
            return false;
        }
        parameter->setValueObject(value, kCauseUser, false, true);
        if (parameter->getValueObject() != value)
        {
            errors.add(at(setting.line, "\"" + setting.parameter + "\" did not take \""
                                            + setting.value + "\""));
            return false;
        }
    }
    else
    {
        const float number = setting.value.getFloatValue();
        if (!setting.value.containsOnly("+-.0123456789") || !parameter->getDomain()->isValidNumber(number))
        {
            errors.add(at(setting.line, "\"" + setting.parameter + "\" does not take "
                                            + setting.value));
            return false;
        }
        parameter->setValue(number, kCauseUser, false, true);
    }
    ZylBankDescription::deliverMessages();
    return true;
}
} // namespace

bool ZylBankDescription::parse(const juce::String& text, juce::StringArray& errors)
{
    bankSettings.clear();
    everySettings.clear();
    programs.clearQuick();
    programs.resize(kNumPrograms);
    const int errorsBefore = errors.size();

    juce::StringArray lines;
    lines.addLines(text);
    Program* current = nullptr;
    for (int i = 0; i < lines.size(); ++i)
    {
        const int line = i + 1;
        // Comments take whole lines: '#' also stands in names and values ("F#").
        const auto statement = lines[i].trim();
        if (statement.isEmpty() || statement.startsWithChar('#'))
            continue;

        const auto keyword = statement.upToFirstOccurrenceOf(" ", false, false);
        const auto rest = statement.fromFirstOccurrenceOf(" ", false, false).trim();
        if (keyword == "program")
        {
            const auto indexText = rest.upToFirstOccurrenceOf(" ", false, false);
            const auto name = rest.fromFirstOccurrenceOf(" ", false, false).trim();
            const int index = indexText.getIntValue();
            if (!indexText.containsOnly("0123456789") || indexText.isEmpty() || index >= kNumPrograms)
            {
                errors.add(at(line, "no program index 0..127: " + indexText));
                current = nullptr;
                continue;
            }
            current = &programs.getReference(index);
            if (current->line != 0)
                errors.add(at(line, "program " + indexText + " is named twice"));
            if (name.isEmpty() || name.length() > kMaxNameLength || !isPrintableAscii(name)
                || isPlaceholderName(name))
                errors.add(at(line, "program " + indexText + " needs a name of 1 to 28 printable "
                                    "ASCII characters that is no placeholder"));
            current->line = line;
            current->name = name;
            current->settings.clear();
            continue;
        }

        Setting setting;
        const bool bank = keyword == "bank";
        const bool every = keyword == "every";
        if (!parseSetting(bank || every ? rest : statement, line, setting))
        {
            errors.add(at(line, "not a statement: " + statement));
            continue;
        }
        if (bank)
            bankSettings.add(setting);
        else if (every)
            everySettings.add(setting);
        else if (current != nullptr)
            current->settings.add(setting);
        else
            errors.add(at(line, "a program setting before any program"));
    }

    for (int index = 0; index < kNumPrograms; ++index)
        if (programs.getReference(index).line == 0)
            errors.add("program " + juce::String(index) + " is missing");
    return errors.size() == errorsBefore;
}

bool ZylBankDescription::applyTo(ZylModule& root, juce::StringArray& errors) const
{
    auto* programModule = root.getContainer()->getProgramModule();
    if (programModule == nullptr)
    {
        errors.add("the tree has no program module");
        return false;
    }
    const int errorsBefore = errors.size();
    deliverMessages();

    for (const auto& setting : bankSettings)
        applySetting(root, setting, true, errors);

    for (int index = 0; index < programs.size(); ++index)
    {
        const auto& program = programs.getReference(index);
        programModule->selectProgram(index, kCauseHost);
        deliverMessages();
        programModule->setProgramName(index, program.name);
        for (const auto& setting : everySettings)
            applySetting(root, setting, false, errors);
        for (const auto& setting : program.settings)
            applySetting(root, setting, false, errors);
    }
    programModule->selectProgram(0, kCauseHost);
    deliverMessages();
    return errors.size() == errorsBefore;
}

juce::MemoryBlock ZylBankDescription::makeBankFile(const ZylModule& root)
{
    juce::MemoryBlock chunk;
    root.saveBankToMemory(chunk);
    return makeFxbFile(chunk, static_cast<std::uint32_t>(root.getPluginId()));
}

void ZylBankDescription::deliverMessages()
{
    // A sentinel marks the end of what is queued now; messages posted while delivering queue
    // behind it and are delivered in the next round.
    for (int round = 0; round < kMaxDeliveryRounds; ++round)
    {
        auto sentinelRan = std::make_shared<std::atomic<bool>>(false);
        juce::MessageManager::callAsync([sentinelRan] { *sentinelRan = true; });
        while (!*sentinelRan)
            juce::dispatchNextMessageOnSystemQueue(true);
        if (!juce::dispatchNextMessageOnSystemQueue(true))
            return;
    }
    jassertfalse; // something keeps posting forever
}
