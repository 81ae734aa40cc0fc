#include "ui/ZylHelpPanel.h"

#include "framework/ZylEditor.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylPropertySet.h"
#include "ui/ZylArtArchives.h"
#include "ui/ZylCachedDrawable.h"
#include "ui/ZylCachedDrawables.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylGuiHelpers.h"
#include "ui/ZylHelpModule.h"
#include "ui/ZylUiSeam.h"

#ifndef LUMENFOLD_HELP_BASE_URL
#define LUMENFOLD_HELP_BASE_URL "https://www.example.com/en/lumenfold"
#endif

namespace
{
constexpr int kAboutPage = 0;
constexpr int kHelpPage = 1;
constexpr int kLastHelpPage = 9;

// Tab buttons along the top; pages 1 and up get numbered tabs after "Help".
constexpr int kTabY = 5;
constexpr int kTabHeight = 15;
constexpr int kAboutTabX = 35;
constexpr int kHelpTabX = 80;
constexpr int kNamedTabWidth = 40;
constexpr int kFirstNumberTabX = 125;
constexpr int kNumberTabWidth = 20;

// The page drawing: scaled to the panel and moved below the tabs.
constexpr float kPageScaleX = 0.4f;
constexpr float kPageScaleY = 0.39f;
constexpr float kPageOffsetY = 20.0f;

const juce::Rectangle<int> kVersionTextArea(230, 70, 120, 20);
const juce::Rectangle<int> kLicenceLink(109, 134, 21, 11);
const juce::Rectangle<int> kManualLink(40, 435, 240, 24);
} // namespace

juce::String ZylHelpPanel::defaultBaseUrl()
{
    return LUMENFOLD_HELP_BASE_URL;
}

juce::String ZylHelpPanel::architectureSuffix()
{
    return sizeof(void*) == 8 ? " 64-bit" : " 32-bit";
}

ZylHelpPanel::ZylHelpPanel(ZylEditor* owner, int width, int height, bool breakAfter)
    : ZylPanel(owner, "Help", width, height, breakAfter)
{
    auto* module = getHelpModule();
    if (module != nullptr)
    {
        expanded = false;
        const auto* stored = module->getPropertySet();
        currentPage = stored != nullptr ? stored->getIntValue(kCurrentPageKey, kDefaultPage)
                                        : kDefaultPage;
    }
    else
    {
        expanded = true;
        currentPage = kDefaultPage;
    }

    expandImage = createDrawableFromArchive(ZylArtArchives::kInterfaceArt, "expand.svg");
    collapseImage = createDrawableFromArchive(ZylArtArchives::kInterfaceArt, "collapse.svg");

    expandButton = new ZylDrawableButton("expandButton");
    expandButton->setTooltip("Expand or collapse");
    expandButton->setConnectedEdges(juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                                    | juce::Button::ConnectedOnTop
                                    | juce::Button::ConnectedOnBottom);
    expandButton->setToggleState(true, juce::dontSendNotification);
    expandButton->setImages(expanded ? collapseImage.get() : expandImage.get());
    expandButton->setBounds(3, 3, 10, 10);
    expandButton->addListener(this);
    addChildComponent(expandButton);
    expandButton->setVisible(collapsible);

    updateBackground();
    showPage(currentPage);
    if (module != nullptr)
    {
        module->addParameterSink(this, false);
        registeredModule = module;
    }
}

ZylHelpPanel::~ZylHelpPanel()
{
    if (registeredModule != nullptr)
    {
        registeredModule->removeParameterSink(this, false);
        if (registeredModule->getHelpPanel() == this)
            registeredModule->setHelpPanel(nullptr);
    }
    clearButtons();
    retiredButtons.clear();
    expandButton->removeListener(this);
}

void ZylHelpPanel::paintOverChildren(juce::Graphics& g)
{
    if (collapsible && !expanded)
        return;
    if (currentPage < 0 || currentPage >= pageNames.size() || pageNames[currentPage].isEmpty())
        return;

    if (auto* container = getModuleContainer())
        if (auto* cache = container->getDrawables())
            if (auto* entry = cache->find(pageNames[currentPage]))
                if (auto* drawable = entry->getDrawable())
                    drawable->draw(g, 1.0f,
                                   juce::AffineTransform::scale(kPageScaleX, kPageScaleY)
                                       .translated(0.0f, kPageOffsetY));

    if (currentPage == kAboutPage)
    {
        g.setFont(getLookAndFeel().getPopupMenuFont());
        g.drawFittedText(getVersionText(), kVersionTextArea, juce::Justification::left, 1, 0.7f);
    }
}

int ZylHelpPanel::getPreferredHeight() const
{
    return kHeight;
}

int ZylHelpPanel::getPreferredWidth() const
{
    return (!collapsible || expanded) ? kExpandedWidth : kCollapsedWidth;
}

void ZylHelpPanel::setPageNames(const juce::StringArray& names)
{
    pageNames = names;
}

void ZylHelpPanel::setBaseUrl(const juce::String& url)
{
    baseUrl = url;
}

void ZylHelpPanel::setVersion(int major, int minor)
{
    versionPath = juce::String::formatted("v%02d%02d", major, minor);
}

juce::String ZylHelpPanel::getBaseUrl() const
{
    return baseUrl;
}

void ZylHelpPanel::showPage(int page)
{
    clearButtons();
    currentPage = page;
    if (page >= kAboutPage && page <= kLastHelpPage)
    {
        addTabButton(kAboutTabX, kTabY, kNamedTabWidth, kTabHeight, kAboutPage, "About");
        addTabButton(kHelpTabX, kTabY, kNamedTabWidth, kTabHeight, kHelpPage, "Help");
    }
    if (page == kAboutPage)
    {
        addLinkButton(kLicenceLink.getX(), kLicenceLink.getY(), kLicenceLink.getWidth(),
                      kLicenceLink.getHeight(), buildUrl("license", true), "here");
    }
    else if (page >= kHelpPage && page <= kLastHelpPage)
    {
        if (pageNames.size() >= 3)
            for (int numbered = 1; numbered < pageNames.size(); ++numbered)
                addTabButton(kFirstNumberTabX + (numbered - 1) * kNumberTabWidth, kTabY,
                             kNumberTabWidth, kTabHeight, numbered, juce::String(numbered));
        auto* module = getHelpModule();
        if (module != nullptr && module->hasOnlineManual())
            addLinkButton(kManualLink.getX(), kManualLink.getY(), kManualLink.getWidth(),
                          kManualLink.getHeight(), buildUrl("manual", true),
                          "See online user guide for more information...");
    }
    storeProperty(kCurrentPageKey, page);
    repaint();
}

int ZylHelpPanel::getCurrentPage() const
{
    return currentPage;
}

void ZylHelpPanel::setExpanded(bool flag)
{
    expanded = flag;
    expandButton->setImages(expanded ? collapseImage.get() : expandImage.get());
    updateBackground();
    if (auto* owner = getEditor())
        owner->fitToContent();
    storeProperty(kExpandedKey, flag);
}

bool ZylHelpPanel::isExpanded() const
{
    return expanded;
}

void ZylHelpPanel::showAbout()
{
    if (collapsible)
        setExpanded(true);
    showPage(kAboutPage);
}

void ZylHelpPanel::showHelp()
{
    if (collapsible)
        setExpanded(true);
    showPage(kHelpPage);
}

void ZylHelpPanel::openUrl(const juce::String& path, bool withVersion)
{
    ZylUiSeam::get().openUrl(buildUrl(path, withVersion));
}

bool ZylHelpPanel::isCollapsible() const
{
    return collapsible;
}

void ZylHelpPanel::setCollapsible(bool flag)
{
    collapsible = flag;
    expandButton->setVisible(flag);
    updateBackground();
}

void ZylHelpPanel::clearButtons()
{
    // A tab's click rebuilds the buttons from inside that tab's own click callback, so the
    // buttons taken away now are deleted at the next rebuild, not while one may still be on the
    // call stack.
    retiredButtons.clear();
    for (auto& button : buttons)
    {
        button->removeListener(this);
        removeChildComponent(button.get());
        retiredButtons.push_back(std::move(button));
    }
    buttons.clear();
    buttonPages.clear();
    buttonUrls.clear();
}

void ZylHelpPanel::addLinkButton(int x, int y, int width, int height, const juce::String& url,
                                 const juce::String& text)
{
    addTabButton(x, y, width, height, -1, text);
    buttonUrls.set(buttonUrls.size() - 1, url);
}

void ZylHelpPanel::addTabButton(int x, int y, int width, int height, int page,
                                const juce::String& text)
{
    auto button = std::make_unique<juce::TextButton>(juce::String(), juce::String());
    button->addListener(this);
    button->setBounds(x, y, width, height);
    const auto accent = findColour(juce::ComboBox::textColourId);
    button->setColour(juce::TextButton::buttonColourId, accent.darker(0.2f));
    button->setColour(juce::TextButton::buttonOnColourId, accent.darker(0.7f));
    button->setColour(juce::TextButton::textColourOnId, juce::Colours::black.withAlpha(0.5f));
    button->setConnectedEdges(juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                              | juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom);
    button->setToggleState(page == currentPage, juce::dontSendNotification);
    button->setButtonText(text);
    addAndMakeVisible(button.get());
    buttons.push_back(std::move(button));
    buttonPages.push_back(page);
    buttonUrls.add({});
}

ZylHelpModule* ZylHelpPanel::getHelpModule() const
{
    auto* container = getModuleContainer();
    if (container == nullptr)
        return nullptr;
    return dynamic_cast<ZylHelpModule*>(container->getModule(ZylHelpModule::kModuleId));
}

juce::String ZylHelpPanel::buildUrl(const juce::String& path, bool withVersion) const
{
    auto url = baseUrl;
    if (withVersion && versionPath.isNotEmpty())
        url << "/" << versionPath;
    url << "/" << path;
    return url;
}

juce::String ZylHelpPanel::getVersionText() const
{
    juce::String version;
    if (auto* container = getModuleContainer())
        if (auto* root = container->getRootModule())
            version = root->getVersionString();
    return version + architectureSuffix();
}

juce::TextButton* ZylHelpPanel::getButton(int index) const
{
    if (index < 0 || index >= getNumButtons())
        return nullptr;
    return buttons[static_cast<size_t>(index)].get();
}

void ZylHelpPanel::receiveMessage(void* /*sender*/, int /*code*/, int /*timeMs*/)
{
}

void ZylHelpPanel::buttonClicked(juce::Button* button)
{
    if (button == expandButton)
    {
        setExpanded(!expanded);
        return;
    }
    for (size_t i = 0; i < buttons.size(); ++i)
    {
        if (buttons[i].get() != button)
            continue;
        const int page = buttonPages[i];
        if (page >= 0)
            showPage(page);
        else
            ZylUiSeam::get().openUrl(buttonUrls[static_cast<int>(i)]);
        return;
    }
}

void ZylHelpPanel::updateBackground()
{
    auto colour = findColour(juce::ComboBox::textColourId).darker(0.2f);
    if (collapsible && !expanded)
        colour = colour.withAlpha(0.5f);
    setBackgroundColour(colour);
}

void ZylHelpPanel::storeProperty(const char* key, const juce::var& value)
{
    if (auto* module = getHelpModule())
        if (auto* stored = module->getPropertySet())
            stored->setValue(key, value);
}
