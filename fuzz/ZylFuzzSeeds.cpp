// Writes the seed corpus of the loader fuzz targets: valid banks and programs saved from a test
// tree with changed parameters, names and properties, and damaged copies of them.
//
//   lumenfold_fuzz_seeds <corpus folder>   (the folder receives one sub-folder per target)

#include "framework/ZylFxFiles.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylValue.h"
#include "fuzz/ZylFuzzSupport.h"

#include <cstdio>

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
    return 0;
}
