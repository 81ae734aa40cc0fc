#include "ui/ZylHeaderPanel.h"

#include "framework/ZylDomain.h"
#include "framework/ZylHelpers.h"
#include "framework/ZylHostLink.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylProgramModule.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylValue.h"
#include "modules/ZylTransportDomainSet.h"
#include "modules/ZylTransportModule.h"
#include "modules/ZylTransportStateDomain.h"
#include "ui/ZylArtArchives.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylGuiHelpers.h"
#include "ui/ZylHelpModule.h"
#include "ui/ZylLabel.h"
#include "ui/ZylParamCombo.h"
#include "ui/ZylUiSeam.h"

#include <climits>

namespace
{
constexpr int kDefaultWidth = 200;
constexpr int kDefaultHeight = 43;
constexpr int kPreferredWidth = 800;
constexpr int kHeightPadding = 10;

constexpr int kComboX = -20;
constexpr int kComboY = 5;
constexpr int kComboWidth = 250;
constexpr int kTransportButtonWidth = 26;
constexpr int kTransportGap = 10;
constexpr int kNumberLabelWidth = 45;
constexpr int kSongPositionWidth = 55;
constexpr int kIndicatorSize = 3;
constexpr int kMenuButtonWidth = 30;
constexpr int kHelpButtonInset = 40;
constexpr int kFileButtonStep = 29;
constexpr float kDisplayCorner = 6.0f;

const juce::Colour kIndicatorAlarm(0xffff0000);

constexpr const char* kLastUsedFileKey = "lastUsedFileNameWin";

const char* const kWriteFailed = "Could not write to the specified file.";
const char* const kReadFailed = "Could not read from the specified file.";

// C's atoi on a text: leading blanks, an optional sign, then digits; 0 when there are none.
// Held at the int range instead of overflowing.
int leadingInteger(const juce::String& text)
{
    auto p = text.getCharPointer();
    while (juce::CharacterFunctions::isWhitespace(*p))
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = (p.getAndAdvance() == '-');
    long long value = 0;
    while (juce::CharacterFunctions::isDigit(*p))
    {
        value = value * 10 + (p.getAndAdvance() - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    return static_cast<int>(juce::jlimit<long long>(INT_MIN, INT_MAX, value));
}

// Where the choosers start without a usable remembered file: a folder that exists, since a bare
// file name typed into a chooser lands in the folder it shows. The documents folder, not the
// program's own folder, which is often read-only; a fresh account may have no documents folder
// yet, and then the home folder.
juce::File defaultFileFolder()
{
    const auto documents = juce::File::getSpecialLocation(juce::File::userDocumentsDirectory);
    if (documents.isDirectory() && documents.hasWriteAccess())
        return documents;
    return juce::File::getSpecialLocation(juce::File::userHomeDirectory);
}

juce::String lastUsedFileKey(const juce::String& extension)
{
    return kLastUsedFileKey + extension.removeCharacters(".");
}

void setTextIfChanged(juce::Label& label, const juce::String& text)
{
    if (label.getText() != text)
        label.setText(text, juce::dontSendNotification);
}
} // namespace

ZylHeaderPanel::ZylHeaderPanel(ZylEditor* owner)
    : ZylPanel(owner, "Header", kDefaultWidth, kDefaultHeight, false)
{
    auto* programModule = getProgramModule();
    programCombo = new ZylParamCombo(owner, 0, 0);
    addAndMakeVisible(programCombo);
    if (programModule != nullptr)
        programCombo->setParameter(programModule->getProgramParameter());

    auto loadIcon = [](const char* name) {
        return createDrawableFromArchive(ZylArtArchives::kHeaderIcons, name);
    };
    infoImage = loadIcon("info.svg");
    diskImage = loadIcon("disk.svg");
    stopImage = loadIcon("stop.svg");
    startImage = loadIcon("start.svg");

    stopButton = makeButton("stopButton", stopImage.get(), "Stop transport");
    startButton = makeButton("startButton", startImage.get(),
                             "Arm transport, or if armed, start transport");
    fileButton = makeButton("fileButton", diskImage.get(), {});
    helpButton = makeButton("helpButton", infoImage.get(), {});

    bpmLabel = makeLabel("bpmLabel", "?", "Beats per minute. Editable in standalone version.",
                         true);
    timeSignatureLabel = makeLabel("timeSignatureLabel", "?/?",
                                   "Time signature. Editable in standalone version.", true);
    songPositionLabel = makeLabel("songPositionLabel", "?.  ?", "Song position in bars.beats",
                                  true);
    indicatorLabel = makeLabel("indicatorLabel", {}, {}, false);

    if (auto* transport = getTransportModule())
        transport->addParameterSink(this, false);
    if (programModule != nullptr)
        programModule->addParameterSink(this, false);

    updateTransportDisplay();
    updateStartButton();
}

ZylHeaderPanel::~ZylHeaderPanel()
{
    for (auto* label : { bpmLabel, timeSignatureLabel, songPositionLabel })
        label->removeListener(this);
    if (auto* transport = getTransportModule())
        transport->removeParameterSink(this, false);
    if (auto* programModule = getProgramModule())
        programModule->removeParameterSink(this, false);
}

ZylDrawableButton* ZylHeaderPanel::makeButton(const juce::String& name,
                                              const juce::Drawable* image,
                                              const juce::String& tooltip)
{
    auto* button = new ZylDrawableButton(name);
    addAndMakeVisible(button);
    button->setImages(image);
    button->addListener(this);
    button->setTriggeredOnMouseDown(true);
    if (tooltip.isNotEmpty())
        button->setTooltip(tooltip);
    return button;
}

ZylLabel* ZylHeaderPanel::makeLabel(const juce::String& name, const juce::String& text,
                                    const juce::String& tooltip, bool listen)
{
    auto* label = new ZylLabel(name, text);
    addAndMakeVisible(label);
    label->setJustificationType(juce::Justification::centred);
    auto& laf = getLookAndFeel();
    label->setColour(juce::Label::backgroundColourId,
                     laf.findColour(juce::ComboBox::backgroundColourId));
    label->setColour(juce::Label::outlineColourId,
                     laf.findColour(juce::ComboBox::outlineColourId));
    const auto textColour = laf.findColour(juce::ComboBox::textColourId);
    label->setColour(juce::Label::textColourId, textColour);
    label->setColour(juce::TextEditor::textColourId, textColour);
    if (listen)
        label->addListener(this);
    if (tooltip.isNotEmpty())
        label->setTooltip(tooltip);
    return label;
}

int ZylHeaderPanel::getPreferredWidth() const
{
    return kPreferredWidth;
}

int ZylHeaderPanel::getPreferredHeight() const
{
    return (programCombo != nullptr ? programCombo->getPreferredHeight() : 0) + kHeightPadding;
}

void ZylHeaderPanel::resized()
{
    ZylPanel::resized();
    const int h = programCombo->getPreferredHeight();
    programCombo->setBounds(kComboX, kComboY, kComboWidth, h);
    stopButton->setBounds(programCombo->getRight() + kTransportGap, programCombo->getY(),
                          kTransportButtonWidth, h);
    startButton->setBounds(stopButton->getRight(), programCombo->getY(), kTransportButtonWidth, h);
    bpmLabel->setBounds(startButton->getRight(), programCombo->getY() + 1, kNumberLabelWidth,
                        h - 2);
    timeSignatureLabel->setBounds(bpmLabel->getRight() + 1, bpmLabel->getY(), kNumberLabelWidth,
                                  h - 2);
    songPositionLabel->setBounds(timeSignatureLabel->getRight() + 1, bpmLabel->getY(),
                                 kSongPositionWidth, h - 2);
    indicatorLabel->setBounds(songPositionLabel->getRight() - 5, songPositionLabel->getY() + 5,
                              kIndicatorSize, kIndicatorSize);
    helpButton->setBounds(getWidth() - kHelpButtonInset, kComboY, kMenuButtonWidth, h);
    fileButton->setBounds(helpButton->getX() - kFileButtonStep, kComboY, kMenuButtonWidth, h);
}

void ZylHeaderPanel::paint(juce::Graphics& g)
{
    ZylPanel::paint(g);

    // One box behind the three displays: square on its left, rounded on its right.
    const auto x = static_cast<float>(bpmLabel->getX());
    const auto y = static_cast<float>(bpmLabel->getY() - 1);
    const auto height = static_cast<float>(bpmLabel->getHeight() + 2);
    juce::Path box;
    box.addRectangle(x, y, 5.0f, height);
    box.addRoundedRectangle(x, y,
                            static_cast<float>(songPositionLabel->getRight() + 5) - x, height,
                            kDisplayCorner);
    g.setColour(getLookAndFeel().findColour(juce::ComboBox::backgroundColourId));
    g.fillPath(box);
}

ZylModule* ZylHeaderPanel::getRootModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? container->getRootModule() : nullptr;
}

ZylTransportModule* ZylHeaderPanel::getTransportModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? dynamic_cast<ZylTransportModule*>(
               container->getModule(ZylTransportModule::kModuleId))
                                : nullptr;
}

ZylProgramModule* ZylHeaderPanel::getProgramModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? dynamic_cast<ZylProgramModule*>(
               container->getModule(ZylProgramModule::kModuleId))
                                : nullptr;
}

ZylHelpModule* ZylHeaderPanel::getHelpModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr
               ? dynamic_cast<ZylHelpModule*>(container->getModule(ZylHelpModule::kModuleId))
               : nullptr;
}

void ZylHeaderPanel::updateTransportDisplay()
{
    auto* transport = getTransportModule();
    if (transport == nullptr)
        return;

    juce::AudioPlayHead::CurrentPositionInfo info;
    int bar = 0;
    int beat = 0;
    bool fromHost = false;
    transport->copyPosition(info, bar, beat, fromHost);

    setTextIfChanged(*bpmLabel, juce::String::formatted("%.02f", info.bpm));
    setTextIfChanged(*timeSignatureLabel, juce::String::formatted("%d/%d", info.timeSigNumerator,
                                                                  info.timeSigDenominator));
    songPositionLabel->setText(transport->isPlaying()
                                   ? juce::String::formatted("%4d.%4d", bar + 1, beat + 1)
                                   : juce::String("   0.   0"),
                               juce::dontSendNotification);

    // The host owns tempo and time signature while it drives the position.
    bpmLabel->setEditable(!fromHost, false, false);
    timeSignatureLabel->setEditable(!fromHost, false, false);
}

void ZylHeaderPanel::updateStartButton()
{
    auto* transport = getTransportModule();
    if (transport == nullptr)
        return;
    auto* stateParameter = transport->getStateParameter();
    auto* domain = transport->getDomainSet()->getStateDomain();
    {
        const juce::ScopedLock lock(stateParameter->getLock());
        transportState = stateParameter->getValueObject();
    }

    if (transportState == domain->getPlaying())
    {
        startButton->setBlinking(false, kBlinkIntervalMs);
        startButton->setToggleState(true, juce::dontSendNotification);
    }
    else if (transportState == domain->getArmed())
    {
        startButton->setBlinking(true, kBlinkIntervalMs);
    }
    else
    {
        startButton->setBlinking(false, kBlinkIntervalMs);
        startButton->setToggleState(false, juce::dontSendNotification);
    }
}

void ZylHeaderPanel::resetIndicatorColour()
{
    if (indicatorLabel->findColour(juce::Label::backgroundColourId) == kIndicatorAlarm)
        indicatorLabel->setColour(juce::Label::backgroundColourId,
                                  getLookAndFeel().findColour(juce::ComboBox::backgroundColourId));
}

void ZylHeaderPanel::receiveMessage(void* sender, int code, int)
{
    const int event = zylMessageEvent(code);

    if (auto* transport = getTransportModule())
    {
        if (sender == transport->getStateParameter())
        {
            switch (event)
            {
            case zylMessageEvent(kBarChanged):
            case zylMessageEvent(kBeatChanged):
                updateTransportDisplay();
                resetIndicatorColour();
                break;
            case zylMessageEvent(kValueChanged):
                updateStartButton();
                resetIndicatorColour();
                break;
            case zylMessageEvent(kTransportTick):
                updateStartButton();
                updateTransportDisplay();
                resetIndicatorColour();
                break;
            default:
                break;
            }
            return;
        }
        if (sender == transport->getBpmParameter() || sender == transport->getNumeratorParameter()
            || sender == transport->getDenominatorParameter())
        {
            updateTransportDisplay();
            resetIndicatorColour();
            return;
        }
    }

    auto* programModule = getProgramModule();
    if (programModule == nullptr || sender != programModule->getCommandParameter()
        || zylMessageLowByte(code) != kCauseCommand)
        return;

    switch (event)
    {
    case kCommandSavePreset: savePreset(); break;
    case kCommandLoadPreset: loadPreset(); break;
    case kCommandSaveBank: savePresetBank(); break;
    case kCommandLoadBank: loadPresetBank(); break;
    case kCommandRenamePreset: renamePreset(); break;
    default: break;
    }
}

juce::PopupMenu ZylHeaderPanel::createFileMenu()
{
    juce::PopupMenu menu;
    menu.addItem(kLoadBankItem, "Load Preset Bank...");
    menu.addItem(kLoadPresetItem, "Load Preset...");
    menu.addSeparator();
    menu.addItem(kSaveBankItem, "Save Preset Bank As...");
    menu.addItem(kSavePresetItem, "Save Preset As...");
    menu.addSeparator();
    menu.addItem(kRenamePresetItem, "Rename Preset...");
    return menu;
}

juce::PopupMenu ZylHeaderPanel::createHelpMenu()
{
    juce::PopupMenu menu;
    menu.addItem(kHelpItem, "Help...");
    menu.addSeparator();
    menu.addItem(kProductHomeItem, "Product home");
    menu.addItem(kOnlineManualItem, "Online manual");
    menu.addItem(kLatestUpdatesItem, "Latest updates");
    menu.addSeparator();
    menu.addItem(kAboutItem, "About...");
    return menu;
}

int ZylHeaderPanel::commandCodeForMenuItem(int itemId)
{
    switch (itemId)
    {
    case kLoadBankItem: return zylCommandCode(kCommandLoadBank);
    case kLoadPresetItem: return zylCommandCode(kCommandLoadPreset);
    case kSaveBankItem: return zylCommandCode(kCommandSaveBank);
    case kSavePresetItem: return zylCommandCode(kCommandSavePreset);
    case kRenamePresetItem: return zylCommandCode(kCommandRenamePreset);
    case kHelpItem: return zylCommandCode(kCommandHelp);
    case kProductHomeItem: return zylCommandCode(kCommandProductHome);
    case kOnlineManualItem: return zylCommandCode(kCommandOnlineManual);
    case kLatestUpdatesItem: return zylCommandCode(kCommandLatestUpdates);
    case kAboutItem: return zylCommandCode(kCommandAbout);
    default: return 0;
    }
}

void ZylHeaderPanel::handleMenuChoice(int itemId)
{
    const int code = commandCodeForMenuItem(itemId);
    if (code == 0)
        return;
    // File items post through the program module, help items through the help module.
    ZylModule* target = itemId < kHelpItem ? static_cast<ZylModule*>(getProgramModule())
                                           : static_cast<ZylModule*>(getHelpModule());
    if (target != nullptr)
        if (auto* command = target->getCommandParameter())
            command->sendMessage(code);
}

void ZylHeaderPanel::buttonClicked(juce::Button* button)
{
    if (button == stopButton)
    {
        if (auto* transport = getTransportModule())
            transport->stop();
    }
    else if (button == startButton)
    {
        if (auto* transport = getTransportModule())
            transport->restart();
    }
    else if (button == fileButton || button == helpButton)
    {
        auto menu = button == fileButton ? createFileMenu() : createHelpMenu();
        handleMenuChoice(
            menu.showMenu(juce::PopupMenu::Options().withTargetComponent(button)));
    }
}

void ZylHeaderPanel::labelTextChanged(juce::Label* label)
{
    auto* transport = getTransportModule();
    if (transport == nullptr)
        return;

    auto setTyped = [](ZylParameter* parameter, float value) {
        const juce::ScopedLock lock(parameter->getLock());
        parameter->setValue(value, kCauseUser, false, true);
    };

    const auto text = label->getText();
    if (label == bpmLabel)
    {
        setTyped(transport->getBpmParameter(), static_cast<float>(text.getDoubleValue()));
    }
    else if (label == timeSignatureLabel)
    {
        // Without a "/" both take the whole text: "7" means 7/7.
        setTyped(transport->getNumeratorParameter(),
                 static_cast<float>(leadingInteger(text.upToFirstOccurrenceOf("/", false, false))));
        setTyped(transport->getDenominatorParameter(),
                 static_cast<float>(leadingInteger(text.fromLastOccurrenceOf("/", false, false))));
    }
}

juce::File ZylHeaderPanel::getLastUsedFile(const juce::String& extension) const
{
    juce::String path;
    if (auto* programModule = getProgramModule())
        if (auto* props = programModule->getPropertySet())
            path = props->getValue(lastUsedFileKey(extension));

    if (path.isNotEmpty() && juce::File::isAbsolutePath(path))
    {
        const juce::File remembered(path);
        if (remembered.getParentDirectory().isDirectory())
            return remembered;
        // Its folder has gone (a deleted folder, a removed drive): the same name, where a file
        // can be written.
        return defaultFileFolder().getChildFile(remembered.getFileName());
    }

    return defaultFileFolder().getNonexistentChildFile("untitled", extension, false);
}

void ZylHeaderPanel::setLastUsedFile(const juce::File& file)
{
    if (auto* programModule = getProgramModule())
        if (auto* props = programModule->getPropertySet())
            props->setValue(lastUsedFileKey(file.getFileExtension()),
                                 file.getFullPathName());
}

bool ZylHeaderPanel::loadSuspended(const std::function<bool(ZylModule&)>& load)
{
    auto* root = getRootModule();
    if (root == nullptr)
        return false;
    auto* host = getModuleContainer()->getFilter();
    const bool wasSuspended = host != nullptr && host->isSuspended();
    if (host != nullptr && !wasSuspended)
        host->setSuspended(true);
    const bool ok = load(*root);
    if (host != nullptr && !wasSuspended)
        host->setSuspended(false);
    return ok;
}

void ZylHeaderPanel::reportFailure(bool ok, const juce::File& file, const juce::String& message)
{
    if (ok)
        setLastUsedFile(file);
    else
        ZylUiSeam::get().showMessageBox(juce::MessageBoxIconType::WarningIcon, "Error", message,
                                        "OK", this);
}

bool ZylHeaderPanel::chooseFile(const juce::String& chooserTitle, const juce::String& extension,
                                bool save, juce::File& chosen) const
{
    ZylUiSeam::FileRequest request;
    request.title = chooserTitle;
    // A save starts at the remembered file itself, a load in its folder.
    const auto lastUsed = getLastUsedFile(extension);
    request.initialFile = save ? lastUsed : lastUsed.getParentDirectory();
    request.patterns = "*" + extension;
    request.save = save;
    request.warnAboutOverwriting = true;
    return ZylUiSeam::get().chooseFile(request, chosen) && chosen != juce::File();
}

void ZylHeaderPanel::savePresetBank()
{
    juce::File file;
    if (!chooseFile("Save Preset Bank (*.fxb)", ".fxb", true, file))
        return;
    auto* root = getRootModule();
    reportFailure(root != nullptr && root->saveBankToFile(file), file, kWriteFailed);
}

void ZylHeaderPanel::loadPresetBank()
{
    juce::File file;
    if (!chooseFile("Load Preset Bank (*.fxb)", ".fxb", false, file))
        return;
    reportFailure(loadSuspended([&file](ZylModule& root) { return root.loadBankFromFile(file); }),
                  file, kReadFailed);
}

void ZylHeaderPanel::savePreset()
{
    juce::File file;
    if (!chooseFile("Save Preset (*.fxp)", ".fxp", true, file))
        return;
    auto* root = getRootModule();
    auto* programModule = getProgramModule();
    reportFailure(root != nullptr && programModule != nullptr
                      && root->saveProgramToFile(programModule->getCurrentProgram(), file),
                  file, kWriteFailed);
}

void ZylHeaderPanel::loadPreset()
{
    juce::File file;
    if (!chooseFile("Load Preset (*.fxp)", ".fxp", false, file))
        return;
    auto* programModule = getProgramModule();
    const int index = programModule != nullptr ? programModule->getCurrentProgram() : -1;
    reportFailure(loadSuspended([&file, index](ZylModule& root) {
                      return root.loadProgramFromFile(index, file);
                  }),
                  file, kReadFailed);
}

void ZylHeaderPanel::renamePreset()
{
    auto* programModule = getProgramModule();
    if (programModule == nullptr)
        return;
    const int index = programModule->getCurrentProgram();
    const auto name = programModule->getProgramName(index);

    ZylUiSeam::TextPrompt prompt;
    prompt.title = "Rename preset";
    prompt.message = "New preset name:";
    prompt.editorName = "programName";
    prompt.okText = "      OK      ";
    prompt.cancelText = "   Cancel   ";
    auto text = name;
    if (!ZylUiSeam::get().promptText(prompt, text))
        return;

    auto* parameter = programModule->getProgramParameter();
    const juce::ScopedLock lock(parameter->getLock());
    const auto& values = parameter->getDomain()->getValues();
    if (juce::isPositiveAndBelow(index, static_cast<int>(values.size())))
        values[static_cast<size_t>(index)]->setName(
            toStdWString(text), zylMessageCode(kDomainValuesChanged, kCauseUser), true);
}
