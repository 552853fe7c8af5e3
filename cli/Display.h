#pragma once

#include <iosfwd>
#include <vector>

#include "cli/CtlRequest.h"
#include "cli/ReaderReport.h"

namespace pelgar::cli {

// How pelgarctl shows its readers, on the main thread only. With -j, one JSON object per
// reader and line as each finishes. On a terminal, one live line per reader (port, step,
// progress) while they work, then a table. Otherwise one line per reader as it finishes.
// Failures go to standard error with their cause; -q leaves out the lines of successes.
class Display {
 public:
  struct Reader {
    const ReaderReport* report;  // its port, and its outcome once finished
    const ReaderStatus* status;
  };

  Display(const CtlRequest& request, std::ostream& out, std::ostream& err, bool terminal);

  void Start(const std::vector<Reader>& readers);
  // Redraws the live lines (a terminal's only).
  void Tick();
  void Finished(const ReaderReport& report);
  void End();

  // One reader's report as the JSON output's object.
  static nlohmann::ordered_json ToJson(const ReaderReport& report, Command command);

 private:
  bool live() const { return terminal_ && !request_.json && !request_.quiet; }
  void Show(const ReaderReport& report);
  void PrintLine(const ReaderReport& report);
  void PrintFailure(const ReaderReport& report);

  const CtlRequest& request_;
  std::ostream& out_;
  std::ostream& err_;
  const bool terminal_;
  std::vector<Reader> readers_;
  size_t drawn_ = 0;  // live lines on the screen
};

}  // namespace pelgar::cli
