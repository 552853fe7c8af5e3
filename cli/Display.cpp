#include "cli/Display.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace pelgar::cli {
namespace {

constexpr int kBarWidth = 20;
constexpr const char* kClearLine = "\r\033[K";

const char* ResultName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kOk:
      return "ok";
    case Outcome::kFailed:
      return "failed";
    case Outcome::kDifferent:
      return "different";
  }
  return "";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string DifferenceText(const Difference& d) {
  return d.field + ": file " + Quoted(d.file) + ", reader " + Quoted(d.reader);
}

std::string Padded(std::string text, size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

}  // namespace

Display::Display(const CtlRequest& request, std::ostream& out, std::ostream& err, bool terminal)
    : request_(request), out_(out), err_(err), terminal_(terminal) {}

nlohmann::ordered_json Display::ToJson(const ReaderReport& report, Command command) {
  nlohmann::ordered_json object;
  object["port"] = report.port;
  object["device"] = report.device;
  object["command"] = CommandName(command);
  object["result"] = ResultName(report.outcome);
  if (report.failed()) object["error"] = report.error;
  for (const auto& [key, value] : report.data.items()) object[key] = value;
  if (report.outcome == Outcome::kDifferent) {
    nlohmann::ordered_json differences = nlohmann::ordered_json::array();
    for (const Difference& d : report.differences) {
      differences.push_back({{"field", d.field}, {"file", d.file}, {"reader", d.reader}});
    }
    object["differences"] = differences;
  }
  return object;
}

void Display::Start(const std::vector<Reader>& readers) {
  readers_ = readers;
  Tick();
}

void Display::Tick() {
  if (!live()) return;
  if (drawn_ > 0) out_ << "\033[" << drawn_ << "A";
  size_t width = 0;
  for (const Reader& reader : readers_) width = std::max(width, reader.report->port.size());
  for (const Reader& reader : readers_) {
    const ReaderStatus::View view = reader.status->Get();
    std::string line = Padded(reader.report->port, width + 2);
    if (view.done) {
      line += ResultName(reader.report->outcome);
    } else {
      line += Padded(view.step, 40);
      if (view.percent >= 0) {
        const int filled = view.percent * kBarWidth / 100;
        line += "[" + std::string(static_cast<size_t>(filled), '#') +
                std::string(static_cast<size_t>(kBarWidth - filled), ' ') + "] " +
                std::to_string(view.percent) + "%";
      }
    }
    out_ << kClearLine << line << '\n';
  }
  drawn_ = readers_.size();
  out_ << std::flush;
}

void Display::Finished(const ReaderReport& report) {
  // Ports are listed in their order at the end, not as their probes end.
  if (request_.command == Command::kPorts && !live()) return;
  Show(report);
}

void Display::Show(const ReaderReport& report) {
  if (request_.json) {
    out_ << ToJson(report, request_.command).dump() << std::endl;
    return;
  }
  if (live()) return;  // the table at the end says it
  if (report.failed()) {
    PrintFailure(report);
  } else {
    PrintLine(report);
  }
}

void Display::PrintLine(const ReaderReport& report) {
  if (!report.document.empty()) {
    out_ << report.document << std::flush;
    return;
  }
  if (!request_.quiet || report.outcome == Outcome::kDifferent) {
    if (report.outcome == Outcome::kDifferent) {
      for (const Difference& d : report.differences) {
        out_ << report.port << ": differs: " << DifferenceText(d) << '\n';
      }
    } else {
      out_ << report.port << ": " << report.summary << '\n';
    }
    out_ << std::flush;
  }
}

void Display::PrintFailure(const ReaderReport& report) {
  err_ << "pelgarctl: " << report.port << ": " << report.error << std::endl;
}

void Display::End() {
  if (request_.command == Command::kPorts && !live()) {
    for (const Reader& reader : readers_) Show(*reader.report);
    return;
  }
  if (!live()) return;
  Tick();
  // The live lines give way to the table.
  if (drawn_ > 0) out_ << "\033[" << drawn_ << "A";
  for (size_t i = 0; i < drawn_; ++i) out_ << kClearLine << '\n';
  if (drawn_ > 0) out_ << "\033[" << drawn_ << "A";
  drawn_ = 0;
  size_t width = 4;
  for (const Reader& reader : readers_) width = std::max(width, reader.report->port.size());
  out_ << Padded("PORT", width + 2) << Padded("RESULT", 11) << "DETAILS\n";
  for (const Reader& reader : readers_) {
    const ReaderReport& report = *reader.report;
    std::string details = report.summary;
    if (report.failed()) details = report.error;
    if (report.outcome == Outcome::kDifferent) {
      details.clear();
      for (const Difference& d : report.differences) {
        details += (details.empty() ? "" : "; ") + DifferenceText(d);
      }
    }
    out_ << Padded(report.port, width + 2) << Padded(ResultName(report.outcome), 11) << details
         << '\n';
  }
  out_ << std::flush;
  for (const Reader& reader : readers_) {
    if (reader.report->failed()) PrintFailure(*reader.report);
  }
}

}  // namespace pelgar::cli
