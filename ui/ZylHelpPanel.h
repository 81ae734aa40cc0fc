#pragma once

#include "ui/ZylPanel.h"

#include <cstdint>
#include <memory>
#include <vector>

class ZylDrawableButton;
class ZylHelpModule;

// Shows one help page at a time: a drawing from the container's drawable cache (looked up by
// the page's name), tab buttons that switch pages, link buttons that open web pages, an optional
// collapse button, and on the About page (page 0) the program's version. It keeps its current
// page and expanded flag in the help module's properties.
//
// Links are the base URL, "/", the version path ("v" + two-digit major + two-digit minor) and
// "/" followed by a path; they open through the current ZylUiSeam. Message thread only.
class ZylHelpPanel : public ZylPanel, public juce::Button::Listener
{
public:
    static constexpr int kExpandedWidth = 320;
    static constexpr int kCollapsedWidth = 15;
    static constexpr int kHeight = 470;
    // The page shown when nothing was stored.
    static constexpr int kDefaultPage = 3;
    static constexpr const char* kCurrentPageKey = "helpCurrentPage";
    static constexpr const char* kExpandedKey = "helpExpanded";

    // The base address of the help links as this build was configured (the CMake cache variable
    // LUMENFOLD_HELP_BASE_URL).
    static juce::String defaultBaseUrl();
    // " 64-bit" or " 32-bit", by the size of a pointer in this build.
    static juce::String architectureSuffix();

    explicit ZylHelpPanel(ZylEditor* owner, int width = kExpandedWidth, int height = kHeight,
                          bool breakAfter = false);
    ~ZylHelpPanel() override;

    void paintOverChildren(juce::Graphics& g) override;
    int getPreferredHeight() const override;
    int getPreferredWidth() const override;

    // The drawable-cache names of the pages; index = page number.
    virtual void setPageNames(const juce::StringArray& names);
    virtual void setBaseUrl(const juce::String& url);
    // The version path becomes "v%02d%02d".
    virtual void setVersion(int major, int minor);
    virtual juce::String getBaseUrl() const;
    // Rebuilds the buttons for the page and stores it in the help module's properties.
    virtual void showPage(int page);
    virtual int getCurrentPage() const;
    virtual void setExpanded(bool flag);
    virtual bool isExpanded() const;
    virtual void showAbout();
    virtual void showHelp();
    virtual void openUrl(const juce::String& path, bool withVersion);
    virtual bool isCollapsible() const;
    virtual void setCollapsible(bool flag);
    virtual void clearButtons();
    virtual void addLinkButton(int x, int y, int width, int height, const juce::String& url,
                               const juce::String& text);
    virtual void addTabButton(int x, int y, int width, int height, int page,
                              const juce::String& text);
    // Module 9000 of the panel's container, or null.
    virtual ZylHelpModule* getHelpModule() const;
    // The base URL, then "/" and the version path when withVersion and it is set, then "/" and
    // path.
    virtual juce::String buildUrl(const juce::String& path, bool withVersion) const;

    // The version text drawn on the About page: the root module's version and the suffix.
    juce::String getVersionText() const;
    // Tab and link buttons in creation order (not owned by the caller).
    int getNumButtons() const noexcept { return static_cast<int>(buttons.size()); }
    juce::TextButton* getButton(int index) const;
    ZylDrawableButton* getExpandButton() const noexcept { return expandButton; }

    // The panel ignores every message.
    void receiveMessage(void* sender, int code, int timeMs) override;
    void buttonClicked(juce::Button* button) override;

private:
    void updateBackground();
    void storeProperty(const char* key, const juce::var& value);

    juce::StringArray pageNames;
    std::vector<std::unique_ptr<juce::TextButton>> buttons;
    // Buttons taken away by the last clearButtons; see there.
    std::vector<std::unique_ptr<juce::TextButton>> retiredButtons;
    std::vector<std::int32_t> buttonPages;
    juce::StringArray buttonUrls;
    std::unique_ptr<juce::Drawable> expandImage;
    std::unique_ptr<juce::Drawable> collapseImage;
    bool expanded = false;
    ZylDrawableButton* expandButton = nullptr;
    std::int32_t currentPage = kDefaultPage;
    juce::String baseUrl;
    bool collapsible = true;
    juce::String versionPath;
    // The module the panel registered with, so that it unregisters from the same one.
    ZylHelpModule* registeredModule = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZylHelpPanel)
};
