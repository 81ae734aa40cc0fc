// Writes the factory bank: a fresh module tree (no ports, no bank loaded), the readable bank
// description applied to it, saved as a bank file.
//
//   lumenfold_make_factory_bank <description.txt> <output.fxb>
#include "app/ZylBankDescription.h"
#include "app/ZylLumenfoldModule.h"
#include "framework/ZylModuleContainer.h"

#include <juce_events/juce_events.h>

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::cerr << "usage: lumenfold_make_factory_bank <description.txt> <output.fxb>\n";
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    const juce::File descriptionFile(juce::File::getCurrentWorkingDirectory().getChildFile(argv[1]));
    const juce::File output(juce::File::getCurrentWorkingDirectory().getChildFile(argv[2]));

    juce::StringArray errors;
    ZylBankDescription description;
    if (!descriptionFile.existsAsFile())
    {
        std::cerr << "no file " << descriptionFile.getFullPathName() << "\n";
        return 1;
    }
    int result = 0;
    {
        ZylModuleContainer container;
        ZylLumenfoldModule root(&container, nullptr);
        container.setRootModule(&root);
        root.initialise();
        if (description.parse(descriptionFile.loadFileAsString(), errors)
            && description.applyTo(root, errors))
        {
            const auto bank = ZylBankDescription::makeBankFile(root);
            if (!output.replaceWithData(bank.getData(), bank.getSize()))
            {
                errors.add("cannot write " + output.getFullPathName());
            }
            else
            {
                std::cout << "wrote " << output.getFullPathName() << " (" << bank.getSize()
                          << " bytes)\n";
            }
        }
        if (!errors.isEmpty())
        {
            for (const auto& error : errors)
                std::cerr << descriptionFile.getFileName() << ": " << error << "\n";
            result = 1;
        }
        container.setRootModule(nullptr);
        ZylBankDescription::deliverMessages();
    }
    return result;
}
