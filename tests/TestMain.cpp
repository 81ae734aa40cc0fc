#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
#if JUCE_LINUX
// A bare X server (Xvfb with no window manager) lacks the window manager's atoms, which JUCE
// looks up without creating them: a window then fails on its first property request and the
// X error ends the process. The tests' own connection creates them before JUCE opens the
// display, and stays open so that the server keeps them. libX11 is loaded as JUCE loads it, and
// stays loaded to the end: unloaded, what its globals hold would look leaked to the leak check.
class ZylWindowManagerAtoms
{
public:
    ZylWindowManagerAtoms()
    {
        static auto* library = new juce::DynamicLibrary();
        auto& x11 = *library;
        if (juce::SystemStats::getEnvironmentVariable("DISPLAY", {}).isEmpty()
            || !x11.open("libX11.so.6"))
            return;
        using OpenDisplay = void* (*) (const char*);
        using InternAtom = unsigned long (*) (void*, const char*, int);
        auto openDisplay = reinterpret_cast<OpenDisplay>(x11.getFunction("XOpenDisplay"));
        auto internAtom = reinterpret_cast<InternAtom>(x11.getFunction("XInternAtom"));
        closeDisplay = reinterpret_cast<CloseDisplay>(x11.getFunction("XCloseDisplay"));
        if (openDisplay == nullptr || internAtom == nullptr || closeDisplay == nullptr)
            return;
        display = openDisplay(nullptr);
        if (display == nullptr)
            return;
        for (const char* name : { "WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW",
                                  "_NET_WM_PING", "WM_CHANGE_STATE", "WM_STATE",
                                  "_NET_WM_WINDOW_TYPE", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN" })
            internAtom(display, name, 0);
    }

    ~ZylWindowManagerAtoms()
    {
        if (display != nullptr)
            closeDisplay(display);
    }

private:
    using CloseDisplay = int (*)(void*);
    CloseDisplay closeDisplay = nullptr;
    void* display = nullptr;
};
#endif
} // namespace

// Runs every test on the JUCE message thread. ScopedJuceInitialiser_GUI needs no display: a
// window is opened only by tests that ask for one (those run under xvfb-run).
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#if JUCE_LINUX
    ZylWindowManagerAtoms atoms;
#endif
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
