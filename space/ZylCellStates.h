#pragma once

#include "space/ZylCellSet.h"

#include <juce_graphics/juce_graphics.h>

#include <vector>

class ZylCell;
class ZylKeyValue;
class ZylScaleNoteTable;
class ZylScaleValue;

// What a drawing surface answers when a layer of cell states picks a state colour for a cell.
// The space views implement it; the cell states call it back while the view paints.
class ZylCellColourProvider
{
public:
    virtual ~ZylCellColourProvider() = default;

    virtual juce::Colour getSelectedCellColour(const ZylCell* cell) = 0;
    virtual juce::Colour getSoundingCellColour(const ZylCell* cell) = 0;
    virtual juce::Colour getSelectedSoundingCellColour(const ZylCell* cell) = 0;
};

// The interaction state of one layer of a live space: which cells are pressed, selected and
// sounding, which cells the chord of the selection and the sounding chord occupy, and which
// cells must be repainted. Pressing selects and, with play on select, triggers; latch keeps a
// chord sounding after the release; the scale filter makes cells outside the scale and key
// unplayable.
//
// No lock of its own: every reader and writer holds the lock of the live space that owns the
// layer. The sets hold plain pointers to cells of that live space's ZylSpace. Nothing here
// allocates once the sets have grown to their working size, so the audio thread may call it.
class ZylCellStates
{
public:
    ZylCellStates();
    virtual ~ZylCellStates();

    // Leave the colour unchanged when there is no provider.
    virtual void getSelectedColour(juce::Colour& colour, const ZylCell* cell,
                                   ZylCellColourProvider* provider) const;
    // The layer's own sounding colour once one was set, otherwise the provider's.
    virtual void getSoundingColour(juce::Colour& colour, const ZylCell* cell,
                                   ZylCellColourProvider* provider) const;
    virtual void setSoundingColour(juce::Colour colour);
    virtual void getSelectedSoundingColour(juce::Colour& colour, const ZylCell* cell,
                                           ZylCellColourProvider* provider) const;

    virtual ZylCellSet& getPressed();
    virtual ZylCellSet& getSelected();
    virtual ZylCellSet& getSounding();
    virtual ZylCellSet& getActiveSelected();
    virtual ZylCellSet& getActiveSounding();
    // The cells whose look changed since the views last drained this set.
    virtual ZylCellSet& getDirty();

    // Each set operation replaces the set's cells by the list (nulls and repeats are dropped)
    // and marks the old and the new cells dirty. It returns whether the set now holds other
    // cells than before; a mere change of order is no change. Given the set's own list it does
    // nothing and returns false.
    virtual bool setActiveSounding(const std::vector<ZylCell*>& cells);
    virtual bool setActiveSelected(const std::vector<ZylCell*>& cells);
    virtual bool setPressed(const std::vector<ZylCell*>& cells);
    virtual bool setSelected(const std::vector<ZylCell*>& cells);
    virtual bool setSounding(const std::vector<ZylCell*>& cells);
    // Fill the active sets with a copy of another layer's chord: the set's stamp is not touched
    // and no cell is marked dirty, so the copy is never mistaken for a chord decided here (the
    // views repaint the whole view when a chord changes).
    virtual void fillActiveSelected(const std::vector<ZylCell*>& cells);
    virtual void fillActiveSounding(const std::vector<ZylCell*>& cells);
    // Each clear operation empties the set and marks its cells dirty; it returns whether the set
    // held any cell.
    virtual bool clearActiveSounding();
    virtual bool clearActiveSelected();
    virtual bool clearPressed();
    virtual bool clearSelected();
    virtual bool clearSounding();

    // Starts the cell sounding with the velocity. With latch every sounding cell is released
    // first, even when the cell itself cannot play.
    virtual void trigger(ZylCell* cell, float velocity);
    virtual void release(ZylCell* cell);
    // A press always marks the cell pressed. A playable cell becomes the only selected cell and,
    // with allowTrigger and play on select, sounds with the velocity of this layer's latest
    // trigger; an unplayable cell clears the selection when clear selection on unplayable is on.
    virtual void press(ZylCell* cell, bool allowTrigger);
    virtual void unpress(ZylCell* cell);
    virtual void select(ZylCell* cell);
    // Without latch, a cell that sounds because it was selected stops with its selection.
    virtual void deselect(ZylCell* cell);
    virtual void deselectAll();
    virtual bool isPressed(const ZylCell* cell) const;
    virtual bool isSelected(const ZylCell* cell) const;
    virtual bool isSounding(const ZylCell* cell) const;
    virtual void triggerSelected(float velocity);
    virtual void releaseAll();
    virtual void viewEntered();
    // Forgets presses and the selection, and the sounding cells unless latch holds them. Marks
    // nothing dirty: the caller repaints the whole view.
    virtual void reset();

    virtual bool isPlayOnSelect() const;
    virtual void setPlayOnSelect(bool on);
    virtual bool isLatch() const;
    virtual void setLatch(bool on);

    virtual const ZylScaleNoteTable* getScaleTable() const;
    virtual void setScaleTable(const ZylScaleNoteTable* table);
    virtual bool isScaleFilterOn() const;
    virtual void setScaleFilterOn(bool on);
    virtual const ZylScaleValue* getScale() const;
    virtual void setScale(const ZylScaleValue* scale);
    virtual const ZylKeyValue* getKey() const;
    virtual void setKey(const ZylKeyValue* key);

    virtual bool isClearSelectionOnUnplayable() const;
    virtual void setClearSelectionOnUnplayable(bool on);

    // Clears pressed, selected, sounding, active sounding and active selected, in this order.
    virtual void clearAll();

    // Makes room in every set for that many cells beyond those it holds (the cells of a space
    // that replaces another may join cells of the old one), so that no set grows while the
    // layer works on that space.
    void reserveCells(std::size_t numCells);

    // A cell can play when it is playable and, with the scale filter on, its note lies in the
    // scale and key of the filter; with the filter on and its table, scale or key missing, no
    // cell can play.
    bool canPlay(const ZylCell* cell) const;

private:
    bool replaceCells(ZylCellSet& set, const std::vector<ZylCell*>& cells);
    bool clearCells(ZylCellSet& set);

    ZylCellSet pressed;
    ZylCellSet selected;
    ZylCellSet sounding;
    ZylCellSet activeSelected;
    ZylCellSet activeSounding;
    ZylCellSet dirty;
    juce::Colour soundingColour { juce::Colours::orange };
    bool playOnSelect = true;
    bool latch = true;
    const ZylScaleNoteTable* scaleTable = nullptr;
    bool scaleFilter = false;
    const ZylScaleValue* scale = nullptr;
    const ZylKeyValue* key = nullptr;
    bool clearSelectionOnUnplayable = true;
    bool soundingColourSet = false;

    JUCE_DECLARE_NON_COPYABLE(ZylCellStates)
};
