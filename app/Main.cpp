#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The program entry: for now a window titled "lumenfold" that closes the program when it closes.
class lumenfoldApplication : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "lumenfold"; }
    // The version of project() in CMakeLists.txt, handed in by the core library.
    const juce::String getApplicationVersion() override { return JUCE_APPLICATION_VERSION_STRING; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise(const juce::String&) override
    {
        mainWindow = std::make_unique<MainWindow>();
    }

    void shutdown() override { mainWindow.reset(); }

    void systemRequestedQuit() override { quit(); }

private:
    class MainWindow : public juce::DocumentWindow
    {
    public:
        MainWindow()
            : juce::DocumentWindow("lumenfold", juce::Colours::lightgrey, juce::DocumentWindow::allButtons)
        {
            setUsingNativeTitleBar(true);
            centreWithSize(1001, 580);
            setVisible(true);
        }

        void closeButtonPressed() override { juce::JUCEApplication::getInstance()->systemRequestedQuit(); }
    };

    std::unique_ptr<MainWindow> mainWindow;
};

START_JUCE_APPLICATION(lumenfoldApplication)
