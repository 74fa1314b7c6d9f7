#pragma once
// The machine the checker runs on, asked through the platform: files,
// services and the dial-up phone book, read and never changed.
#include <optional>

#include "check/machine.h"
#include "common/run_state.h"

namespace skervo {

class SystemMachine final : public Machine {
  public:
    void AllowNetworkProbes() override;
    PathPlace PlaceOf(std::string_view path) override;
    bool Probes(std::string_view path) override;
    ProgramChoice ChooseProgram(std::string_view text) override;
    bool FileExists(const std::string& path) override;
    bool PathExists(const std::string& path) override;
    bool NamesDocumentOrFolder(const std::string& path) override;
    bool ClosesByPath(std::string_view name) override;
    Answer ServiceExists(const std::string& name) override;
    bool HasDialupLibrary() override;
    bool DefinesVariable(const std::string& name) override;
    Answer PhoneBookHas(const std::string& entry) override;
    std::vector<std::string> ServiceNames() override;
    std::vector<std::string> EntryNames() override;

  private:
    bool RemoteAccessManagerRuns();

    // The checker's own binding: the run's, in runState, is not its to fill.
    RasBinding ras_;
    std::optional<bool> dialupLibrary_;   // looked up once
    std::optional<bool> managerRunning_;  // asked once
    bool networkProbes_ = false;
};

}  // namespace skervo
