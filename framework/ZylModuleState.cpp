// ZylModule's state XML and its bank and program files, kept apart from the tree and block
// operations in ZylModule.cpp. Everything here runs on the message thread.

#include "framework/ZylModule.h"

#include "framework/ZylDebug.h"
#include "framework/ZylFileWriter.h"
#include "framework/ZylFxFiles.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylProgramModule.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylStateXml.h"

using namespace ZylStateTags;

namespace
{
bool setHoldsParameters(const ZylParameterSet* set)
{
    if (set == nullptr)
        return false;
    if (!set->getParameters().empty())
        return true;
    for (auto* child : set->getChildSets())
        if (setHoldsParameters(child))
            return true;
    return false;
}

void addIfNotEmpty(juce::XmlElement& parent, std::unique_ptr<juce::XmlElement> child)
{
    if (child != nullptr && child->getFirstChildElement() != nullptr)
        parent.addChildElement(child.release());
}

// The checks a stored state must pass before anything of it is applied, so that a load either
// takes the whole state or leaves every module as it was: every "ext" that will be read holds
// its element, and every "pgm" of a bank that carries an index names one of the 128 programs.
bool isModuleStateUsable(const juce::XmlElement& module, bool programOnly)
{
    if (auto* ext = findFirstChildElement(module, kExtension);
        ext != nullptr && ext->getFirstChildElement() == nullptr)
        return false;

    if (!programOnly)
        if (auto* programs = findFirstChildElement(module, kProgramList))
            for (auto* program : programs->getChildIterator())
            {
                if (program->getTagName() != kProgramState)
                    continue;
                const int index = readIntAttribute(*program, kId, kMissingStateId, -1);
                if (index != kMissingStateId && !ZylModule::isValidProgramIndex(index))
                    return false;
            }

    if (auto* children = findFirstChildElement(module, kChildModules))
        for (auto* child : children->getChildIterator())
            if (child->getTagName() == kModule && !isModuleStateUsable(*child, programOnly))
                return false;
    return true;
}

bool writeFile(const juce::File& file, const juce::MemoryBlock& data)
{
    return ZylFileWriter::replaceWithData(file, data.getData(), data.getSize());
}

using ChunkReader = bool (*)(const juce::MemoryBlock&, juce::MemoryBlock&, std::uint32_t&,
                             std::uint32_t&);

// The chunk of a bank or program file, or nothing when the file is missing, too large or
// unreadable or its header is not the reader's.
bool readFileChunk(const juce::File& file, ChunkReader readChunk, juce::MemoryBlock& chunk)
{
    if (!file.existsAsFile() || file.getSize() > ZylFx::kMaxFileSize)
        return false;
    juce::MemoryBlock data;
    std::uint32_t pluginId = 0, pluginVersion = 0;
    return file.loadFileAsData(data) && readChunk(data, chunk, pluginId, pluginVersion);
}

// A whole-tree load of a bank (programOnly false) or of one program: the document is parsed and
// checked in full before the module's state is touched, then restored and announced.
bool loadState(ZylModule& module, const void* data, juce::int64 size, const char* tag,
               bool programOnly, int programIndex)
{
    auto document = module.checkXml(parseXmlFromMemory(data, size), tag);
    if (document == nullptr)
        return false;
    auto* state = document->getFirstChildElement();
    if (state == nullptr || !isModuleStateUsable(*state, programOnly))
        return false;

    module.restoreFromXml(*state, programOnly, programIndex, false);
    module.stateLoaded();
    module.stateLoadedPost();
    module.updateParameters();
    return true;
}
} // namespace

std::unique_ptr<juce::XmlElement> ZylModule::createXml(bool programOnly, int programIndex) const
{
    auto element = std::make_unique<juce::XmlElement>(kModule);
    element->setAttribute(kId, static_cast<int>(getId()));
    if (const auto pluginName = getPluginName(); pluginName.isNotEmpty())
        element->setAttribute(kName, pluginName);
    if (const auto version = getVersionString(); version.isNotEmpty())
        element->setAttribute(kVersion, version);

    if (auto own = createExtXml(programOnly, programIndex))
        element->createNewChildElement(kExtension)->addChildElement(own.release());

    if (programOnly)
    {
        addIfNotEmpty(*element, createProgramXml(programIndex));
    }
    else
    {
        addIfNotEmpty(*element, createGlobalXml());
        addIfNotEmpty(*element, createProgramsXml());
    }

    if (!getChildren().empty())
    {
        auto* childList = element->createNewChildElement(kChildModules);
        for (auto* child : getChildren())
            childList->addChildElement(child->createXml(programOnly, programIndex).release());
    }
    return element;
}

void ZylModule::restoreFromXml(const juce::XmlElement& element, bool programOnly, int programIndex,
                               bool notify)
{
    if (auto* ext = findFirstChildElement(element, kExtension))
        restoreExtXml(*ext, programOnly, programIndex, notify);

    if (programOnly)
    {
        if (auto* program = findFirstChildElement(element, kProgramState))
            restoreProgramParameters(programIndex, *program, notify);
    }
    else
    {
        if (auto* global = findFirstChildElement(element, kGlobal))
            restoreGlobalXml(*global, notify);
        if (auto* programList = findFirstChildElement(element, kProgramList))
            restoreProgramsXml(*programList, notify);
    }

    if (auto* childList = findFirstChildElement(element, kChildModules))
        for (auto* child : childList->getChildIterator())
        {
            if (child->getTagName() != kModule)
                continue;
            if (auto* module = getContainer()->getModule(
                    readIntAttribute(*child, kId, kMissingStateId, kMissingStateId)))
                module->restoreFromXml(*child, programOnly, programIndex, notify);
        }
}

std::unique_ptr<juce::XmlElement> ZylModule::createGlobalXml() const
{
    auto element = std::make_unique<juce::XmlElement>(kGlobal);
    if (setHoldsParameters(getGlobalParameters()))
        element->addChildElement(getGlobalParameters()->createXml().release());
    if (auto* properties = getPropertySet())
        if (auto prs = properties->createXml(false); prs != nullptr && prs->getNumAttributes() > 0)
            element->addChildElement(prs.release());
    return element;
}

void ZylModule::restoreGlobalXml(const juce::XmlElement& element, bool notify)
{
    if (auto* parameters = findFirstChildElement(element, kParameterSet))
        getGlobalParameters()->restoreFromXml(*parameters, notify);
    if (auto* properties = findFirstChildElement(element, kProperties))
        if (auto* set = getPropertySet())
            set->restoreFromXml(properties);
}

std::unique_ptr<juce::XmlElement> ZylModule::createProgramsXml() const
{
    auto element = std::make_unique<juce::XmlElement>(kProgramList);
    for (int i = 0; i < kNumPrograms; ++i)
        addIfNotEmpty(*element, createProgramXml(i));
    return element;
}

std::unique_ptr<juce::XmlElement> ZylModule::createProgramXml(int index) const
{
    auto element = std::make_unique<juce::XmlElement>(kProgramState);
    element->setAttribute(kId, index);
    auto* set = getProgramSet(index);
    if (setHoldsParameters(set))
        element->addChildElement(set->createXml().release());
    return element;
}

void ZylModule::restoreProgramsXml(const juce::XmlElement& element, bool notify)
{
    for (auto* program : element.getChildIterator())
        if (program->getTagName() == kProgramState)
            restoreProgramXml(*program, notify);
}

void ZylModule::restoreProgramParameters(int index, const juce::XmlElement& element, bool notify)
{
    auto* set = getProgramSet(index);
    if (set == nullptr)
        return;
    if (auto* parameters = findFirstChildElement(element, kParameterSet))
        set->restoreFromXml(*parameters, notify);
}

void ZylModule::restoreProgramXml(const juce::XmlElement& element, bool notify)
{
    const int index = readIntAttribute(element, kId, kMissingStateId, -1);
    if (index == kMissingStateId)
        return;
    if (!isValidProgramIndex(index))
    {
        zylDebugLine("program index out of range=" + element.getStringAttribute(kId));
        return;
    }
    restoreProgramParameters(index, element, notify);
}

std::unique_ptr<juce::XmlElement> ZylModule::createExtXml(bool /*programOnly*/,
                                                          int /*programIndex*/) const
{
    return {};
}

void ZylModule::restoreExtXml(const juce::XmlElement& /*element*/, bool /*programOnly*/,
                              int /*programIndex*/, bool /*notify*/)
{
}

bool ZylModule::loadBankFromMemory(const void* data, juce::int64 size)
{
    return loadState(*this, data, size, kBank, false, 0);
}

void ZylModule::saveBankToMemory(juce::MemoryBlock& block) const
{
    juce::XmlElement document(kBank);
    document.addChildElement(createXml(false, 0).release());
    writeXmlToMemory(document, block);
}

bool ZylModule::loadProgramFromMemory(int programIndex, const void* data, juce::int64 size)
{
    if (!isValidProgramIndex(programIndex))
        return false;
    return loadState(*this, data, size, kProgram, true, programIndex);
}

void ZylModule::saveProgramToMemory(int programIndex, juce::MemoryBlock& block) const
{
    juce::XmlElement document(kProgram);
    document.addChildElement(createXml(true, programIndex).release());
    writeXmlToMemory(document, block);
}

bool ZylModule::saveBankToFile(const juce::File& file) const
{
    juce::MemoryBlock chunk;
    saveBankToMemory(chunk);
    return writeFile(file, makeFxbFile(chunk, static_cast<std::uint32_t>(getPluginId())));
}

bool ZylModule::loadBankFromFile(const juce::File& file)
{
    juce::MemoryBlock chunk;
    if (!readFileChunk(file, readFxbChunk, chunk))
        return false;
    return loadBankFromMemory(chunk.getData(), static_cast<juce::int64>(chunk.getSize()));
}

bool ZylModule::saveProgramToFile(int programIndex, const juce::File& file) const
{
    if (!isValidProgramIndex(programIndex))
        return false;
    juce::MemoryBlock chunk;
    saveProgramToMemory(programIndex, chunk);

    // The name comes from the program module when this module keeps no names of its own (the
    // root module does not).
    auto programName = getProgramName(programIndex);
    if (programName.isEmpty())
        if (auto* programModule = getContainer()->getProgramModule())
            programName = programModule->getProgramName(programIndex);

    return writeFile(file,
                     makeFxpFile(chunk, static_cast<std::uint32_t>(getPluginId()), programName));
}

bool ZylModule::loadProgramFromFile(int programIndex, const juce::File& file)
{
    if (!isValidProgramIndex(programIndex))
        return false;
    juce::MemoryBlock chunk;
    if (!readFileChunk(file, readFxpChunk, chunk))
        return false;
    return loadProgramFromMemory(programIndex, chunk.getData(),
                                 static_cast<juce::int64>(chunk.getSize()));
}

std::unique_ptr<juce::XmlElement> ZylModule::checkXml(std::unique_ptr<juce::XmlElement> element,
                                                      const juce::String& expectedTag) const
{
    if (element == nullptr
        || !isStateAccepted(*element, expectedTag, getPluginName(), getVersionString()))
        return {};
    return element;
}
