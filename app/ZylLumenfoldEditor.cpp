#include "app/ZylLumenfoldEditor.h"

#include "app/ZylLumenfoldLookAndFeel.h"
#include "framework/ZylFilter.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "resources/ZylEmbeddedArchive.h"
#include "ui/ZylArtArchives.h"
#include "ui/ZylCachedDrawables.h"
#include "ui/ZylCachedSVG.h"
#include "ui/ZylGridPanel.h"
#include "ui/ZylGridView.h"
#include "ui/ZylGuiHelpers.h"
#include "ui/ZylHeaderPanel.h"
#include "ui/ZylHelpModule.h"
#include "ui/ZylHelpPanel.h"
#include "ui/ZylMidiPanel.h"
#include "ui/ZylPianoPanel.h"
#include "ui/ZylSpacePanel.h"
#include "ui/ZylSynthPanel.h"

#include <initializer_list>

namespace
{
constexpr int kRootModuleId = 2;

// Where the drawings go over the panels.
constexpr float kAppLogoScaleX = 0.4f;
constexpr float kAppLogoScaleY = 0.3f;
constexpr float kAppLogoX = 11.0f;
constexpr float kAppLogoY = 15.0f;
constexpr float kVendorLogoScale = 0.22f;
constexpr int kVendorLogoFromRight = 100;
constexpr int kVendorLogoFromBottom = 35;
constexpr float kVersionX = 123.0f;
constexpr float kVersionY = 13.0f;

// Puts an SVG member of the About-and-Help archive into the container's drawable cache under
// key, unless the key is taken already (a second editor of the same processor).
void cacheAboutArt(ZylModuleContainer& container, const juce::String& key, const char* member)
{
    const auto archive = ZylEmbeddedArchive::find(ZylArtArchives::kAboutAndHelp);
    auto& cache = ZylCachedDrawables::of(container);
    auto entry = std::make_unique<ZylCachedSVG>(archive.getData(), archive.getSize(), member);
    if (cache.add(key, entry.get()) == entry.get())
        entry.release();
}
} // namespace

juce::Colour ZylLumenfoldEditor::versionColour()
{
    return juce::Colour(255, 215, 0).darker(0.3f);
}

ZylLumenfoldEditor::ZylLumenfoldEditor(ZylFilter& owner) : ZylEditor(owner)
{
    if (dynamic_cast<ZylLumenfoldLookAndFeel*>(&juce::LookAndFeel::getDefaultLookAndFeel())
        == nullptr)
    {
        ownLookAndFeel = std::make_unique<ZylLumenfoldLookAndFeel>();
        juce::LookAndFeel::setDefaultLookAndFeel(ownLookAndFeel.get());
    }

    tooltips = std::make_unique<ZylTooltipHost>(*this);

    vendorLogo = createDrawableFromArchive(ZylArtArchives::kInterfaceArt, "vendorlogo.svg");
    appLogo = createDrawableFromArchive(ZylArtArchives::kAboutAndHelp, "applogo.svg");

    versionText = std::make_unique<juce::DrawableText>();
    versionText->setFont(juce::Font(kVersionFontHeight, juce::Font::bold), true);
    versionText->setText(getVersionText());
    versionText->setColour(versionColour());

    headerPanel = std::make_unique<ZylHeaderPanel>(this);
    midiPanel = std::make_unique<ZylMidiPanel>(this, kRightColumnWidth);
    synthPanel = std::make_unique<ZylSynthPanel>(this, kRightColumnWidth);
    spacePanel = std::make_unique<ZylSpacePanel>(this);
    gridPanel = std::make_unique<ZylGridPanel>(this);
    pianoPanel = std::make_unique<ZylPianoPanel>(this);
    for (juce::Component* panel : std::initializer_list<juce::Component*> {
             headerPanel.get(), midiPanel.get(), synthPanel.get(), spacePanel.get(),
             gridPanel.get(), pianoPanel.get() })
        addAndMakeVisible(panel);

    setUpHelp();
    fitToContent();
    owner.addSink(this);

    if (auto* view = gridPanel->getSpaceView())
        view->setActive(true);
}

ZylLumenfoldEditor::~ZylLumenfoldEditor()
{
    if (ownLookAndFeel != nullptr)
    {
        juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
        ownLookAndFeel.reset();
    }
    // A later editor may have handed the help module its own panel; that one stays.
    if (auto* help = getHelpModule())
        if (help->getHelpPanel() == helpPanel.get())
            help->setHelpPanel(nullptr);
    if (auto* owner = getFilter())
        owner->removeSink(this);

    // The panels from the last added to the first, then the drawings, the tooltip window and
    // the help panel.
    removeAllChildren();
    pianoPanel.reset();
    gridPanel.reset();
    spacePanel.reset();
    synthPanel.reset();
    midiPanel.reset();
    headerPanel.reset();
    vendorLogo.reset();
    appLogo.reset();
    versionText.reset();
    tooltips.reset();
    helpPanel.reset();
}

ZylHelpModule* ZylLumenfoldEditor::getHelpModule() const
{
    auto* owner = getFilter();
    auto* container = owner != nullptr ? owner->getModuleContainer() : nullptr;
    return container != nullptr
               ? dynamic_cast<ZylHelpModule*>(container->getModule(ZylHelpModule::kModuleId))
               : nullptr;
}

void ZylLumenfoldEditor::setUpHelp()
{
    helpPanel = std::make_unique<ZylHelpPanel>(this, kHelpWidth, kHelpHeight);
    helpPanel->setBaseUrl(ZylHelpPanel::defaultBaseUrl());
    int major = 0, minor = 0, build = 0;
    if (auto* container = getFilter()->getModuleContainer())
        if (auto* root = container->getModule(kRootModuleId))
            root->getVersion(major, minor, build);
    helpPanel->setVersion(major, minor);
    helpPanel->setCollapsible(false);
    helpPanel->setSize(kHelpWidth, kHelpHeight);
    helpPanel->showPage(0);

    if (auto* help = getHelpModule())
    {
        help->setHelpPanel(helpPanel.get());
        help->setHelpInWindow(true);
        help->setHasOnlineManual(true);
    }

    if (auto* container = getFilter()->getModuleContainer())
    {
        cacheAboutArt(*container, kAboutPageKey, "aboutvstasio.svg");
        cacheAboutArt(*container, kHelpPageKey, "help1.svg");
    }
    helpPanel->setPageNames({ kAboutPageKey, kHelpPageKey });
}

juce::String ZylLumenfoldEditor::getVersionText() const
{
    auto* owner = getFilter();
    auto* container = owner != nullptr ? owner->getModuleContainer() : nullptr;
    auto* root = container != nullptr ? container->getModule(kRootModuleId) : nullptr;
    if (root == nullptr)
        return {};
    return root->getVersionString().upToLastOccurrenceOf(".", false, false);
}

void ZylLumenfoldEditor::paint(juce::Graphics& g)
{
    fillStriped(g,
                juce::LookAndFeel::getDefaultLookAndFeel().findColour(
                    juce::ComboBox::backgroundColourId),
                getWidth(), getHeight());
}

void ZylLumenfoldEditor::paintOverChildren(juce::Graphics& g)
{
    if (appLogo != nullptr)
        appLogo->draw(g, 1.0f,
                      juce::AffineTransform::scale(kAppLogoScaleX, kAppLogoScaleY)
                          .translated(kAppLogoX, kAppLogoY));
    if (vendorLogo != nullptr)
        vendorLogo->draw(g, 1.0f,
                         juce::AffineTransform::scale(kVendorLogoScale)
                             .translated(static_cast<float>(getWidth() - kVendorLogoFromRight),
                                         static_cast<float>(getHeight() - kVendorLogoFromBottom)));
    if (versionText != nullptr)
        versionText->draw(g, 1.0f, juce::AffineTransform::translation(kVersionX, kVersionY));
}

void ZylLumenfoldEditor::resized()
{
    layoutPanels();
}

void ZylLumenfoldEditor::fitToContent()
{
    int w = 0, h = 0;
    layoutPanels(0, 0, w, h, true);
    setSize(w, h);
}

void ZylLumenfoldEditor::layoutPanels()
{
    int w = 0, h = 0;
    layoutPanels(getWidth(), getHeight(), w, h, false);
}

void ZylLumenfoldEditor::layoutPanels(int width, int height, int& outWidth, int& outHeight,
                                      bool measureOnly)
{
    // Called from resized while the base sizes the editor, before the panels exist.
    if (headerPanel == nullptr || gridPanel == nullptr || pianoPanel == nullptr
        || spacePanel == nullptr || midiPanel == nullptr || synthPanel == nullptr)
    {
        outWidth = width;
        outHeight = height;
        return;
    }
    const int headerHeight = headerPanel->getPreferredHeight();
    const int spaceWidth = spacePanel->getPreferredWidth();
    const int spaceHeight = spacePanel->getPreferredHeight();
    const int midiWidth = midiPanel->getPreferredWidth();
    const int midiHeight = midiPanel->getPreferredHeight();
    const int pianoHeight = pianoPanel->getPreferredHeight();

    outWidth = width != 0 ? width : gridPanel->getPreferredWidth() + spaceWidth + 3 * kEdge;
    // Three edges around each column, and a gap between each two panels in it.
    const int left = headerHeight + gridPanel->getPreferredHeight() + pianoHeight + 3 * kEdge + kGap;
    const int right = headerHeight + spaceHeight + midiHeight + synthPanel->getPreferredHeight()
                      + 3 * kEdge + 2 * kGap;
    outHeight = height != 0 ? height : juce::jmax(left, right);
    if (measureOnly)
        return;

    headerPanel->setBounds(kLogoWidth, kEdge, outWidth - kLogoWidth - kEdge, headerHeight);
    const int top = headerPanel->getHeight() + 2 * kEdge;
    gridPanel->setBounds(kEdge, top, outWidth - spaceWidth - 3 * kEdge,
                         outHeight - pianoHeight - 3 * kEdge - headerHeight);
    pianoPanel->setBounds(kEdge, top + gridPanel->getHeight() + kGap, gridPanel->getWidth(),
                          pianoHeight);
    const int column = gridPanel->getWidth() + 2 * kEdge;
    spacePanel->setBounds(column, top, spaceWidth, spaceHeight);
    midiPanel->setBounds(column, top + spacePanel->getHeight() + kGap, midiWidth, midiHeight);
    synthPanel->setBounds(column, midiPanel->getY() + midiPanel->getHeight() + kGap, midiWidth,
                          kSynthHeight);
}
