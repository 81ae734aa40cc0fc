// Writes the seed corpus of the fuzz targets: valid banks and programs saved from a test tree with
// changed parameters, names and properties, and damaged copies of them; the product's full bank
// of 128 programs; settings files as the program writes them; MIDI blocks recorded from the
// product playing its demo track, and a block of every kind of message.
//
//   lumenfold_fuzz_seeds <corpus folder>   (the folder receives one sub-folder per target)

#include "app/MainAppWindow.h"
#include "app/lumenfoldApplication.h"
#include "framework/ZylFxFiles.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylValue.h"
#include "fuzz/ZylFuzzMidiBlocks.h"
#include "fuzz/ZylFuzzSupport.h"
#include "modules/ZylTransportModule.h"
#include "tests/app/ZylLumenfoldTestFilter.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"

#include <cstdio>
#include <vector>

namespace
{
void write(const juce::File& folder, const juce::String& name, const juce::MemoryBlock& data)
{
    folder.createDirectory();
    folder.getChildFile(name).replaceWithData(data.getData(), data.getSize());
}

juce::MemoryBlock prefix(std::uint8_t first, const juce::MemoryBlock& rest)
{
    juce::MemoryBlock block(&first, 1);
    block.append(rest.getData(), rest.getSize());
    return block;
}

juce::MemoryBlock cut(const juce::MemoryBlock& block, size_t size)
{
    return juce::MemoryBlock(block.getData(), juce::jmin(size, block.getSize()));
}

void change(zyltest::StateTree& tree)
{
    auto& leaf = tree.leaf();
    leaf.programParameter(3, 0)->setValueObject(leaf.level()->getDomain()->getValues()[33],
                                                kCauseUser, false, false);
    leaf.programParameter(3, 1)->setValue(98.5f, kCauseUser, false, false);
    leaf.programParameter(3, 2)->setValueObject(leaf.port()->getDomain()->getValues()[2],
                                                kCauseUser, false, false);
    leaf.power()->setValueObject(leaf.power()->getDomain()->getValues()[1], kCauseUser, false,
                                 false);
    tree.programs().setProgramName(3, juce::String(juce::CharPointer_UTF8("Caf\xc3\xa9 & <3>")));
    tree.inner().deviceName = "Port \"B\"";
    tree.root->getPropertySet()->setValue("editorWidth", 1001);
    tree.leaf().getPropertySet()->setValue("lastUsedFileNameWinfxp", "C:\\x.fxp");
    zylfuzz::deliverMessages();
}

juce::MemoryBlock blockOf(const std::vector<std::uint8_t>& bytes)
{
    return juce::MemoryBlock(bytes.data(), bytes.size());
}

// A settings file written by JUCE's properties file with the program's options, holding what the
// window stores at exit: its position, a JACK setup and the processor's state.
juce::MemoryBlock settingsFileOf(const juce::MemoryBlock& state,
                                 juce::PropertiesFile::StorageFormat format)
{
    juce::TemporaryFile temporary(".settings");
    auto options = lumenfoldApplication::settingsOptions();
    options.storageFormat = format;
    {
        juce::PropertiesFile settings(temporary.getFile(), options);
        settings.setValue("windowX", 140);
        settings.setValue("windowY", 222);
        const auto setup = juce::parseXML(
            R"(<DEVICESETUP deviceType="JACK" audioOutputDeviceName="system" audioInputDeviceName="system" audioDeviceRate="44100" audioDeviceBufferSize="512"/>)");
        settings.setValue("audioSetup", setup.get());
        settings.setValue("filterState", state.toBase64Encoding());
        settings.saveIfNeeded();
    }
    juce::MemoryBlock file;
    temporary.getFile().loadFileAsData(file);
    return file;
}

// The MIDI that reaches the built-in synth while the factory program plays its demo track, block
// by block, in the MIDI target's layout (blocks of 509 samples).
std::vector<std::uint8_t> recordDemoTrack(zyltest::LumenfoldTestFilter& filter, int blocks)
{
    constexpr std::uint8_t kSizeByte = 127;
    const int numSamples = zylfuzzmidi::blockSamplesOf(kSizeByte);
    filter.setPlayConfigDetails(0, 2, 44100.0, 512);
    filter.prepareToPlay(44100.0, 512);
    filter.root().getTransportModule()->start();
    zylfuzz::deliverMessages();
    std::vector<std::uint8_t> recorded;
    juce::AudioBuffer<float> audio(2, numSamples);
    for (int b = 0; b < blocks; ++b)
    {
        juce::MidiBuffer midi;
        filter.processBlock(audio, midi);
        zylfuzzmidi::writeBlock(recorded, kSizeByte, *filter.root().getSynthInCable().getBuffer());
        zylfuzz::deliverMessages();
    }
    filter.root().getTransportModule()->stop();
    filter.releaseResources();
    zylfuzz::deliverMessages();
    return recorded;
}

// One block of each kind of message on channel 2 and beyond: notes, an aftertouch, controllers,
// a program change, a pitch bend, clock and song position, a system exclusive, all notes off, an
// event past the block's end and a data byte without a status.
std::vector<std::uint8_t> everyKindOfMessage()
{
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::noteOn(2, 60, (juce::uint8) 100), 0);
    midi.addEvent(juce::MidiMessage::noteOn(2, 64, (juce::uint8) 90), 0);
    midi.addEvent(juce::MidiMessage::noteOn(3, 67, (juce::uint8) 80), 10);
    midi.addEvent(juce::MidiMessage::aftertouchChange(2, 60, 50), 20);
    midi.addEvent(juce::MidiMessage::controllerEvent(2, 64, 127), 30);
    midi.addEvent(juce::MidiMessage::controllerEvent(2, 1, 64), 40);
    midi.addEvent(juce::MidiMessage::programChange(2, 5), 50);
    midi.addEvent(juce::MidiMessage::pitchWheel(2, 12000), 60);
    midi.addEvent(juce::MidiMessage::channelPressureChange(2, 30), 70);
    midi.addEvent(juce::MidiMessage::midiStart(), 80);
    midi.addEvent(juce::MidiMessage::midiClock(), 90);
    midi.addEvent(juce::MidiMessage::songPositionPointer(16), 100);
    const std::uint8_t sysex[] = { 0x7E, 0x7F, 0x09, 0x01 };
    midi.addEvent(juce::MidiMessage::createSysExMessage(sysex, sizeof(sysex)), 110);
    midi.addEvent(juce::MidiMessage::noteOff(2, 60), 300);
    midi.addEvent(juce::MidiMessage::allNotesOff(2), 400);
    midi.addEvent(juce::MidiMessage::midiStop(), 500);
    midi.addEvent(juce::MidiMessage::noteOn(2, 72, (juce::uint8) 100), 515);
    std::vector<std::uint8_t> out;
    zylfuzzmidi::writeBlock(out, 127, midi);
    const std::uint8_t loose[] = { 0, 1, 0, 3, 0x45 };
    out.insert(out.end(), std::begin(loose), std::end(loose));
    return out;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI juce;
    zylfuzz::initialise();
    const juce::File corpus(juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]));

    zyltest::StateTree tree;
    change(tree);
    const auto bank = tree.bank();
    const auto program = tree.program(3);
    const auto id = ZylFx::makeFourCC('Q', 'V', '0', '2');
    const auto bankFile = makeFxbFile(bank, id);
    const auto programFile = makeFxpFile(program, id, "Init");

    const auto bankFolder = corpus.getChildFile("bank_loader");
    write(bankFolder, "bank", bank);
    write(bankFolder, "bank-cut", cut(bank, bank.getSize() / 3));
    write(bankFolder, "program-as-bank", program);
    write(bankFolder, "fresh-bank", zyltest::StateTree().bank());

    const auto programFolder = corpus.getChildFile("program_loader");
    write(programFolder, "program-3", prefix(3, program));
    write(programFolder, "program-into-127", prefix(127, program));
    write(programFolder, "program-out-of-range", prefix(200, program));
    write(programFolder, "program-cut", prefix(9, cut(program, program.getSize() / 2)));

    const auto chunkFolder = corpus.getChildFile("fx_chunks");
    write(chunkFolder, "bank.fxb", bankFile);
    write(chunkFolder, "program.fxp", programFile);
    write(chunkFolder, "bank-header-only.fxb", cut(bankFile, ZylFx::kBankHeaderSize));
    write(chunkFolder, "bank-cut.fxb", cut(bankFile, 100));
    write(chunkFolder, "program-cut.fxp", cut(programFile, programFile.getSize() - 10));

    // The product's own full bank of 128 programs, which reaches the loaders' size limits.
    ZylFakeMidiPortBackend ports;
    zyltest::LumenfoldTestFilter product(&ports);
    product.initialise();
    zylfuzz::deliverMessages();
    juce::MemoryBlock productBank, productProgram;
    product.getStateInformation(productBank);
    product.getCurrentProgramStateInformation(productProgram);
    write(bankFolder, "product-bank", productBank);
    write(programFolder, "product-program-5", prefix(5, productProgram));
    write(programFolder, "product-bank-as-program", prefix(0, productBank));
    write(chunkFolder, "product-bank.fxb", makeFxbFile(productBank, id));

    const auto settingsFolder = corpus.getChildFile("settings_file");
    const auto settingsFile = settingsFileOf(productBank, juce::PropertiesFile::storeAsXML);
    write(settingsFolder, "settings", settingsFile);
    write(settingsFolder, "settings-program-state", settingsFileOf(productProgram, juce::PropertiesFile::storeAsXML));
    write(settingsFolder, "settings-cut", cut(settingsFile, settingsFile.getSize() / 2));
    write(settingsFolder, "settings-binary", settingsFileOf(productBank, juce::PropertiesFile::storeAsBinary));
    write(settingsFolder, "settings-compressed",
          settingsFileOf(productBank, juce::PropertiesFile::storeAsCompressedBinary));

    const auto midiFolder = corpus.getChildFile("midi_input");
    const auto track = recordDemoTrack(product, 400);
    const auto withHeader = [&](bool fromPort, int trigger, int channel, const std::vector<std::uint8_t>& blocks) {
        std::vector<std::uint8_t> out;
        zylfuzzmidi::writeHeader(out, fromPort, trigger, channel);
        out.insert(out.end(), blocks.begin(), blocks.end());
        return blockOf(out);
    };
    write(midiFolder, "demo-track-host-every-channel", withHeader(false, 0, 0, track));
    write(midiFolder, "demo-track-port-channel-1", withHeader(true, 1, 1, track));
    write(midiFolder, "every-kind-host-channel-2", withHeader(false, 2, 2, everyKindOfMessage()));
    write(midiFolder, "every-kind-port-every-channel", withHeader(true, 3, 0, everyKindOfMessage()));
    return 0;
}
