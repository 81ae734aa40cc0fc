#include "space/ZylCellStates.h"

#include "space/ZylCell.h"
#include "space/ZylScaleNoteTable.h"

ZylCellStates::ZylCellStates() = default;

ZylCellStates::~ZylCellStates() = default;

void ZylCellStates::getSelectedColour(juce::Colour& colour, const ZylCell* cell,
                                      ZylCellColourProvider* provider) const
{
    if (provider != nullptr)
        colour = provider->getSelectedCellColour(cell);
}

void ZylCellStates::getSoundingColour(juce::Colour& colour, const ZylCell* cell,
                                      ZylCellColourProvider* provider) const
{
    if (soundingColourSet)
        colour = soundingColour;
    else if (provider != nullptr)
        colour = provider->getSoundingCellColour(cell);
}

void ZylCellStates::setSoundingColour(juce::Colour colour)
{
    soundingColour = colour;
    soundingColourSet = true;
}

void ZylCellStates::getSelectedSoundingColour(juce::Colour& colour, const ZylCell* cell,
                                              ZylCellColourProvider* provider) const
{
    if (provider != nullptr)
        colour = provider->getSelectedSoundingCellColour(cell);
}

ZylCellSet& ZylCellStates::getPressed() { return pressed; }
ZylCellSet& ZylCellStates::getSelected() { return selected; }
ZylCellSet& ZylCellStates::getSounding() { return sounding; }
ZylCellSet& ZylCellStates::getActiveSelected() { return activeSelected; }
ZylCellSet& ZylCellStates::getActiveSounding() { return activeSounding; }
ZylCellSet& ZylCellStates::getDirty() { return dirty; }

bool ZylCellStates::replaceCells(ZylCellSet& set, const std::vector<ZylCell*>& cells)
{
    // The set's own list: clearing the set below would empty the list being copied. Nothing
    // changes, so nothing needs a repaint either.
    if (&cells == &set.getCells())
        return false;

    // The set never holds a cell twice, so it is unchanged exactly when every new cell was in it
    // and it ends with as many cells as it had.
    bool allWereThere = true;
    for (const ZylCell* cell : cells)
        if (cell != nullptr && !set.contains(cell))
        {
            allWereThere = false;
            break;
        }
    const size_t oldCount = set.getCells().size();

    dirty.addAll(set);
    set.clear();
    for (ZylCell* cell : cells)
        set.add(cell);
    dirty.addAll(set);

    return !(allWereThere && set.getCells().size() == oldCount);
}

bool ZylCellStates::clearCells(ZylCellSet& set)
{
    if (set.getCells().empty())
        return false;
    dirty.addAll(set);
    set.clear();
    return true;
}

bool ZylCellStates::setActiveSounding(const std::vector<ZylCell*>& cells) { return replaceCells(activeSounding, cells); }
bool ZylCellStates::setActiveSelected(const std::vector<ZylCell*>& cells) { return replaceCells(activeSelected, cells); }
bool ZylCellStates::setPressed(const std::vector<ZylCell*>& cells) { return replaceCells(pressed, cells); }
bool ZylCellStates::setSelected(const std::vector<ZylCell*>& cells) { return replaceCells(selected, cells); }
bool ZylCellStates::setSounding(const std::vector<ZylCell*>& cells) { return replaceCells(sounding, cells); }

void ZylCellStates::fillActiveSelected(const std::vector<ZylCell*>& cells) { activeSelected.fillUntouched(cells); }
void ZylCellStates::fillActiveSounding(const std::vector<ZylCell*>& cells) { activeSounding.fillUntouched(cells); }

bool ZylCellStates::clearActiveSounding() { return clearCells(activeSounding); }
bool ZylCellStates::clearActiveSelected() { return clearCells(activeSelected); }
bool ZylCellStates::clearPressed() { return clearCells(pressed); }
bool ZylCellStates::clearSelected() { return clearCells(selected); }
bool ZylCellStates::clearSounding() { return clearCells(sounding); }

bool ZylCellStates::canPlay(const ZylCell* cell) const
{
    if (cell == nullptr || !cell->isPlayable())
        return false;
    if (!scaleFilter)
        return true;
    return scaleTable != nullptr && scale != nullptr && key != nullptr
           && scaleTable->contains(cell->getNote(), scale, key);
}

void ZylCellStates::trigger(ZylCell* cell, float velocity)
{
    if (cell == nullptr)
        return;
    if (latch)
        releaseAll();
    if (sounding.contains(cell) || !canPlay(cell))
        return;
    sounding.add(cell);
    sounding.setVelocity(velocity);
    dirty.add(cell);
}

void ZylCellStates::release(ZylCell* cell)
{
    if (!sounding.contains(cell))
        return;
    sounding.remove(cell);
    dirty.add(cell);
}

void ZylCellStates::press(ZylCell* cell, bool allowTrigger)
{
    if (cell == nullptr)
        return;
    pressed.add(cell);
    if (canPlay(cell))
    {
        deselectAll();
        select(cell);
        if (allowTrigger && playOnSelect)
            trigger(cell, sounding.getVelocity());
    }
    else if (clearSelectionOnUnplayable)
    {
        deselectAll();
    }
    dirty.add(cell);
}

void ZylCellStates::unpress(ZylCell* cell)
{
    if (cell == nullptr)
        return;
    pressed.remove(cell);
    dirty.add(cell);
}

void ZylCellStates::select(ZylCell* cell)
{
    selected.add(cell);
    dirty.add(cell);
}

void ZylCellStates::deselect(ZylCell* cell)
{
    if (playOnSelect && !latch && sounding.contains(cell))
        release(cell);
    selected.remove(cell);
    dirty.add(cell);
}

void ZylCellStates::deselectAll()
{
    // Each deselect removes the first cell, so walking from the front visits the cells in set
    // order without copying the set (the audio thread deselects too).
    while (!selected.getCells().empty())
        deselect(selected.getCells().front());
}

bool ZylCellStates::isPressed(const ZylCell* cell) const { return pressed.contains(cell); }
bool ZylCellStates::isSelected(const ZylCell* cell) const { return selected.contains(cell); }
bool ZylCellStates::isSounding(const ZylCell* cell) const { return sounding.contains(cell); }

void ZylCellStates::triggerSelected(float velocity)
{
    // A trigger changes the sounding set only, never the selection being walked.
    for (size_t i = 0; i < selected.getCells().size(); ++i)
        trigger(selected.getCells()[i], velocity);
}

void ZylCellStates::releaseAll()
{
    while (!sounding.getCells().empty())
        release(sounding.getCells().front());
}

void ZylCellStates::viewEntered()
{
}

void ZylCellStates::reset()
{
    pressed.clear();
    selected.clear();
    if (!latch)
        sounding.clear();
}

bool ZylCellStates::isPlayOnSelect() const { return playOnSelect; }
void ZylCellStates::setPlayOnSelect(bool on) { playOnSelect = on; }
bool ZylCellStates::isLatch() const { return latch; }
void ZylCellStates::setLatch(bool on) { latch = on; }

const ZylScaleNoteTable* ZylCellStates::getScaleTable() const { return scaleTable; }
void ZylCellStates::setScaleTable(const ZylScaleNoteTable* table) { scaleTable = table; }
bool ZylCellStates::isScaleFilterOn() const { return scaleFilter; }
void ZylCellStates::setScaleFilterOn(bool on) { scaleFilter = on; }
const ZylScaleValue* ZylCellStates::getScale() const { return scale; }
void ZylCellStates::setScale(const ZylScaleValue* s) { scale = s; }
const ZylKeyValue* ZylCellStates::getKey() const { return key; }
void ZylCellStates::setKey(const ZylKeyValue* k) { key = k; }

bool ZylCellStates::isClearSelectionOnUnplayable() const { return clearSelectionOnUnplayable; }
void ZylCellStates::setClearSelectionOnUnplayable(bool on) { clearSelectionOnUnplayable = on; }

void ZylCellStates::clearAll()
{
    clearPressed();
    clearSelected();
    clearSounding();
    clearActiveSounding();
    clearActiveSelected();
}

void ZylCellStates::reserveCells(std::size_t numCells)
{
    for (auto* set : { &pressed, &selected, &sounding, &activeSelected, &activeSounding, &dirty })
        set->reserve(set->getCells().size() + numCells);
}
