#pragma once

#include "framework/ZylModule.h"

class ZylHelpPanel;

// Module 9000: carries out the help commands of the menus with the help panel. About (11) and
// Help (12) show the panel's page, in a modal "Help" dialog when help in window is set; product
// home (19), online manual (20) and latest updates (21) open web pages. It has no parameters;
// its property set keeps the panel's "helpCurrentPage" and "helpExpanded" in the state.
//
// The panel is not owned: the product editor sets it and clears it before deleting it. Commands
// arriving without a panel are left to the base. Message thread only.
class ZylHelpModule : public ZylModule
{
public:
    static constexpr std::int32_t kModuleId = 9000;
    static constexpr const char* kDialogTitle = "Help";

    explicit ZylHelpModule(ZylModuleContainer* container);
    ~ZylHelpModule() override;

    // Enters the module map and listens to its own command parameter.
    void initialise() override;
    bool handleMessage(void* sender, int code, int timeMs) override;

    virtual ZylHelpPanel* getHelpPanel() const;
    virtual void setHelpPanel(ZylHelpPanel* panel);
    virtual bool isHelpInWindow() const;
    virtual void setHelpInWindow(bool inWindow);
    virtual bool hasOnlineManual() const;
    virtual void setHasOnlineManual(bool hasManual);

    // Whether the help dialog's modal loop is running.
    bool isDialogOpen() const noexcept { return dialogOpen; }

private:
    void showPanel(bool about);

    ZylHelpPanel* panel = nullptr;
    bool helpInWindow = false;
    bool onlineManual = false;
    bool dialogOpen = false;
};
