#pragma once

#include "framework/ZylModule.h"

class ZylProgramDomain;
class ZylProgramDomainSet;
class ZylValue;

// The bank's 128 named programs and the one parameter that selects the current program. A
// change of that parameter from the interface switches the whole tree to the chosen program;
// the host's program calls switch at once (selectProgram with cause 3). The names are stored in
// the state's "ext" element: the whole list for a bank, the one program's for a program file.
//
// The program parameter lies in the global set, on an internal automation index, so the host
// does not list it (it selects programs through the processor's program calls). Its value's
// index is the current program. Names are read and written under the parameter's lock, so the
// host may ask for them from any thread; switches hold the callback lock.
class ZylProgramModule : public ZylModule
{
public:
    static constexpr std::int32_t kModuleId = 1000;
    static constexpr int kProgramParameterId = 0;

    explicit ZylProgramModule(ZylModuleContainer* container);
    ~ZylProgramModule() override;

    void initialise() override;
    // The index of the program parameter's current value.
    int getCurrentProgram() const override;
    // For a program: the "val" of that program; for a bank: the domain's "dom" of all names.
    std::unique_ptr<juce::XmlElement> createExtXml(bool programOnly, int programIndex) const override;
    // A "val" (program) renames the given program whatever its "i"; a "dom" renames programs by
    // position, at most 128. Anything else is ignored.
    void restoreExtXml(const juce::XmlElement& element, bool programOnly, int programIndex,
                       bool notify) override;
    // Tells the widgets that the names changed (posted with cause 5), then the children.
    void stateLoaded() override;
    // "null" for an index outside the bank.
    juce::String getProgramName(int index) const override;
    // Messages of the program parameter with any cause but the host's switch the tree to the
    // parameter's program under the callback lock and update the host's display.
    bool handleMessage(void* sender, int code, int timeMs) override;

    virtual ZylProgramDomainSet* getDomainSet() const;
    virtual ZylParameter* getProgramParameter() const;
    virtual ZylValue* getCurrentProgramValue() const;
    // Sets the program parameter to program index with that cause (notify, no force) under the
    // callback lock; with the host's cause (3) the tree switches before this returns. Indexes
    // outside the bank change nothing.
    virtual void selectProgram(int index, int cause);
    virtual int getNumPrograms() const;
    // Renames a program and tells the domain's parameters (code 0x0503, the host's cause), so
    // that the combo boxes rebuild their texts. Indexes outside the bank change nothing.
    virtual void setProgramName(int index, const juce::String& newName);

private:
    ZylProgramDomain* getProgramDomain() const;
    ZylValue* getProgramValue(int index) const;
    void switchTreeToCurrentProgram();

    ZylProgramDomainSet* domainSet = nullptr;
};
