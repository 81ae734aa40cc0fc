#include "ui/ZylSpaceView.h"

#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "space/ZylCell.h"
#include "space/ZylCellTriggerDomain.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylOnClickDomain.h"
#include "space/ZylRectangleTile.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceDomainSet.h"
#include "space/ZylSpaceModule.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr int kSpaceKey = ' ';
} // namespace

ZylSpaceView::ZylSpaceView(ZylEditor* owner)
    : ZylView(owner),
      selectedSoundingColour(juce::Colours::orange.brighter(0.3f)),
      soundingColour(juce::Colours::orange.darker(0.1f)),
      thinStroke(1.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt),
      thickStroke(1.5f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt)
{
    name = "space";
    labelFont = juce::Font(11.5f, juce::Font::bold);
    subLabelFont = juce::Font(10.0f, juce::Font::plain);
    setWantsKeyboardFocus(true);
    addKeyListener(this);
}

ZylSpaceView::~ZylSpaceView()
{
    if (topComponent != nullptr && topComponent.getComponent() != this)
        topComponent->removeKeyListener(this);
    removeKeyListener(this);
}

// ---- messages

bool ZylSpaceView::handleMessage(void* sender, int code, int)
{
    if (space == nullptr)
        return false;

    const int event = zylMessageEvent(code);
    if (event == zylMessageEvent(kSpaceLayoutChanged))
    {
        updateSize();
        dropKeptLayouts();
        litAreas.clear();
        reserveCellCopies();
        repaintAll();
        return true;
    }
    if (event == zylMessageEvent(kCellStatesChanged))
    {
        // Only what may look different is repainted: the cells lit at the last message and now,
        // and the cells marked dirty. The audio thread takes the lock for every block, so under
        // it the cells are only copied.
        updateTransform();
        litCells.clear();
        dirtyCells.clear();
        {
            const juce::ScopedLock sl(space->getLock());
            collectLitCells(litCells);
            takeDirtyCells(dirtyCells);
        }
        // The space's cells, their tiles and its bounds are made when the space is built and
        // the live space's space is replaced only by the space module's messages, all on this
        // thread: the repaint areas are worked out from them without the lock.
        nextLitAreas.clear();
        for (auto* cell : litCells)
            nextLitAreas.push_back(cellRepaintArea(cell));
        for (const auto& area : litAreas)
            repaintRegion(area);
        for (const auto& area : nextLitAreas)
            repaintRegion(area);
        litAreas.swap(nextLitAreas);
        repaintCells(dirtyCells);
        return true;
    }
    if (event == zylMessageEvent(kSpaceViewActivated))
    {
        if (zylMessageLowByte(code) != viewIndex)
            setActive(false);
        return true;
    }
    auto* module = getSpaceModule();
    if (module != nullptr && isSender(sender, module->getOnClickParameter()))
    {
        applyHoverRule();
        return true;
    }
    return false;
}

bool ZylSpaceView::isSender(const void* sender, const ZylParameter* parameter)
{
    return parameter != nullptr && sender != nullptr && sender == parameter->asSender();
}

void ZylSpaceView::applyHoverRule()
{
    auto* module = getSpaceModule();
    if (module == nullptr)
        return;
    auto* domains = module->getDomainSet();
    auto* triggerParameter = module->getTriggerParameter();
    auto* onClickParameter = module->getOnClickParameter();
    if (domains == nullptr || triggerParameter == nullptr || onClickParameter == nullptr)
        return;
    auto* triggers = domains->getCellTriggerDomain();
    auto* onClicks = domains->getOnClickDomain();
    const ZylValue* trigger = triggerParameter->getValueObject();
    const ZylValue* onClick = onClickParameter->getValueObject();
    const bool clicking = trigger != nullptr
                          && (trigger == triggers->getMouseClValue() || trigger == triggers->getMidiClkValue());
    activateOnHover = !(clicking && onClick != nullptr && onClick == onClicks->getTrHoldValue());
}

// ---- settings

void ZylSpaceView::setZoom(double percent)
{
    zoom = percent;
    updateSize();
}

double ZylSpaceView::getZoom() const { return zoom; }
double ZylSpaceView::getHorizontalMargin() const { return horizontalMargin; }
double ZylSpaceView::getVerticalMargin() const { return verticalMargin; }
void ZylSpaceView::setHorizontalMargin(double cells) { horizontalMargin = cells; }
void ZylSpaceView::setVerticalMargin(double cells) { verticalMargin = cells; }
ZylLiveSpace* ZylSpaceView::getSpace() const { return space; }

void ZylSpaceView::setSpace(ZylLiveSpace* liveSpace)
{
    space = liveSpace;
    dropKeptLayouts();
    litAreas.clear();
    reserveCellCopies();
    updateSize();
}

juce::Colour ZylSpaceView::getSelectedCellColour(const ZylCell*) { return juce::Colour(0xffd3d3d3); }
juce::Colour ZylSpaceView::getSoundingCellColour(const ZylCell*) { return soundingColour; }
juce::Colour ZylSpaceView::getSelectedSoundingCellColour(const ZylCell*) { return selectedSoundingColour; }
bool ZylSpaceView::getActivateOnHover() const { return activateOnHover; }
void ZylSpaceView::setActivateOnHover(bool flag) { activateOnHover = flag; }
int ZylSpaceView::getViewIndex() const { return viewIndex; }
void ZylSpaceView::setViewIndex(int index) { viewIndex = index; }
bool ZylSpaceView::getDrawOutlines() const { return drawOutlines; }
void ZylSpaceView::setDrawOutlines(bool flag) { drawOutlines = flag; }
juce::Colour ZylSpaceView::getFrameColour(const ZylCell*) { return juce::Colour(0xff555555); }
juce::Colour ZylSpaceView::getCellColour(const ZylCell*) { return juce::Colour(0xfff5f5f5); }
juce::Colour ZylSpaceView::getUnplayableCellColour(const ZylCell*) { return juce::Colour(0xff808080); }
juce::Colour ZylSpaceView::getLabelColour(const ZylCell*) { return juce::Colour(0xff000000); }
juce::Colour ZylSpaceView::getSubLabelColour(const ZylCell*) { return juce::Colour(0xff000000); }
juce::Colour ZylSpaceView::getUnplayableLabelColour(const ZylCell*) { return juce::Colour(0xff808080); }
juce::Colour ZylSpaceView::getUnplayableSubLabelColour(const ZylCell*) { return juce::Colour(0xff808080); }
const juce::Font& ZylSpaceView::getLabelFont() const { return labelFont; }
const juce::Font& ZylSpaceView::getSubLabelFont() const { return subLabelFont; }
juce::String ZylSpaceView::getCellLabel(const ZylCell*, bool) { return {}; }
juce::String ZylSpaceView::getCellSubLabel(const ZylCell*, bool) { return {}; }

bool ZylSpaceView::isCellPlayable(const ZylCell* cell)
{
    return cell != nullptr && cell->isPlayable();
}

ZylSpaceModule* ZylSpaceView::getSpaceModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? dynamic_cast<ZylSpaceModule*>(container->getModule(ZylSpaceModule::kModuleId))
                                : nullptr;
}

ZylCellStates* ZylSpaceView::getTrigger() const
{
    if (space == nullptr)
        return nullptr;
    const juce::ScopedLock sl(space->getLock());
    return space->getPrimaryStates();
}

// ---- geometry

void ZylSpaceView::viewToModelRect(double& x1, double& y1, double& x2, double& y2) const
{
    viewToModelPoint(x1, y1);
    viewToModelPoint(x2, y2);
    std::swap(y1, y2);
}

void ZylSpaceView::viewToModelPoint(double& x, double& y) const
{
    viewToModel.transformPoint(x, y);
}

void ZylSpaceView::modelToViewRect(double& x1, double& y1, double& x2, double& y2) const
{
    modelToViewPoint(x1, y1);
    modelToViewPoint(x2, y2);
    std::swap(y1, y2);
}

void ZylSpaceView::modelToViewPoint(double& x, double& y) const
{
    modelToView.transformPoint(x, y);
}

const ZylSpace* ZylSpaceView::currentSpace() const
{
    if (space == nullptr)
        return nullptr;
    const juce::ScopedLock sl(space->getLock());
    return space->getSpace();
}

void ZylSpaceView::updateTransform()
{
    computeTransform(currentSpace());
}

void ZylSpaceView::computeTransform(const ZylSpace* s)
{
    if (s == nullptr)
    {
        modelToView = juce::AffineTransform();
        viewToModel = juce::AffineTransform();
        return;
    }
    const auto& b = s->getBounds();
    const float ex = static_cast<float>(b.x2 - b.x1 + 1.0);
    const float ey = static_cast<float>(b.y2 - b.y1 + 1.0);
    const float w = static_cast<float>(getWidth());
    const float h = static_cast<float>(getHeight());
    const float hm = static_cast<float>(horizontalMargin);
    const float vm = static_cast<float>(verticalMargin);
    const float scale = std::min(w / (ex + 2.0f * hm), h / (ey + 2.0f * vm));
    const float dx = std::floor((w - ex * scale) / 2.0f);
    const float dy = std::floor((h - ey * scale) / 2.0f);
    modelToView = juce::AffineTransform(scale, 0.0f, dx, 0.0f, -scale, h - dy);
    viewToModel = modelToView.inverted();
}

const juce::AffineTransform& ZylSpaceView::getModelToViewTransform() const { return modelToView; }
const juce::AffineTransform& ZylSpaceView::getViewToModelTransform() const { return viewToModel; }

void ZylSpaceView::updateSize()
{
    const ZylSpace* s = currentSpace();
    if (s == nullptr)
        return;
    const auto& b = s->getBounds();
    const float z = static_cast<float>(zoom / 100.0);
    const double ex = b.x2 - b.x1 + 1.0;
    const double ey = b.y2 - b.y1 + 1.0;
    const int w = static_cast<int>((2.0 * horizontalMargin + ex) * z);
    const int h = static_cast<int>((2.0 * verticalMargin + ey) * z);
    setSize(w, h);
    labelFont = juce::Font(11.5f * z, juce::Font::bold);
    subLabelFont = juce::Font(10.0f * z, juce::Font::plain);
}

ZylCell* ZylSpaceView::cellAt(double x, double y)
{
    const ZylSpace* s = currentSpace();
    if (s == nullptr)
        return nullptr;
    computeTransform(s);
    // The cell list changes only on the message thread, so it is read without the lock.
    for (const auto& cell : s->getCells())
        if (cell->hasNote() && !cell->isHidden() && cell->hitTest(x, y))
            return cell.get();
    return nullptr;
}

// ---- drawing

void ZylSpaceView::paint(juce::Graphics& g)
{
    draw(g);
}

void ZylSpaceView::draw(juce::Graphics& g)
{
    const ZylSpace* s = currentSpace();
    if (s == nullptr)
        return;
    updateTransform();

    // A cell whose drawing reaches into the clip is drawn, even when only its outline or a
    // label's overhang does, so that a partial repaint leaves what a whole one would.
    for (const auto& cell : s->getCells())
    {
        if (!cell->hasNote() || cell->isHidden())
            continue;
        if (!g.clipRegionIntersects(cellPaintArea(cell.get())))
            continue;
        drawCell(cell.get(), s, g);
    }
}

juce::Rectangle<int> ZylSpaceView::cellPaintArea(const ZylCell* cell)
{
    return cellPaintArea(cell, labelLayoutOf(cell, isCellPlayable(cell)));
}

juce::Rectangle<int> ZylSpaceView::cellPaintArea(const ZylCell* cell, const LabelLayout& layout) const
{
    const auto& b = cell->getBounds();
    double vx1 = b.x1, vy1 = b.y1, vx2 = b.x2, vy2 = b.y2;
    modelToViewRect(vx1, vy1, vx2, vy2);
    const juce::Rectangle<int> cellArea(static_cast<int>(vx1), static_cast<int>(vy1) - 1,
                                        static_cast<int>(vx2 - vx1) + 1, static_cast<int>(vy2 - vy1) + 1);
    // The tiles reach one model unit past the far bounds, the outline half its width beyond
    // (rounded out to whole pixels below).
    double tx1 = b.x1, ty1 = b.y1, tx2 = b.x2 + 1.0, ty2 = b.y2 + 1.0;
    modelToViewRect(tx1, ty1, tx2, ty2);
    const double scale = std::max(1.0, std::abs(static_cast<double>(modelToView.mat00)));
    const double margin = drawOutlines ? thickStroke.getStrokeThickness() * 0.5 * scale : 0.0;
    const auto tiles = juce::Rectangle<double>::leftTopRightBottom(tx1, ty1, tx2, ty2)
                           .expanded(margin)
                           .getSmallestIntegerContainer();
    return cellArea.getUnion(tiles).getUnion(layout.extent);
}

juce::Rectangle<int> ZylSpaceView::cellRepaintArea(const ZylCell* cell)
{
    const ZylSpace* s = currentSpace();
    if (s != keptSpace)
    {
        dropKeptLayouts();
        keptSpace = s;
    }
    auto& layout = labelLayoutOf(cell, isCellPlayable(cell));
    if (layout.repaintAreaKnown)
        return layout.repaintArea;

    auto area = cellPaintArea(cell, layout);
    if (s != nullptr)
    {
        if (!tileSpansMade)
        {
            tileSpans.clear();
            for (const auto& other : s->getCells())
            {
                if (!other->hasNote() || other->isHidden())
                    continue;
                for (const auto& tile : other->getTiles())
                {
                    const auto& t = tile->getBounds();
                    TileSpan span { t.x1, t.y1, t.x2 + 1.0, t.y2 + 1.0 };
                    modelToViewRect(span.x1, span.y1, span.x2, span.y2);
                    tileSpans.push_back(span);
                }
            }
            std::stable_sort(tileSpans.begin(), tileSpans.end(),
                             [](const TileSpan& a, const TileSpan& b) { return a.x1 < b.x1; });
            tileSpansMade = true;
        }
        // Where the right edge of a repainted area cuts through a fill, JUCE draws the last
        // column a shade off what a whole paint gives; the edge moves right past every tile it
        // would cut. Tiles are met by their left edge: once one starts at or past the edge, no
        // later one can cut it, and a tile passed without cutting never cuts it later.
        const auto top = static_cast<double>(area.getY());
        const auto bottom = static_cast<double>(area.getBottom());
        for (const auto& t : tileSpans)
        {
            const auto right = static_cast<double>(area.getRight());
            if (t.x1 >= right)
                break;
            if (t.x2 > right && t.y1 < bottom && t.y2 > top)
                area.setRight(static_cast<int>(std::ceil(t.x2)));
        }
    }
    layout.repaintArea = area;
    layout.repaintAreaKnown = true;
    return area;
}

void ZylSpaceView::collectLitCells(std::vector<ZylCell*>& cells) const
{
    const auto& layers = space->getStates();
    const auto add = [&](const ZylCellSet& set) {
        for (auto* cell : set.getCells())
            if (cell != nullptr)
                cells.push_back(cell);
    };
    for (const auto& layer : layers)
    {
        if (layer == nullptr)
            continue;
        add(layer->getActiveSounding());
        add(layer->getActiveSelected());
    }
    if (!layers.empty() && layers.front() != nullptr)
    {
        add(layers.front()->getSounding());
        add(layers.front()->getSelected());
    }
}

void ZylSpaceView::takeDirtyCells(std::vector<ZylCell*>& cells) const
{
    for (auto* layer : { space->getSecondaryStates(), space->getPrimaryStates() })
    {
        if (layer == nullptr)
            continue;
        const auto& dirty = layer->getDirty().getCells();
        cells.insert(cells.end(), dirty.begin(), dirty.end());
        layer->getDirty().clear();
    }
}

void ZylSpaceView::reserveCellCopies()
{
    if (space == nullptr)
        return;
    std::size_t numCells = 0;
    std::size_t numLayers = 0;
    {
        const juce::ScopedLock sl(space->getLock());
        if (auto* s = space->getSpace())
            numCells = s->getCells().size();
        numLayers = space->getStates().size();
    }
    // Each layer's two active sets, the first layer's sounding and selected sets; the dirty sets
    // of two layers.
    litCells.reserve(numCells * (2 * numLayers + 2));
    dirtyCells.reserve(numCells * 2);
}

void ZylSpaceView::dropKeptLayouts()
{
    labelLayouts.clear();
    tileSpans.clear();
    tileSpansMade = false;
}

void ZylSpaceView::labelTextsChanged()
{
    dropKeptLayouts();
}

ZylSpaceView::LabelLayout& ZylSpaceView::labelLayoutOf(const ZylCell* cell, bool playable)
{
    if (!(labelLayoutTransform == modelToView) || labelLayoutFontHeights[0] != labelFont.getHeight()
        || labelLayoutFontHeights[1] != subLabelFont.getHeight() || labelLayoutOutlines != drawOutlines)
    {
        dropKeptLayouts();
        labelLayoutTransform = modelToView;
        labelLayoutFontHeights[0] = labelFont.getHeight();
        labelLayoutFontHeights[1] = subLabelFont.getHeight();
        labelLayoutOutlines = drawOutlines;
    }
    const auto& b = cell->getBounds();
    auto found = labelLayouts.find(cell);
    if (found != labelLayouts.end() && found->second.note == cell->getNote() && found->second.playable == playable
        && found->second.x1 == b.x1 && found->second.y1 == b.y1 && found->second.x2 == b.x2
        && found->second.y2 == b.y2)
        return found->second;

    auto& layout = labelLayouts[cell];
    layout.note = cell->getNote();
    layout.playable = playable;
    layout.repaintAreaKnown = false;
    layout.x1 = b.x1;
    layout.y1 = b.y1;
    layout.x2 = b.x2;
    layout.y2 = b.y2;

    double vx1 = b.x1, vy1 = b.y1, vx2 = b.x2, vy2 = b.y2;
    modelToViewRect(vx1, vy1, vx2, vy2);
    const double w = vx2 - vx1;
    const double h = vy2 - vy1;
    // One fitted line each, as Graphics::drawFittedText lays it out.
    const auto layOut = [](juce::GlyphArrangement& arrangement, const juce::String& text, const juce::Font& font,
                           juce::Rectangle<int> box, juce::Justification justification) {
        arrangement.clear();
        if (text.isEmpty() || box.isEmpty())
            return;
        const auto area = box.toFloat();
        arrangement.addFittedText(font, text, area.getX(), area.getY(), area.getWidth(), area.getHeight(),
                                  justification, 1, 0.7f);
    };
    layOut(layout.upper, getCellLabel(cell, playable), labelFont,
           { static_cast<int>(vx1), static_cast<int>(vy1 + 2.0) - 1, static_cast<int>(w), static_cast<int>(h * 0.5) },
           juce::Justification::centredBottom);
    layOut(layout.lower, getCellSubLabel(cell, playable), subLabelFont,
           { static_cast<int>(vx1), static_cast<int>(vy1) - static_cast<int>(-h * 0.5) + 1, static_cast<int>(w),
             static_cast<int>(h * 0.5) },
           juce::Justification::centredTop);
    const auto glyphs = layout.upper.getBoundingBox(0, -1, true).getUnion(layout.lower.getBoundingBox(0, -1, true));
    layout.extent = glyphs.isEmpty() ? juce::Rectangle<int>() : glyphs.getSmallestIntegerContainer().expanded(1);
    return layout;
}

void ZylSpaceView::addRectangleTile(juce::Path& path, const ZylTile* tile) const
{
    const auto& b = tile->getBounds();
    path.addRectangle(static_cast<float>(b.x1), static_cast<float>(b.y1),
                      static_cast<float>(b.x2 - b.x1 + 1.0), static_cast<float>(b.y2 - b.y1 + 1.0));
}

void ZylSpaceView::addTile(juce::Path& path, const ZylTile* tile) const
{
    if (dynamic_cast<const ZylRectangleTile*>(tile) != nullptr)
        addRectangleTile(path, tile);
}

void ZylSpaceView::drawCell(const ZylCell* cell, const ZylSpace* cellSpace, juce::Graphics& g)
{
    juce::Path path;
    for (const auto& tile : cell->getTiles())
        addTile(path, tile.get());

    const auto& b = cell->getBounds();
    double vx1 = b.x1, vy1 = b.y1, vx2 = b.x2, vy2 = b.y2;
    modelToViewRect(vx1, vy1, vx2, vy2);

    const bool playable = isCellPlayable(cell);
    bool coloured = false;
    bool firstSounding = false;
    bool firstSelected = false;
    juce::Colour fill;
    {
        const juce::ScopedLock sl(space->getLock());
        const auto& layers = space->getStates();
        // The walk runs backwards so that the first layer that has the cell decides its colour.
        for (auto it = layers.rbegin(); it != layers.rend(); ++it)
        {
            auto* layer = it->get();
            if (layer == nullptr)
                continue;
            if (layer->getActiveSounding().contains(cell))
            {
                if (layer->getActiveSelected().contains(cell))
                    layer->getSelectedSoundingColour(fill, cell, this);
                else
                    layer->getSoundingColour(fill, cell, this);
                coloured = true;
            }
            else if (layer->getActiveSelected().contains(cell))
            {
                layer->getSelectedColour(fill, cell, this);
                coloured = true;
            }
        }
        if (!layers.empty() && layers.front() != nullptr)
        {
            firstSounding = layers.front()->getSounding().contains(cell);
            firstSelected = layers.front()->getSelected().contains(cell);
        }
    }

    if (coloured)
        g.setColour(fill);
    else if (playable)
    {
        const auto base = getCellColour(cell);
        g.setGradientFill(juce::ColourGradient(base.brighter(0.1f), static_cast<float>(vx1),
                                               static_cast<float>(vy1), base.darker(0.3f),
                                               static_cast<float>(vx1), static_cast<float>(vy2),
                                               false));
    }
    else
        g.setColour(getUnplayableCellColour(cell));
    g.fillPath(path, modelToView);

    // Cells outside the scale are labelled too: the texts that do not depend on the scale show
    // there, the others are empty.
    drawCellLabels(cell, cellSpace, g, playable);

    if (drawOutlines)
    {
        if (firstSounding)
        {
            g.setColour(juce::Colour(0xffffffff));
            g.strokePath(path, thickStroke, modelToView);
        }
        else if (firstSelected)
        {
            g.setColour(juce::Colour(0xff555555));
            g.strokePath(path, thinStroke, modelToView);
        }
    }
}

void ZylSpaceView::drawCellLabels(const ZylCell* cell, const ZylSpace*, juce::Graphics& g, bool playable)
{
    const auto& layout = labelLayoutOf(cell, playable);
    const bool cellPlayable = cell->isPlayable();
    if (layout.upper.getNumGlyphs() > 0)
    {
        g.setColour(cellPlayable ? getLabelColour(cell) : getUnplayableLabelColour(cell));
        layout.upper.draw(g);
    }
    if (layout.lower.getNumGlyphs() > 0)
    {
        g.setColour(cellPlayable ? getSubLabelColour(cell) : getUnplayableSubLabelColour(cell));
        layout.lower.draw(g);
    }
}

// ---- repainting

void ZylSpaceView::repaintRegion(juce::Rectangle<int> area)
{
    repaint(area);
}

void ZylSpaceView::repaintCell(const ZylCell* cell)
{
    if (cell == nullptr)
        return;
    repaintRegion(cellRepaintArea(cell));
}

void ZylSpaceView::repaintCells(const std::vector<ZylCell*>& cells)
{
    for (auto* cell : cells)
        if (cell != nullptr)
            repaintCell(cell);
}

// ---- playing

void ZylSpaceView::pressAt(int x, int y, bool down, float velocity)
{
    auto* states = getTrigger();
    if (states != nullptr)
    {
        if (down)
        {
            double mx = x, my = y;
            viewToModelPoint(mx, my);
            if (auto* cell = cellAt(mx, my))
            {
                const juce::ScopedLock sl(space->getLock());
                states->trigger(cell, velocity);
            }
        }
        else
        {
            const juce::ScopedLock sl(space->getLock());
            if (!states->isLatch())
                states->releaseAll();
        }
        // The dirty set stays: the space module's answer clears it.
        dirtyCells.clear();
        {
            const juce::ScopedLock sl(space->getLock());
            const auto& dirty = states->getDirty().getCells();
            dirtyCells.insert(dirtyCells.end(), dirty.begin(), dirty.end());
        }
        repaintCells(dirtyCells);
    }
    lastX = x;
    lastY = y;
}

void ZylSpaceView::moveTo(int x, int y, bool buttonDown)
{
    if (x == lastX && y == lastY)
        return;
    if (auto* states = getTrigger())
    {
        double mx = x, my = y;
        viewToModelPoint(mx, my);
        auto* cell = cellAt(mx, my);
        dirtyCells.clear();
        {
            const juce::ScopedLock sl(space->getLock());
            if (cell != hoveredCell)
            {
                if (hoveredCell != nullptr)
                {
                    states->unpress(hoveredCell);
                    hoveredCell = nullptr;
                }
                if (cell != nullptr)
                {
                    states->press(cell, buttonDown);
                    hoveredCell = cell;
                }
            }
            const auto& dirty = states->getDirty().getCells();
            dirtyCells.insert(dirtyCells.end(), dirty.begin(), dirty.end());
        }
        repaintCells(dirtyCells);
    }
    lastX = x;
    lastY = y;
}

// ---- activity

bool ZylSpaceView::isActive() const { return active; }

void ZylSpaceView::setActive(bool flag)
{
    active = flag;
    if (flag)
        if (auto* module = getSpaceModule())
            if (auto* command = module->getCommandParameter())
                command->sendMessage(kSpaceViewActivated + (viewIndex & 0xff));
    repaintAll();
}

// ---- mouse

void ZylSpaceView::pointerEntered()
{
    if (!active)
    {
        if (!activateOnHover)
            return;
        setActive(true);
    }
    if (space != nullptr)
    {
        const juce::ScopedLock sl(space->getLock());
        if (auto* states = space->getPrimaryStates())
            states->viewEntered();
    }
}

void ZylSpaceView::pointerExited()
{
    if (!active)
        return;
    if (space != nullptr)
    {
        const juce::ScopedLock sl(space->getLock());
        if (auto* states = space->getPrimaryStates())
            states->reset();
    }
    hoveredCell = nullptr;
    spaceBarPressed = false;
    stopTimer();
    // The reset marks nothing dirty: the cells it cleared are repainted with the whole view, so
    // that no stale highlight stays while no audio runs to report the change.
    repaintAll();
}

void ZylSpaceView::pointerDown(int x, int y)
{
    if (!active)
        setActive(true);
    pressAt(x, y, true, kClickVelocity);
}

void ZylSpaceView::pointerUp(int x, int y)
{
    if (active)
        pressAt(x, y, false, 0.0f);
}

void ZylSpaceView::pointerMoved(int x, int y)
{
    if (active)
        moveTo(x, y, spaceBarPressed);
}

void ZylSpaceView::pointerDragged(int x, int y)
{
    if (active)
        moveTo(x, y, true);
}

void ZylSpaceView::mouseEnter(const juce::MouseEvent&) { pointerEntered(); }
void ZylSpaceView::mouseExit(const juce::MouseEvent&) { pointerExited(); }
void ZylSpaceView::mouseDown(const juce::MouseEvent& e) { pointerDown(e.x, e.y); }
void ZylSpaceView::mouseUp(const juce::MouseEvent& e) { pointerUp(e.x, e.y); }
void ZylSpaceView::mouseMove(const juce::MouseEvent& e) { pointerMoved(e.x, e.y); }
void ZylSpaceView::mouseDrag(const juce::MouseEvent& e) { pointerDragged(e.x, e.y); }

// ---- space bar

juce::Point<int> ZylSpaceView::getPointerPosition() const
{
    return getMouseXYRelative();
}

void ZylSpaceView::spaceBarDown(float velocity)
{
    if (spaceBarPressed)
        return;
    spaceBarPressed = true;
    const auto p = getPointerPosition();
    pressAt(p.x, p.y, true, velocity);
}

void ZylSpaceView::spaceBarUp()
{
    if (!spaceBarPressed)
        return;
    spaceBarPressed = false;
    const auto p = getPointerPosition();
    pressAt(p.x, p.y, false, 0.0f);
}

bool ZylSpaceView::handleSpaceKey(bool down)
{
    if (!active)
        return false;
    if (down)
    {
        stopTimer();
        spaceBarDown(kClickVelocity);
    }
    else if (spaceBarPressed)
    {
        stopTimer();
        spaceBarUp();
    }
    return true;
}

bool ZylSpaceView::checkSpaceBar()
{
    return handleSpaceKey(juce::KeyPress::isKeyCurrentlyDown(kSpaceKey));
}

bool ZylSpaceView::keyPressed(const juce::KeyPress& key, juce::Component*)
{
    if (key.getKeyCode() != kSpaceKey || key.getModifiers().isAnyModifierKeyDown())
        return false;
    return handleSpaceKey(true);
}

bool ZylSpaceView::keyStateChanged(bool, juce::Component*)
{
    // Only the release of a press the space bar started is ours; other keys pass on.
    if (!spaceBarPressed || !active || juce::KeyPress::isKeyCurrentlyDown(kSpaceKey))
        return false;
    if (!isTimerRunning())
        startTimer(kKeyRepeatWindowMs);
    return true;
}

void ZylSpaceView::timerCallback()
{
    stopTimer();
    if (!juce::KeyPress::isKeyCurrentlyDown(kSpaceKey))
        spaceBarUp();
}

void ZylSpaceView::parentHierarchyChanged()
{
    listenToTopComponent();
}

void ZylSpaceView::listenToTopComponent()
{
    auto* top = getTopLevelComponent();
    if (top == topComponent.getComponent())
        return;
    if (topComponent != nullptr && topComponent.getComponent() != this)
        topComponent->removeKeyListener(this);
    topComponent = top;
    if (top != nullptr && top != this)
        top->addKeyListener(this);
}
