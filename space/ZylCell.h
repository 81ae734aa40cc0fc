#pragma once

#include "space/ZylRect.h"
#include "space/ZylTile.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <string>
#include <vector>

class ZylSpace;

// One playable position of a pitch space: a MIDI note (or none) and the tiles that make up its
// shape. The owning ZylSpace deletes its cells only when it lays itself out again or dies; cell
// sets, cell states and the note index hold plain pointers to them.
class ZylCell
{
public:
    using TileList = std::vector<std::unique_ptr<ZylTile>>;

    static constexpr int kNoNote = -1;

    // The note is stored as given. A null tile is not kept.
    ZylCell(std::unique_ptr<ZylTile> tile, int note);
    // For shapes of several tiles (piano keys); the list must hold at least one tile.
    ZylCell(TileList tiles, int note);
    virtual ~ZylCell();

    // The first tile in list order that contains the point answers.
    virtual bool hitTest(double x, double y) const;
    // Recomputes bounds and centre from the tiles; returns the new centre y.
    virtual double updateBounds();
    // Euclidean distance between the two centres.
    virtual double distanceTo(const ZylCell& other) const;

    virtual const TileList& getTiles() const;
    virtual const ZylRect& getBounds() const;
    // The centre is the middle of the covered units: a tile from 0 to 26 has its centre at 13.5.
    virtual double getCentreX() const;
    virtual double getCentreY() const;

    virtual int getNote() const;
    // Anything outside 0..127 becomes kNoNote; returns the stored value.
    virtual int setNote(int n);
    virtual bool isPlayable() const;
    virtual bool hasNote() const;
    virtual bool isHidden() const;
    virtual void setHidden(bool b);

    virtual ZylSpace* getSpace() const;
    virtual void setSpace(ZylSpace* s);

    // The cell's address as hexadecimal text without a "0x" prefix: unique among living cells and
    // stable for the cell's life; chord placement builds its cache keys from it.
    virtual const std::string& getId() const;

private:
    void makeId();

    ZylRect bounds;
    int note;
    double centreX = 0.0;
    double centreY = 0.0;
    ZylSpace* space = nullptr;
    TileList tiles;
    bool hidden = false;
    // Written once by the constructor, so that the audio thread, which builds cache keys from
    // it, neither allocates nor races with another reader on a first use.
    std::string id;

    JUCE_DECLARE_NON_COPYABLE(ZylCell)
};
