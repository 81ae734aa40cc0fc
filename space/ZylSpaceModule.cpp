#include "space/ZylSpaceModule.h"

#include "framework/ZylFilteredLinkDomain.h"
#include "framework/ZylStateXml.h"
#include "framework/ZylLinkParameterSet.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterSet.h"
#include "modules/ZylMidiInputGroupModule.h"
#include "modules/ZylMidiBufferOperations.h"
#include "modules/ZylMidiInputModule.h"
#include "modules/ZylTransportModule.h"
#include "space/ZylCell.h"
#include "space/ZylCellSet.h"
#include "space/ZylCellStates.h"
#include "space/ZylCellLabelDomain.h"
#include "space/ZylCellTriggerDomain.h"
#include "space/ZylChordAssistDomain.h"
#include "space/ZylChordDomain.h"
#include "space/ZylChordFilterDomain.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylOnClickDomain.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylScaleNoteTable.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceDomain.h"
#include "space/ZylSpaceDomainSet.h"
#include "space/ZylVoicingDomain.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace
{
constexpr int kNumNotes = 128;
constexpr int kPitchClasses = 12;
constexpr int kAllChannels = 0xFFFF;
// The event byte of kSpaceViewActivated.
constexpr int kViewActivatedEvent = kSpaceViewActivated >> 8;
// The velocity of the notes a mirrored chord is collected with; only on or off matters.
constexpr float kMirrorVelocity = 1.0f;

std::string formatKey(const char* format, int first, int second)
{
    char text[16] = {};
    std::snprintf(text, sizeof(text), format, first & 0xff, second & 0xff);
    return text;
}

// Both live-space locks, grid first, as the audio thread takes them for a block.
struct BothLocks
{
    BothLocks(const ZylLiveSpace& grid, const ZylLiveSpace& piano)
        : gridLock(grid.getLock()), pianoLock(piano.getLock())
    {
    }

    juce::ScopedLock gridLock;
    juce::ScopedLock pianoLock;
};
} // namespace

ZylSpaceModule::ZylSpaceModule(ZylModuleContainer* owner) : ZylModule(owner, kModuleId, L"")
{
}

ZylSpaceModule::~ZylSpaceModule()
{
    if (isInitialised())
        removeParameterSink(this, false);
}

void ZylSpaceModule::initialise()
{
    ZylModule::initialise();

    addPin(std::make_unique<ZylPin<ZylMidiKeyboardCable>>(true, false));
    addPin(std::make_unique<ZylPin<ZylMidiCable>>(true, false));
    addPin(std::make_unique<ZylPin<ZylMidiCable>>(false, true));
    registerInModuleMap();

    domainSet = adoptDomainSet(std::make_unique<ZylSpaceDomainSet>());

    // The ten parameters take consecutive host indexes, the same in every program.
    int automationIndex[kNumParameters] = {};
    for (auto& index : automationIndex)
        index = takeHostAutomationIndex();

    ZylDomain* domains[kNumParameters] = {
        domainSet->getSpaceDomain(),       domainSet->getCellLabelDomain(),
        domainSet->getKeyDomain(),         domainSet->getScaleDomain(),
        nullptr,                           domainSet->getVoicingDomain(),
        domainSet->getChordAssistDomain(), domainSet->getCellTriggerDomain(),
        domainSet->getOnClickDomain(),     domainSet->getChordFilterDomain(),
    };
    for (auto* program : getPrograms())
    {
        for (int parameterId = 0; parameterId < kNumParameters; ++parameterId)
        {
            if (parameterId == kChordParameterId)
            {
                // Each program filters the chord list on its own, so each gets its own view,
                // owned by the parameter.
                program->createParameter(parameterId, automationIndex[parameterId],
                                         new ZylFilteredLinkDomain(domainSet->getChordDomain()),
                                         true);
                continue;
            }
            program->createParameter(parameterId, automationIndex[parameterId], domains[parameterId]);
        }
        program->buildIndex();
    }

    setCurrentProgram(0);
    registerParameters(getContainer()->getParameterMap());
    addParameterSink(this, false);

    scaleNoteTable = std::make_unique<ZylScaleNoteTable>(domainSet->getScaleDomain(),
                                                         domainSet->getKeyDomain());
    scale = dynamic_cast<const ZylScaleValue*>(readValue(getScaleParameter()));
    key = dynamic_cast<const ZylKeyValue*>(readValue(getKeyParameter()));
    auto* spaceValue = dynamic_cast<ZylSpaceValue*>(readValue(getSpaceParameter()));
    const bool scaleFilterOn =
        readValue(getAssistParameter()) != domainSet->getChordAssistDomain()->getChAnywhValue();

    gridLiveSpace = std::make_unique<ZylLiveSpace>();
    pianoLiveSpace = std::make_unique<ZylLiveSpace>();
    gridLiveSpace->setSpace(spaceValue != nullptr ? spaceValue->getSpace() : nullptr);
    configurePrimary(*gridLiveSpace, scaleFilterOn);

    pianoSpace = std::make_unique<ZylSpace>();
    pianoSpace->buildPiano();
    pianoLiveSpace->setSpace(pianoSpace.get());
    configurePrimary(*pianoLiveSpace, scaleFilterOn);

    focusSpace = gridLiveSpace.get();
    otherSpace = pianoLiveSpace.get();
    takenTrigger = readValue(getTriggerParameter());
    takenTrClick = readValue(getOnClickParameter()) == domainSet->getOnClickDomain()->getTrClickValue();
    updateKeys();

    // The cell lists grow at most to every cell of the largest space; reserving that now keeps
    // the first blocks that show many held notes from allocating.
    size_t mostCells = pianoSpace->getCells().size();
    for (auto* value : domainSet->getSpaceDomain()->getValues())
        if (auto* grid = dynamic_cast<ZylSpaceValue*>(value); grid != nullptr && grid->getSpace() != nullptr)
            mostCells = std::max(mostCells, grid->getSpace()->getCells().size());
    for (auto* list : { &chordCells, &previewCells, &noteCells, &mirrorCells, &noteScratch })
        list->reserve(mostCells);
    shapes.reserve(static_cast<size_t>(domainSet->getChordDomain()->getValues().size()));
    voiced.reserve(ZylSpace::kFullChordSize * 2);
}

void ZylSpaceModule::configurePrimary(ZylLiveSpace& liveSpace, bool scaleFilterOn)
{
    auto* primary = liveSpace.getPrimaryStates();
    if (primary == nullptr)
        return;
    primary->setScaleFilterOn(scaleFilterOn);
    primary->setScaleTable(scaleNoteTable.get());
    primary->setScale(scale);
    primary->setKey(key);
    primary->setClearSelectionOnUnplayable(false);
}

void ZylSpaceModule::prepareToPlay(double sampleRate, int blockSize)
{
    keyboardEvents.clear();
    keyboardEvents.ensureSize(static_cast<size_t>(juce::jmax(1, blockSize) * kScratchBytesPerSample));
    ZylModule::prepareToPlay(sampleRate, blockSize);
}

void ZylSpaceModule::releaseResources()
{
    if (gridLiveSpace != nullptr && pianoLiveSpace != nullptr)
    {
        const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
        for (auto* liveSpace : { gridLiveSpace.get(), pianoLiveSpace.get() })
        {
            if (auto* secondary = liveSpace->getSecondaryStates())
                secondary->clearActiveSounding();
            clearActiveSets(*liveSpace);
        }
        gridKeyboard.reset();
        pianoKeyboard.reset();
    }
    ZylModule::releaseResources();
}

// ---------------------------------------------------------------------------------------------
// Accessors

ZylSpaceDomainSet* ZylSpaceModule::getDomainSet() const { return domainSet; }

ZylParameter* ZylSpaceModule::programParameter(int parameterId) const
{
    auto* program = getProgramParameters();
    return program != nullptr ? program->getParameterById(parameterId) : nullptr;
}

ZylParameter* ZylSpaceModule::getSpaceParameter() const { return programParameter(kSpaceParameterId); }
ZylParameter* ZylSpaceModule::getLabelParameter() const { return programParameter(kLabelParameterId); }
ZylParameter* ZylSpaceModule::getKeyParameter() const { return programParameter(kKeyParameterId); }
ZylParameter* ZylSpaceModule::getScaleParameter() const { return programParameter(kScaleParameterId); }
ZylParameter* ZylSpaceModule::getChordParameter() const { return programParameter(kChordParameterId); }
ZylParameter* ZylSpaceModule::getVoicingParameter() const { return programParameter(kVoicingParameterId); }
ZylParameter* ZylSpaceModule::getAssistParameter() const { return programParameter(kAssistParameterId); }
ZylParameter* ZylSpaceModule::getTriggerParameter() const { return programParameter(kTriggerParameterId); }
ZylParameter* ZylSpaceModule::getOnClickParameter() const { return programParameter(kOnClickParameterId); }
ZylParameter* ZylSpaceModule::getChordFilterParameter() const { return programParameter(kChordFilterParameterId); }

ZylTransportModule* ZylSpaceModule::getTransportModule() const
{
    return dynamic_cast<ZylTransportModule*>(getContainer()->getModule(kTransportModuleId));
}

ZylMidiInputGroupModule* ZylSpaceModule::getMidiInputGroupModule() const
{
    return dynamic_cast<ZylMidiInputGroupModule*>(getContainer()->getModule(kMidiInputGroupModuleId));
}

const ZylScaleNoteTable* ZylSpaceModule::getScaleNoteTable() const { return scaleNoteTable.get(); }
ZylLiveSpace* ZylSpaceModule::getGridSpace() const { return gridLiveSpace.get(); }
ZylLiveSpace* ZylSpaceModule::getPianoSpace() const { return pianoLiveSpace.get(); }

ZylPin<ZylMidiKeyboardCable>* ZylSpaceModule::getKeyboardPin() const
{
    return getPinOfKind<ZylMidiKeyboardCable>(kKeyboardPin);
}

ZylPin<ZylMidiCable>* ZylSpaceModule::getMidiInPin() const { return getPinOfKind<ZylMidiCable>(kMidiInPin); }
ZylPin<ZylMidiCable>* ZylSpaceModule::getMidiOutPin() const { return getPinOfKind<ZylMidiCable>(kMidiOutPin); }

float ZylSpaceModule::getTriggerVelocity() const { return triggerVelocity; }
int ZylSpaceModule::getTriggerNote() const { return triggerNote; }
bool ZylSpaceModule::isTriggerNoteOn() const { return triggerNoteOn; }
ZylChordValue* ZylSpaceModule::getLastChord() const { return lastChord; }
ZylCell* ZylSpaceModule::getLastRoot() const { return lastRoot; }
ZylChordValue* ZylSpaceModule::getNextChord() const { return nextChord; }
ZylCell* ZylSpaceModule::getNextRoot() const { return nextRoot; }

std::wstring ZylSpaceModule::getLastChordName() const
{
    return lastChord != nullptr ? lastChord->getName() : std::wstring();
}

std::wstring ZylSpaceModule::getNextChordName() const
{
    return nextChord != nullptr ? nextChord->getName() : std::wstring();
}

std::wstring ZylSpaceModule::rootName(const ZylCell* root) const
{
    if (root == nullptr || scale == nullptr || key == nullptr || scaleNoteTable == nullptr)
        return {};
    return scaleNoteTable->getNoteName(root->getNote(), scale, key, false);
}

std::wstring ZylSpaceModule::getLastRootName() const { return rootName(lastRoot); }
std::wstring ZylSpaceModule::getNextRootName() const { return rootName(nextRoot); }

ZylValue* ZylSpaceModule::readValue(ZylParameter* parameter)
{
    if (parameter == nullptr)
        return nullptr;
    const juce::ScopedLock lock(parameter->getLock());
    return parameter->getValueObject();
}

ZylValue* ZylSpaceModule::getAssistValue() const
{
    return readValue(getAssistParameter());
}

bool ZylSpaceModule::isFitAssist(const ZylValue* assist) const
{
    auto* assists = domainSet->getChordAssistDomain();
    return assist != nullptr
           && (assist == assists->getFitCompValue() || assist == assists->getFitBestValue()
               || assist == assists->getFitCyclValue() || assist == assists->getFitRandValue());
}

bool ZylSpaceModule::isMidiTrigger(const ZylValue* trigger) const
{
    auto* triggers = domainSet->getCellTriggerDomain();
    return trigger != nullptr
           && (trigger == triggers->getMidiHvrValue() || trigger == triggers->getMidiNteValue()
               || trigger == triggers->getMidiModValue());
}

// ---------------------------------------------------------------------------------------------
// Cell filter and chord enumerator

const std::string& ZylSpaceModule::getFilterKey()
{
    return filterKey;
}

bool ZylSpaceModule::rejects(const ZylCell* cell, const ZylSpace* /*space*/)
{
    if (cell == nullptr || !cell->isPlayable())
        return true;
    return scaleNoteTable == nullptr || !scaleNoteTable->contains(cell->getNote(), scale, key);
}

int ZylSpaceModule::getNumChords()
{
    auto* parameter = getChordParameter();
    auto* domain = parameter != nullptr ? parameter->getDomain() : nullptr;
    return domain != nullptr ? static_cast<int>(domain->getValues().size()) : 0;
}

ZylChordValue* ZylSpaceModule::getChord(int index)
{
    auto* parameter = getChordParameter();
    auto* domain = parameter != nullptr ? parameter->getDomain() : nullptr;
    if (domain == nullptr || index < 0)
        return nullptr;
    const auto& values = domain->getValues();
    if (index >= static_cast<int>(values.size()))
        return nullptr;
    return dynamic_cast<ZylChordValue*>(values[static_cast<size_t>(index)]);
}

const std::string& ZylSpaceModule::getEnumeratorKey()
{
    return enumeratorKey;
}

void ZylSpaceModule::updateKeys()
{
    filterKey = (scale != nullptr && key != nullptr)
                    ? formatKey("S%02xK%02x", scale->getId(), key->getId())
                    : std::string();
    auto* assist = readValue(getAssistParameter());
    auto* filter = readValue(getChordFilterParameter());
    enumeratorKey = (assist != nullptr && filter != nullptr)
                        ? formatKey("A%02xF%02x", assist->getId(), filter->getId())
                        : std::string();
}

// ---------------------------------------------------------------------------------------------
// Messages (message thread)

bool ZylSpaceModule::handleMessage(void* sender, int code, int timeMs)
{
    if (zylMessageEvent(code) == kViewActivatedEvent)
    {
        if (gridLiveSpace == nullptr || pianoLiveSpace == nullptr)
            return true;
        const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
        const bool piano = zylMessageLowByte(code) == kPianoViewIndex;
        focusSpace = piano ? pianoLiveSpace.get() : gridLiveSpace.get();
        otherSpace = piano ? gridLiveSpace.get() : pianoLiveSpace.get();
        return true;
    }

    // Only value changes are reactions; the other notifications of the parameters (enabled,
    // gesture) must not clear chords or rewind the transport.
    if ((code & 0xff00) == kValueChanged && sender != nullptr && domainSet != nullptr)
    {
        struct Reaction
        {
            ZylParameter* parameter;
            void (ZylSpaceModule::*react)();
        };
        const Reaction reactions[] = {
            { getSpaceParameter(), &ZylSpaceModule::takeSpace },
            { getTriggerParameter(), &ZylSpaceModule::takeTrigger },
            { getScaleParameter(), &ZylSpaceModule::takeScale },
            { getKeyParameter(), &ZylSpaceModule::takeKey },
            { getAssistParameter(), &ZylSpaceModule::takeAssist },
            { getOnClickParameter(), &ZylSpaceModule::takeOnClick },
            { getChordFilterParameter(), &ZylSpaceModule::takeChordFilter },
        };
        for (const auto& reaction : reactions)
        {
            if (reaction.parameter != nullptr && sender == reaction.parameter->asSender())
            {
                (this->*reaction.react)();
                return true;
            }
        }
    }
    return ZylModule::handleMessage(sender, code, timeMs);
}

void ZylSpaceModule::takeSpace()
{
    if (gridLiveSpace == nullptr)
        return;
    {
        const juce::ScopedLock gridLock(gridLiveSpace->getLock());
        auto* value = dynamic_cast<ZylSpaceValue*>(readValue(getSpaceParameter()));
        auto* newSpace = value != nullptr ? value->getSpace() : nullptr;
        auto* oldSpace = gridLiveSpace->getSpace();
        // The old grid keeps its cells (the layers may still point at them) but no longer needs
        // the chords placed on it.
        if (oldSpace != nullptr && oldSpace != newSpace)
            oldSpace->flushCaches();
        gridLiveSpace->setSpace(newSpace);
        updateKeys();
    }
    if (auto* command = getCommandParameter())
        command->sendMessage(kSpaceLayoutChanged);
}

void ZylSpaceModule::takeTrigger()
{
    if (gridLiveSpace == nullptr || pianoLiveSpace == nullptr)
        return;
    ZylValue* trigger = nullptr;
    {
        const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
        for (auto* liveSpace : { gridLiveSpace.get(), pianoLiveSpace.get() })
            if (auto* secondary = liveSpace->getSecondaryStates())
                secondary->clearActiveSounding();
        for (auto* liveSpace : { gridLiveSpace.get(), pianoLiveSpace.get() })
        {
            clearActiveSets(*liveSpace);
            // A cell the latch kept (the root a click picked for incoming notes, or a held
            // chord's root) is no new click: the mouse trigger must not play it as one.
            if (auto* primary = liveSpace->getPrimaryStates())
                primary->getSounding().acknowledge();
        }
        if (auto* transport = getTransportModule())
            transport->rewind();
        trigger = readValue(getTriggerParameter());
        takenTrigger = trigger;
    }
    if (auto* onClick = getOnClickParameter())
        onClick->setEnabled(!isMidiTrigger(trigger), true);
}

void ZylSpaceModule::takeScale()
{
    if (gridLiveSpace == nullptr || pianoLiveSpace == nullptr)
        return;
    const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
    scale = dynamic_cast<const ZylScaleValue*>(readValue(getScaleParameter()));
    for (auto* liveSpace : { gridLiveSpace.get(), pianoLiveSpace.get() })
        if (auto* primary = liveSpace->getPrimaryStates())
            primary->setScale(scale);
    updateKeys();
}

void ZylSpaceModule::takeKey()
{
    if (gridLiveSpace == nullptr || pianoLiveSpace == nullptr)
        return;
    const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
    key = dynamic_cast<const ZylKeyValue*>(readValue(getKeyParameter()));
    for (auto* liveSpace : { gridLiveSpace.get(), pianoLiveSpace.get() })
        if (auto* primary = liveSpace->getPrimaryStates())
            primary->setKey(key);
    updateKeys();
}

void ZylSpaceModule::takeAssist()
{
    if (gridLiveSpace == nullptr || pianoLiveSpace == nullptr)
        return;
    const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
    auto* assist = getAssistValue();
    const bool scaleFilterOn = assist != domainSet->getChordAssistDomain()->getChAnywhValue();
    for (auto* liveSpace : { gridLiveSpace.get(), pianoLiveSpace.get() })
        if (auto* primary = liveSpace->getPrimaryStates())
            primary->setScaleFilterOn(scaleFilterOn);
    updateKeys();
    if (auto* chord = getChordParameter())
        chord->setEnabled(!isFitAssist(assist), true);
    updateKeys();
}

void ZylSpaceModule::takeOnClick()
{
    if (gridLiveSpace == nullptr || pianoLiveSpace == nullptr)
        return;
    const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
    const bool trClick =
        readValue(getOnClickParameter()) == domainSet->getOnClickDomain()->getTrClickValue();
    for (auto* liveSpace : { gridLiveSpace.get(), pianoLiveSpace.get() })
    {
        if (auto* primary = liveSpace->getPrimaryStates())
        {
            // The cells the latch kept sound with no button behind them; without the latch
            // nothing would release them, and the mouse trigger would go on playing them.
            // They are released as a button release releases them.
            const bool unlatch = primary->isLatch() && trClick;
            primary->setPlayOnSelect(trClick);
            primary->setLatch(!trClick);
            if (unlatch)
                primary->releaseAll();
        }
    }
    takenTrClick = trClick;
}

void ZylSpaceModule::restoreProgramParameters(int index, const juce::XmlElement& element,
                                              bool notify)
{
    // A stored chord is looked up in the program's filtered chord list, and a chord the list
    // does not show is not taken: without this the chord of a loaded state would depend on the
    // filter the tree had before.
    auto* set = getProgramSet(index);
    auto* chord = set != nullptr ? set->getParameterById(kChordParameterId) : nullptr;
    auto* view = chord != nullptr ? dynamic_cast<ZylFilteredLinkDomain*>(chord->getDomain()) : nullptr;
    const auto* parameters = findFirstChildElement(element, ZylStateTags::kParameterSet);
    if (view != nullptr && parameters != nullptr && gridLiveSpace != nullptr && pianoLiveSpace != nullptr)
        for (auto* stored : parameters->getChildWithTagNameIterator("pv"))
            if (stored->getIntAttribute(ZylStateTags::kId, -1) == kChordFilterParameterId)
                if (auto* filter = domainSet->getChordFilterDomain()->findById(
                        stored->getIntAttribute(ZylStateTags::kVersion, -1)))
                {
                    const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
                    view->setFilterTag(filter->getCode());
                }
    ZylModule::restoreProgramParameters(index, element, notify);
}

void ZylSpaceModule::takeChordFilter()
{
    if (gridLiveSpace == nullptr || pianoLiveSpace == nullptr)
        return;
    const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
    auto* filter = readValue(getChordFilterParameter());
    auto* chord = getChordParameter();
    if (auto* view = chord != nullptr ? dynamic_cast<ZylFilteredLinkDomain*>(chord->getDomain()) : nullptr)
        if (filter != nullptr)
            view->setFilterTag(filter->getCode());
    updateKeys();
}

// ---------------------------------------------------------------------------------------------
// Blocks (audio thread)

void ZylSpaceModule::process(int numSamples)
{
    if (gridLiveSpace == nullptr || pianoLiveSpace == nullptr)
        return;
    bool changedSomething = false;
    {
        const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
        changedSomething = handleMidiInput(numSamples);
        changedSomething = renderChord(numSamples) || changedSomething;
    }
    if (changedSomething)
        if (auto* command = getCommandParameter())
            command->sendMessage(kCellStatesChanged);
}

juce::MidiBuffer* ZylSpaceModule::outputBuffer() const
{
    auto* pin = getMidiOutPin();
    auto* cable = pin != nullptr ? pin->getFirstCable() : nullptr;
    return cable != nullptr ? cable->getBuffer() : nullptr;
}

bool ZylSpaceModule::handleMidiInput(int numSamples)
{
    auto* out = outputBuffer();
    if (out != nullptr)
        out->clear();

    // The trigger mode as its reaction took it under these locks, the one the chord decision
    // uses: the block reads no parameter here.
    auto* trigger = takenTrigger;
    auto* triggers = domainSet->getCellTriggerDomain();
    if (trigger == nullptr)
        return false;

    if (trigger == triggers->getMouseClValue())
    {
        auto* keyboardPin = getKeyboardPin();
        auto* keyboardCable = keyboardPin != nullptr ? keyboardPin->getFirstCable() : nullptr;
        const juce::MidiKeyboardState* keyboard =
            keyboardCable != nullptr ? keyboardCable->getBuffer() : nullptr;
        HeldNotes held;
        if (keyboard != nullptr)
            for (int note = 0; note < kNumNotes; ++note)
                if (keyboard->isNoteOnForChannels(kAllChannels, note))
                    held.bits[note / 64] |= std::uint64_t { 1 } << (note % 64);
        bool changedSomething = showMidiNotes(*gridLiveSpace, keyboard, held);
        changedSomething = showMidiNotes(*pianoLiveSpace, keyboard, held) || changedSomething;

        if (out != nullptr)
        {
            out->clear();
            auto* inPin = getMidiInPin();
            auto* inCable = inPin != nullptr ? inPin->getFirstCable() : nullptr;
            if (auto* in = inCable != nullptr ? inCable->getBuffer() : nullptr; in != nullptr && numSamples > 0)
                copyMidiEvents(*in, *out, 0, numSamples, 0);
        }
        return changedSomething;
    }

    if (trigger != triggers->getMidiClkValue() && !isMidiTrigger(trigger))
        return false;

    auto* group = getMidiInputGroupModule();
    auto* input = group != nullptr ? group->getInputModule(0) : nullptr;
    if (input == nullptr)
        return false;

    if (input->isAnyNoteOn())
    {
        triggerVelocity = input->getLastVelocity();
        const int note = input->getLastNote();
        if (note != triggerNote)
        {
            triggerNote = note;
            triggerNoteOn = true;
        }
        else if (triggerNoteOn)
        {
            return false;
        }
        else
        {
            triggerNoteOn = true;
        }
    }
    else
    {
        if (!triggerNoteOn)
            return false;
        triggerNoteOn = false;
    }
    triggerStamp.touch();
    return false;
}

bool ZylSpaceModule::showMidiNotes(ZylLiveSpace& liveSpace, const juce::MidiKeyboardState* keyboard,
                                   const HeldNotes& held)
{
    auto* secondary = liveSpace.getSecondaryStates();
    if (secondary == nullptr)
        return false;

    // A host holding a chord sends the same notes block after block; gathering their cells
    // and rebuilding the set again would find the same cells every time.
    ShownNotes now;
    now.held = held;
    const auto* space = liveSpace.getSpace();
    now.space = space;
    now.noteIndexVersion = space != nullptr ? space->getNoteIndexVersion() : 0;
    now.states = secondary;
    auto& shown = &liveSpace == pianoLiveSpace.get() ? pianoShown : gridShown;
    if (shown.valid && shown.held.bits[0] == held.bits[0] && shown.held.bits[1] == held.bits[1]
        && shown.space == now.space && shown.noteIndexVersion == now.noteIndexVersion
        && shown.states == now.states && secondary->getActiveSounding().getTime() == shown.statesTime)
        return false;

    noteCells.clear();
    if (keyboard != nullptr)
        addNoteCells(*keyboard, space, noteCells, noteScratch);
    const bool shownChanged = secondary->setActiveSounding(noteCells);
    now.statesTime = secondary->getActiveSounding().getTime();
    now.valid = true;
    shown = now;
    return shownChanged;
}

void ZylSpaceModule::addNoteCells(const juce::MidiKeyboardState& keyboard, const ZylSpace* space,
                                  std::vector<ZylCell*>& cells, std::vector<ZylCell*>& scratch)
{
    cells.clear();
    if (space == nullptr)
        return;
    // Each note's cells are gathered on their own and appended: a cell carries one note, so no
    // cell can come twice, and the list gathered so far need not be searched for each note.
    for (int note = 0; note < kNumNotes; ++note)
    {
        if (!keyboard.isNoteOnForChannels(kAllChannels, note))
            continue;
        space->getCellsForNote(note, scratch, false, nullptr);
        cells.insert(cells.end(), scratch.begin(), scratch.end());
    }
}

void ZylSpaceModule::fillKeyboardState(const ZylCellSet& cells, juce::MidiKeyboardState& keyboard)
{
    keyboard.reset();
    for (const ZylCell* cell : cells.getCells())
    {
        const int note = cell->getNote();
        if (note >= 0 && note < kNumNotes)
            keyboard.noteOn(kMidiChannel, note, kMirrorVelocity);
    }
}

juce::MidiKeyboardState& ZylSpaceModule::keyboardFor(const ZylLiveSpace* liveSpace)
{
    return liveSpace == pianoLiveSpace.get() ? pianoKeyboard : gridKeyboard;
}

void ZylSpaceModule::releaseKeyboard(juce::MidiKeyboardState& keyboard, juce::MidiBuffer& out,
                                     int position, int numSamples)
{
    keyboard.allNotesOff(kMidiChannel);
    keyboardEvents.clear();
    keyboard.processNextMidiBuffer(keyboardEvents, position, juce::jmax(1, numSamples), true);
    copyMidiEvents(keyboardEvents, out, 0, std::numeric_limits<int>::max(), 0);
}

bool ZylSpaceModule::renderChord(int numSamples)
{
    auto* out = outputBuffer();
    if (out == nullptr)
        return false;

    auto* focus = focusSpace;
    auto* primary = focus != nullptr ? focus->getPrimaryStates() : nullptr;
    if (primary == nullptr)
        return false;

    bool changedSomething = false;
    if (renderedFocus != nullptr && renderedFocus != focus)
    {
        // The old focus's notes would otherwise hang: nothing plays its keyboard state again
        // until the focus comes back. They stop at the start of this block, before anything the
        // new focus plays. The chord copied onto the new focus was never sent from it, so it is
        // not shown as sounding either.
        releaseKeyboard(keyboardFor(renderedFocus), *out, 0, 1);
        changedSomething = primary->clearActiveSounding();
    }
    renderedFocus = focus;

    auto& keyboard = keyboardFor(focus);
    auto& sounding = primary->getActiveSounding();
    changedSomething = decideChord(*focus) || changedSomething;
    // The notes follow the chord whenever it moved since this keyboard state last played it,
    // also when it moved between blocks: a change of "Trigger" clears the chord on the message
    // thread, and its notes must stop in the next block rather than hang.
    auto& played = focus == pianoLiveSpace.get() ? pianoPlayedTime : gridPlayedTime;
    if (sounding.getTime() != played)
    {
        played = sounding.getTime();
        sounding.applyToKeyboard(keyboard, kMidiChannel, true);
        keyboardEvents.clear();
        keyboard.processNextMidiBuffer(keyboardEvents, 0, juce::jmax(1, numSamples), true);
        copyMidiEvents(keyboardEvents, *out, 0, std::numeric_limits<int>::max(), 0);
    }
    triggerStamp.acknowledge();

    if (focus != nullptr && otherSpace != nullptr)
        mirrorSpaces(*focus, *otherSpace);
    return changedSomething;
}

bool ZylSpaceModule::decideChord(ZylLiveSpace& liveSpace)
{
    auto* primary = liveSpace.getPrimaryStates();
    if (primary == nullptr)
        return false;
    auto* space = liveSpace.getSpace();

    const bool counterChanged = chordCounter.hasChanged();
    const bool stampChanged = triggerStamp.hasChanged();
    const bool selectedChanged = primary->getSelected().hasChanged();
    const bool soundingChanged = primary->getSounding().hasChanged();
    const bool moduleChanged = isChanged();
    // Every decision below starts from one of these; in a block where none moved, the chord and
    // the preview stay as they are and no parameter needs reading.
    if (!counterChanged && !stampChanged && !selectedChanged && !soundingChanged && !moduleChanged)
        return false;
    const bool trClick = takenTrClick;
    auto* trigger = takenTrigger;
    // Read once: the message thread may change it meanwhile, and a chord picked under one
    // assist must not be counted or placed under another.
    auto* assist = getAssistValue();
    auto* triggers = domainSet->getCellTriggerDomain();

    bool changedSomething = moduleChanged;
    bool decided = false;
    float velocity = ZylCellSet::kDefaultVelocity;
    chordCells.clear();

    if (trigger == triggers->getMouseClValue())
    {
        if (soundingChanged || (trClick && moduleChanged))
        {
            chordFromRoots(primary->getSounding().getCells(), space, assist, chordCells);
            velocity = primary->getSounding().getVelocity();
            decided = true;
        }
    }
    else if (trigger == triggers->getMidiClkValue() || trigger == triggers->getMidiHvrValue())
    {
        if (stampChanged)
        {
            const bool hover = trigger == triggers->getMidiHvrValue();
            if (triggerNoteOn)
            {
                if (hover)
                {
                    primary->releaseAll();
                    primary->triggerSelected(triggerVelocity);
                }
                chordFromRoots(primary->getSounding().getCells(), space, assist, chordCells);
            }
            else if (hover)
            {
                primary->releaseAll();
            }
            velocity = triggerVelocity;
            decided = true;
        }
    }
    else if (trigger == triggers->getMidiNteValue() || trigger == triggers->getMidiModValue())
    {
        if (stampChanged)
        {
            int note = triggerNote;
            if (trigger == triggers->getMidiModValue())
            {
                // The note is read as a degree of C major and played as that degree of the
                // current scale and key, in the same octave; a note outside C major plays none.
                auto* scales = domainSet->getScaleDomain();
                auto* keys = domainSet->getKeyDomain();
                const int pitchClass = ((note % kPitchClasses) + kPitchClasses) % kPitchClasses;
                const int degree = getDegreeIndex(pitchClass, scales->getMajorValue(), keys->getCValue());
                if (degree != 0 && scale != nullptr && key != nullptr
                    && static_cast<int>(scale->intervals.size()) >= degree)
                    note = key->rootPitchClass() + scale->intervals[static_cast<size_t>(degree - 1)]
                           + (note / kPitchClasses) * kPitchClasses;
                else
                    note = 0;
            }
            primary->releaseAll();
            // Note 0 counts as no note in these modes.
            if (note > 0 && note < kNumNotes && triggerNoteOn && space != nullptr)
            {
                ZylCell* root = nullptr;
                const auto& selected = primary->getSelected().getCells();
                if (!selected.empty())
                {
                    space->getCellsForNote(note, noteCells, false, nullptr);
                    double distance = 0.0;
                    root = ZylSpace::findNearestCell(noteCells, selected.front(), distance);
                }
                else
                {
                    root = space->getCellForNote(note);
                }
                if (root != nullptr)
                {
                    primary->trigger(root, triggerVelocity);
                    chordFromRoots(primary->getSounding().getCells(), space, assist, chordCells);
                }
            }
            velocity = triggerVelocity;
            decided = true;
        }
    }

    if (decided)
    {
        primary->setActiveSounding(chordCells);
        primary->getActiveSounding().setVelocity(velocity);
        primary->getSounding().acknowledge();
        changedSomething = true;
    }

    if (selectedChanged || counterChanged || moduleChanged)
    {
        nextFromRoot(primary->getSelected().getCells(), space, assist, previewCells);
        changedSomething = primary->setActiveSelected(previewCells) || changedSomething;
        primary->getSelected().acknowledge();
        chordCounter.acknowledge();
    }
    return changedSomething;
}

void ZylSpaceModule::chordFromRoots(const std::vector<ZylCell*>& roots, ZylSpace* space,
                                    const ZylValue* assist, std::vector<ZylCell*>& cells)
{
    ZylCell* root = roots.empty() ? nullptr : roots.front();
    if (root != nullptr)
    {
        auto* assists = domainSet->getChordAssistDomain();
        if (assist == assists->getFitCompValue())
        {
            chordCounter.stepCycle();
        }
        else if (assist == assists->getFitBestValue())
        {
            chordCounter.reset();
        }
        else if (assist == assists->getFitCyclValue())
        {
            if (root != lastRoot)
                chordCounter.reset();
            chordCounter.stepCycle();
        }
        else if (assist == assists->getFitRandValue())
        {
            chordCounter.stepRandom();
        }
    }
    auto* chord = pickChord(root, space, chordCounter.getValue(), assist);
    voiceAndPlace(root, chord, space, assist, cells);
    if (root != nullptr)
    {
        lastRoot = root;
        lastChord = chord;
    }
}

ZylChordValue* ZylSpaceModule::pickChord(const ZylCell* root, ZylSpace* space, std::int32_t value,
                                         const ZylValue* assist)
{
    if (root == nullptr)
        return nullptr;
    auto* chordParameter = getChordParameter();
    if (!isFitAssist(assist))
        return dynamic_cast<ZylChordValue*>(readValue(chordParameter));
    if (space == nullptr || chordParameter == nullptr)
        return nullptr;

    auto* assists = domainSet->getChordAssistDomain();
    const bool compact = assist == assists->getFitCompValue();
    const bool best = assist == assists->getFitBestValue();
    const int scoreMode = compact ? ZylSpace::kScoreByDistance : ZylSpace::kScoreByRank;
    const bool bestOnly = compact || best;

    // The chord list is walked by the ranking below: its lock (the Chord vocabulary's) comes
    // before the space's own.
    const juce::ScopedLock chordLock(chordParameter->getLock());
    space->findChordShapes(root, shapes, scoreMode, bestOnly, this, this);
    if (shapes.empty())
        return nullptr;
    // The counter's value as a signed number widened to 64 bits, then taken as unsigned: the
    // value before the first step (-1) picks a shape too.
    const auto wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
    const size_t pick = best ? 0 : static_cast<size_t>(wide % static_cast<std::uint64_t>(shapes.size()));
    auto* shape = shapes[pick];
    return shape != nullptr ? shape->getChord() : nullptr;
}

void ZylSpaceModule::voiceAndPlace(const ZylCell* root, const ZylChordValue* chord, ZylSpace* space,
                                   const ZylValue* assist, std::vector<ZylCell*>& cells)
{
    cells.clear();
    if (root == nullptr || chord == nullptr || space == nullptr)
        return;
    if (auto* voicing = dynamic_cast<ZylVoicingValue*>(readValue(getVoicingParameter())))
        applyVoicing(chord->intervals, voicing->offsets, voicing->afterSort.get(), voiced);
    else
        voiced.assign(chord->intervals.begin(), chord->intervals.end());
    const bool full = assist == domainSet->getChordAssistDomain()->getChFullValue();
    space->getChordCells(voiced, root, cells, full ? this : nullptr);
}

void ZylSpaceModule::applyVoicing(const ZylIntVector& intervals, const ZylIntVector& offsets,
                                  const ZylIntVector* afterSort, ZylIntVector& out)
{
    out.clear();
    for (size_t i = 0; i < intervals.size(); ++i)
        out.push_back(intervals[i] + (i < offsets.size() ? offsets[i] : 0));
    if (afterSort == nullptr || afterSort->empty())
        return;
    std::sort(out.begin(), out.end());
    for (size_t i = 0; i < out.size() && i < afterSort->size(); ++i)
        out[i] += (*afterSort)[i];
}

void ZylSpaceModule::nextFromRoot(const std::vector<ZylCell*>& selected, ZylSpace* space,
                                  const ZylValue* assist, std::vector<ZylCell*>& cells)
{
    ZylCell* root = selected.empty() ? nullptr : selected.front();
    nextRoot = root;
    const bool useNext =
        root == lastRoot || assist == domainSet->getChordAssistDomain()->getFitRandValue();
    nextChord = pickChord(root, space, useNext ? chordCounter.getNext() : 0, assist);
    voiceAndPlace(root, nextChord, space, assist, cells);
}

void ZylSpaceModule::mirrorSpaces(ZylLiveSpace& from, ZylLiveSpace& to)
{
    auto* source = from.getPrimaryStates();
    auto* target = to.getPrimaryStates();
    if (source == nullptr || target == nullptr)
        return;
    // An idle block: nothing to mirror onto a mirror that shows nothing.
    if (source->getActiveSelected().getCells().empty() && source->getActiveSounding().getCells().empty()
        && target->getPressed().getCells().empty() && target->getSelected().getCells().empty()
        && target->getSounding().getCells().empty() && target->getActiveSelected().getCells().empty()
        && target->getActiveSounding().getCells().empty())
        return;
    target->clearAll();
    mirrorSet(source->getActiveSelected(), to, mirrorCells);
    target->fillActiveSelected(mirrorCells);
    mirrorSet(source->getActiveSounding(), to, mirrorCells);
    target->fillActiveSounding(mirrorCells);
}

void ZylSpaceModule::mirrorSet(const ZylCellSet& set, const ZylLiveSpace& to,
                               std::vector<ZylCell*>& cells)
{
    // An empty set has no notes to look up, which is every idle block.
    if (set.getCells().empty())
    {
        cells.clear();
        return;
    }
    fillKeyboardState(set, mirrorKeyboard);
    addNoteCells(mirrorKeyboard, to.getSpace(), cells, noteScratch);
}

bool ZylSpaceModule::clearActiveSets(ZylLiveSpace& liveSpace)
{
    auto* primary = liveSpace.getPrimaryStates();
    if (primary == nullptr)
        return false;
    const bool selectedCleared = primary->clearActiveSelected();
    const bool soundingCleared = primary->clearActiveSounding();
    return selectedCleared || soundingCleared;
}

void ZylSpaceModule::processPendingReset()
{
    if (isResetPending() && gridLiveSpace != nullptr && pianoLiveSpace != nullptr)
    {
        const BothLocks locks(*gridLiveSpace, *pianoLiveSpace);
        for (auto* liveSpace : { gridLiveSpace.get(), pianoLiveSpace.get() })
            if (auto* secondary = liveSpace->getSecondaryStates())
                secondary->clearActiveSounding();
        clearActiveSets(*gridLiveSpace);
        clearActiveSets(*pianoLiveSpace);
        // Whatever this block sent stays balanced: the notes still on are switched off after
        // the block's last event rather than forgotten, so that no downstream note hangs.
        if (auto* out = outputBuffer())
        {
            const int last = out->isEmpty() ? 0 : out->getLastEventTime();
            releaseKeyboard(gridKeyboard, *out, last, 1);
            releaseKeyboard(pianoKeyboard, *out, last, 1);
        }
        gridKeyboard.reset();
        pianoKeyboard.reset();
    }
    ZylModule::processPendingReset();
}
