#pragma once

#include "space/ZylCellStates.h"
#include "ui/ZylView.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <unordered_map>
#include <vector>

class ZylCell;
class ZylLiveSpace;
class ZylParameter;
class ZylSpace;
class ZylSpaceModule;
class ZylTile;

// The drawing and playing surface of one live space. The mouse presses, drags over and releases
// cells; the view turns this into calls on the live space's primary cell states, and the space
// module sounds the chord in its next block. The view never talks to the audio thread: it takes
// the live space's lock for every access to the cell states, and learns about changes made by
// the audio thread from the space module's messages.
//
// Of several views exactly one is active (has the play focus); the space module plays the live
// space of the active view. Message thread only.
class ZylSpaceView : public ZylView,
                     public juce::KeyListener,
                     public ZylCellColourProvider,
                     private juce::Timer
{
public:
    static constexpr float kClickVelocity = 0.8f;

    explicit ZylSpaceView(ZylEditor* editor);
    ~ZylSpaceView() override;

    bool handleMessage(void* sender, int code, int timeMs) override;

    virtual void draw(juce::Graphics& g);
    // Percent; resizes the view.
    virtual void setZoom(double percent);
    virtual double getZoom() const;
    virtual double getHorizontalMargin() const;
    virtual double getVerticalMargin() const;
    virtual void setHorizontalMargin(double cells);
    virtual void setVerticalMargin(double cells);
    // Corner by corner through the inverse transform; the two y values are swapped afterwards so
    // that a view rectangle (top first) becomes a model rectangle (bottom first) and back.
    virtual void viewToModelRect(double& x1, double& y1, double& x2, double& y2) const;
    virtual void viewToModelPoint(double& x, double& y) const;
    virtual void modelToViewRect(double& x1, double& y1, double& x2, double& y2) const;
    virtual void modelToViewPoint(double& x, double& y) const;
    virtual ZylLiveSpace* getSpace() const;
    virtual void setSpace(ZylLiveSpace* liveSpace);
    juce::Colour getSelectedCellColour(const ZylCell* cell) override;
    juce::Colour getSoundingCellColour(const ZylCell* cell) override;
    juce::Colour getSelectedSoundingCellColour(const ZylCell* cell) override;
    // Presses or releases at the pointer while the space key is held or let go; false when the
    // view is not active.
    virtual bool checkSpaceBar();
    virtual bool isActive() const;
    virtual void setActive(bool flag);
    virtual bool getActivateOnHover() const;
    virtual void setActivateOnHover(bool flag);
    virtual int getViewIndex() const;
    virtual void setViewIndex(int index);
    virtual void updateTransform();
    // Fits the space's bounds plus the margins into the component, one scale for both axes,
    // centred, with the model's y axis pointing up. Without a space both transforms are identity.
    virtual void computeTransform(const ZylSpace* space);
    virtual const juce::AffineTransform& getModelToViewTransform() const;
    virtual const juce::AffineTransform& getViewToModelTransform() const;
    virtual void drawCell(const ZylCell* cell, const ZylSpace* space, juce::Graphics& g);
    virtual void addRectangleTile(juce::Path& path, const ZylTile* tile) const;
    virtual void addTile(juce::Path& path, const ZylTile* tile) const;
    virtual void drawCellLabels(const ZylCell* cell, const ZylSpace* space, juce::Graphics& g,
                                bool playable);
    virtual juce::Colour getFrameColour(const ZylCell* cell);
    virtual juce::Colour getCellColour(const ZylCell* cell);
    virtual juce::Colour getUnplayableCellColour(const ZylCell* cell);
    virtual juce::Colour getLabelColour(const ZylCell* cell);
    virtual juce::Colour getSubLabelColour(const ZylCell* cell);
    virtual juce::Colour getUnplayableLabelColour(const ZylCell* cell);
    virtual juce::Colour getUnplayableSubLabelColour(const ZylCell* cell);
    virtual const juce::Font& getLabelFont() const;
    virtual const juce::Font& getSubLabelFont() const;
    // Sizes the component to the space plus the margins at the zoom, and scales the fonts.
    virtual void updateSize();
    virtual ZylSpaceModule* getSpaceModule() const;
    virtual juce::String getCellLabel(const ZylCell* cell, bool playable);
    virtual juce::String getCellSubLabel(const ZylCell* cell, bool playable);
    virtual bool isCellPlayable(const ZylCell* cell);
    // The first shown cell (with a note, not hidden) in the space's order that contains the
    // model point; null when none does or there is no space.
    virtual ZylCell* cellAt(double x, double y);
    virtual void repaintCell(const ZylCell* cell);
    virtual void repaintCells(const std::vector<ZylCell*>& cells);
    // A press (down) triggers the cell under the view point; a release releases every sounding
    // cell unless the layer latches.
    virtual void pressAt(int x, int y, bool down, float velocity);
    // Presses the cell newly under the view point (and unpresses the previous one); with
    // buttonDown the press may also trigger it.
    virtual void moveTo(int x, int y, bool buttonDown);
    virtual ZylCellStates* getTrigger() const;
    virtual void spaceBarDown(float velocity);
    virtual void spaceBarUp();
    virtual bool getDrawOutlines() const;
    virtual void setDrawOutlines(bool flag);

    ZylCell* getHoveredCell() const noexcept { return hoveredCell; }
    bool isSpaceBarPressed() const noexcept { return spaceBarPressed; }
    int getLastX() const noexcept { return lastX; }
    int getLastY() const noexcept { return lastY; }

    void paint(juce::Graphics& g) override;
    void mouseMove(const juce::MouseEvent& e) override;
    void mouseEnter(const juce::MouseEvent& e) override;
    void mouseExit(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void parentHierarchyChanged() override;

    // The space key presses and releases at the pointer's cell while the view is active, and is
    // consumed then. The view listens on its own component and on its window's top component, so
    // the key works while the pointer is over the view whichever widget holds the focus.
    //
    // X repeats a held key as a release followed at once by a press, so the release of the space
    // bar waits kKeyRepeatWindowMs: a press of the space key within that time continues the
    // held press, and only a key still up when the time is over releases.
    static constexpr int kKeyRepeatWindowMs = 40;
    using juce::Component::keyPressed;
    using juce::Component::keyStateChanged;
    bool keyPressed(const juce::KeyPress& key, juce::Component* origin) override;
    bool keyStateChanged(bool isKeyDown, juce::Component* origin) override;
    bool isSpaceBarReleasePending() const { return isTimerRunning(); }
    // The end of the window: releases unless the space key is down again.
    void timerCallback() override;

    // The mouse actions, given the position relative to the view.
    void pointerEntered();
    void pointerExited();
    void pointerDown(int x, int y);
    void pointerUp(int x, int y);
    void pointerMoved(int x, int y);
    void pointerDragged(int x, int y);

protected:
    // Every repaint of the view goes through here.
    virtual void repaintRegion(juce::Rectangle<int> area);
    void repaintAll() { repaintRegion(getLocalBounds()); }

    // Whether a message's sender is the parameter (null never is).
    static bool isSender(const void* sender, const ZylParameter* parameter);

    // Recomputes activateOnHover from the space module's Trigger and On Click values.
    void applyHoverRule();

    // Drops the kept label layouts; a subclass calls it when the texts of its labels changed.
    void labelTextsChanged();

    // The pointer position relative to the view, for the space bar.
    virtual juce::Point<int> getPointerPosition() const;

    ZylLiveSpace* space = nullptr;
    int viewIndex = 0;
    bool drawOutlines = true;

private:
    // The laid-out texts of a cell's two labels and the cell's repaint area, kept between paints:
    // laying text out costs more than drawing it, and the repaint area is found by a walk over
    // the tiles. Valid while the cell, its note and bounds, its playability, the transform, the
    // fonts, the outlines, the space and the label texts stay as they were.
    struct LabelLayout
    {
        int note = 0;
        bool playable = false;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        juce::GlyphArrangement upper;
        juce::GlyphArrangement lower;
        // Where the glyphs reach, which may be beyond the cell on small cells.
        juce::Rectangle<int> extent;
        bool repaintAreaKnown = false;
        juce::Rectangle<int> repaintArea;
    };
    // A shown tile's view rectangle, the tiles reaching one model unit past their far bounds.
    struct TileSpan
    {
        double x1, y1, x2, y2;
    };
    LabelLayout& labelLayoutOf(const ZylCell* cell, bool playable);
    // The area a cell's drawing touches: its tiles, their outline and its labels' glyphs.
    juce::Rectangle<int> cellPaintArea(const ZylCell* cell);
    juce::Rectangle<int> cellPaintArea(const ZylCell* cell, const LabelLayout& layout) const;
    // The paint area widened so that a repaint of it draws what a whole paint draws.
    juce::Rectangle<int> cellRepaintArea(const ZylCell* cell);
    // Appends the cells that some layer shows lit; under the live space's lock.
    void collectLitCells(std::vector<ZylCell*>& cells) const;
    // Appends the dirty cells of both layers and clears their dirty sets; under the live space's
    // lock.
    void takeDirtyCells(std::vector<ZylCell*>& cells) const;
    // Makes room in the cell copies for every cell of the space in every set they copy.
    void reserveCellCopies();
    // Drops the kept label layouts, repaint areas and tile spans.
    void dropKeptLayouts();

    // The space the live space holds now, read under its lock; null without either.
    const ZylSpace* currentSpace() const;

    bool handleSpaceKey(bool down);
    void listenToTopComponent();

    std::unordered_map<const ZylCell*, LabelLayout> labelLayouts;
    juce::AffineTransform labelLayoutTransform;
    float labelLayoutFontHeights[2] = { 0.0f, 0.0f };
    bool labelLayoutOutlines = true;
    // The shown tiles of keptSpace by their left edge, made on the first repaint area needed.
    std::vector<TileSpan> tileSpans;
    bool tileSpansMade = false;
    const ZylSpace* keptSpace = nullptr;
    // The lit and dirty cells copied under the live space's lock, so that their repaint areas
    // are worked out after it is released; room for them is made when the space changes.
    std::vector<ZylCell*> litCells;
    std::vector<ZylCell*> dirtyCells;
    // The areas of the cells shown lit at the last cell-state message: they are repainted at the
    // next one, with those lit then, since copied chords mark no cell dirty.
    std::vector<juce::Rectangle<int>> litAreas;
    std::vector<juce::Rectangle<int>> nextLitAreas;

    juce::AffineTransform modelToView;
    juce::AffineTransform viewToModel;
    double zoom = 100.0;
    double horizontalMargin = 2.0;
    double verticalMargin = 2.0;
    juce::Font labelFont;
    juce::Font subLabelFont;
    ZylCell* hoveredCell = nullptr;
    bool spaceBarPressed = false;
    int lastX = -1;
    int lastY = -1;
    bool active = false;
    bool activateOnHover = true;
    juce::Colour selectedSoundingColour;
    juce::Colour soundingColour;
    juce::PathStrokeType thinStroke;
    juce::PathStrokeType thickStroke;
    juce::Component::SafePointer<juce::Component> topComponent;

    JUCE_DECLARE_NON_COPYABLE(ZylSpaceView)
};
