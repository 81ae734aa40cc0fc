#include "ui/ZylChordView.h"

#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "space/ZylSpaceModule.h"

namespace
{
// The chord name of a chord the vocabulary could not name; it is not shown.
const juce::String kUnnamedChord("U");

juce::String toText(const std::wstring& text) { return juce::String(text.c_str()); }
} // namespace

ZylChordView::ZylChordView(ZylEditor* owner)
    : ZylStatusView(owner, 255, 35),
      rootFont(15.5f, juce::Font::bold),
      typeFont(11.5f, juce::Font::bold),
      lastColour(juce::Colours::orange.darker(0.1f)),
      nextColour(juce::Colour(0xfff5f5f5).darker(0.1f))
{
    setPreferredWidth(240);
    setPreferredHeight(23);
    spaceModule = getSpaceModule();
    if (spaceModule != nullptr)
        spaceModule->addParameterSink(this, false);
}

ZylChordView::~ZylChordView()
{
    if (spaceModule != nullptr)
        spaceModule->removeParameterSink(this, false);
}

ZylSpaceModule* ZylChordView::getSpaceModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? dynamic_cast<ZylSpaceModule*>(container->getModule(ZylSpaceModule::kModuleId))
                                : nullptr;
}

int ZylChordView::getChordTypeX(const juce::String& rootName, bool next)
{
    const int x = next ? 166 : 52;
    return rootName.length() < 2 ? x : x + 12;
}

bool ZylChordView::handleMessage(void* sender, int code, int timeMs)
{
    if (zylMessageEvent(code) == zylMessageEvent(kCellStatesChanged))
    {
        refresh();
        return true;
    }
    return ZylStatusView::handleMessage(sender, code, timeMs);
}

void ZylChordView::refresh()
{
    if (spaceModule == nullptr)
    {
        repaint();
        return;
    }
    const auto shown = [](const std::wstring& chordName) {
        auto text = toText(chordName);
        return text == kUnnamedChord ? juce::String() : text;
    };
    auto lastChord = shown(spaceModule->getLastChordName());
    auto nextChord = shown(spaceModule->getNextChordName());
    auto lastRoot = toText(spaceModule->getLastRootName());
    auto nextRoot = toText(spaceModule->getNextRootName());
    // The view is refreshed on every transport tick, beat and bar, most of them with the same
    // chords as before: those leave the pixels as they are, and the idle program does not paint.
    if (lastChord == lastChordName && nextChord == nextChordName && lastRoot == lastRootName
        && nextRoot == nextRootName)
        return;
    lastChordName = std::move(lastChord);
    nextChordName = std::move(nextChord);
    lastRootName = std::move(lastRoot);
    nextRootName = std::move(nextRoot);
    repaint();
}

void ZylChordView::paintOverChildren(juce::Graphics& g)
{
    ZylStatusView::paintOverChildren(g);

    g.setFont(getLookAndFeel().getPopupMenuFont());
    g.setColour(lastColour.darker(0.4f));
    g.drawFittedText("last", 15, 1, 80, 20, juce::Justification::left, 1, 0.7f);
    g.setColour(nextColour.darker(0.4f));
    g.drawFittedText("next", 125, 1, 80, 20, juce::Justification::left, 1, 0.7f);

    const auto drawChord = [&](const juce::String& root, const juce::String& type, int rootX, bool next) {
        if (root.isNotEmpty())
        {
            g.setFont(rootFont);
            g.drawFittedText(root, rootX, 3, 72, 16, juce::Justification::bottomLeft, 1, 0.7f);
        }
        if (type.isNotEmpty())
        {
            g.setFont(typeFont);
            g.drawFittedText(type, getChordTypeX(root, next), 3, 72, 15, juce::Justification::bottomLeft, 1, 0.7f);
        }
    };
    g.setColour(lastColour);
    drawChord(lastRootName, lastChordName, 41, false);
    g.setColour(nextColour);
    drawChord(nextRootName, nextChordName, 155, true);
}
