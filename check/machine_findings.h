#pragma once
// What the machine the checker runs on shows about one line: programs,
// documents, services and phone-book entries that are not there.
#include "check/finding.h"
#include "check/line_action.h"
#include "check/machine.h"

namespace skervo {

class MachineFindings {
  public:
    explicit MachineFindings(Machine& machine) : machine_(machine) {}
    // Lines that already carry an error are left alone. action is what the
    // runner will do with the line.
    void Find(const CheckedLine& line, const LineAction& action, Findings& findings);

  private:
    void FindInLaunch(const CheckedLine& line, std::string_view text, Findings& findings);
    void FindInClose(const CheckedLine& line, Findings& findings);
    void FindInConnection(const CheckedLine& line, const LineAction& action, Findings& findings);

    Machine& machine_;
    bool libraryReported_ = false;
};

}  // namespace skervo
