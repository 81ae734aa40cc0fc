#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Everything the interface does that leaves the process or waits for the user: opening a web
// page, message and OK/Cancel boxes, a text prompt, file choosers and modal dialogs. Interface
// code never calls JUCE for these directly; it asks the current seam:
//
//     ZylUiSeam::get().openUrl(address);
//
// The current seam is one process-wide pointer, set from the top (the program leaves it alone
// and gets ZylJuceUiSeam, which really opens the browser and runs modal loops; tests install a
// recording fake with ZylScopedUiSeam). Message thread only.
class ZylUiSeam
{
public:
    // What a file chooser is asked for.
    struct FileRequest
    {
        juce::String title;
        // The file (or folder) the chooser starts at.
        juce::File initialFile;
        // Wildcards such as "*.fxb".
        juce::String patterns;
        // Choosing a file to write, not one to read.
        bool save = false;
        // Only for save: ask before replacing an existing file.
        bool warnAboutOverwriting = true;
    };

    // What a modal dialog shows.
    struct DialogRequest
    {
        juce::String title;
        // The component shown; kept by the caller unless contentOwned.
        juce::Component* content = nullptr;
        // The dialog is centred around this component; null centres it on the screen.
        juce::Component* centreAround = nullptr;
        juce::Colour background = juce::Colours::lightgrey;
        // The dialog deletes content when it closes.
        bool contentOwned = false;
    };

    // What a text prompt shows: a title, a message, an editor holding the text and two buttons.
    struct TextPrompt
    {
        juce::String title;
        juce::String message;
        // The component name of the text editor.
        juce::String editorName;
        juce::String okText = "OK";
        juce::String cancelText = "Cancel";
    };

    virtual ~ZylUiSeam() = default;

    // Opens address in the system's browser; false when that failed.
    virtual bool openUrl(const juce::String& address) = 0;
    // A box with one button; returns when it is closed.
    virtual void showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                                const juce::String& message, const juce::String& buttonText,
                                juce::Component* associated) = 0;
    // A box with two buttons; true when the first (OK) was chosen, false on the second or when
    // the box was closed.
    virtual bool showOkCancelBox(juce::MessageBoxIconType icon, const juce::String& title,
                                 const juce::String& message, const juce::String& okText,
                                 const juce::String& cancelText, juce::Component* associated) = 0;
    // Asks for a text, starting from text; true with text replaced when confirmed, false (text
    // unchanged) when cancelled.
    virtual bool promptText(const TextPrompt& prompt, juce::String& text) = 0;
    // true with chosen set when the user picked a file, false when cancelled.
    virtual bool chooseFile(const FileRequest& request, juce::File& chosen) = 0;
    // Shows the dialog and returns its modal result when it has been closed.
    virtual int runModalDialog(const DialogRequest& request) = 0;

    // The current seam: the one installed with set, else the JUCE one.
    static ZylUiSeam& get();
    // Installs seam (not owned; null goes back to the JUCE one). Returns the previously
    // installed one (null when that was the JUCE one).
    static ZylUiSeam* set(ZylUiSeam* seam);
};

// Installs a seam for the lifetime of the object and puts the previous one back afterwards.
class ZylScopedUiSeam
{
public:
    explicit ZylScopedUiSeam(ZylUiSeam& seam) : previous(ZylUiSeam::set(&seam)) {}
    ~ZylScopedUiSeam() { ZylUiSeam::set(previous); }

private:
    ZylUiSeam* previous;

    JUCE_DECLARE_NON_COPYABLE(ZylScopedUiSeam)
};
