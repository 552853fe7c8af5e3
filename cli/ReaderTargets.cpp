#include "cli/ReaderTargets.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "device/PortText.h"
#include "platform/PortNames.h"

namespace pelgar::cli {
namespace {

// The COM port names readers have always been offered on.
constexpr int kLastListedCom = 11;

// "com3" means COM3, as in pelgar's command line; other names are kept as typed.
std::string PortName(const std::string& typed) {
  if (typed.size() > 3 && (typed[0] == 'c' || typed[0] == 'C') &&
      (typed[1] == 'o' || typed[1] == 'O') && (typed[2] == 'm' || typed[2] == 'M') &&
      std::all_of(typed.begin() + 3, typed.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return "COM" + typed.substr(3);
  }
  return typed;
}

std::vector<std::string> DirectoryEntries() {
  std::vector<std::string> names;
  const std::string dir = platform::PortDirectory();
  if (dir.empty()) return names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::optional<std::vector<ReaderTarget>> ResolveTargets(const std::vector<std::string>& ports,
                                                        bool all, std::string* error) {
  std::vector<std::string> names;
  if (all) {
    if (platform::PortDirectory().empty()) {
      *error = "--all takes the port directory's entries, and this system has none";
      return std::nullopt;
    }
    names = DirectoryEntries();
    if (names.empty()) {
      *error = "--all: the port directory " + platform::PortDirectory() + " has no entries";
      return std::nullopt;
    }
  }
  for (const std::string& port : ports) names.push_back(PortName(port));
  if (names.empty()) names.emplace_back(device::kDefaultPortName);

  std::vector<ReaderTarget> targets;
  std::set<std::string> devices;
  for (const std::string& name : names) {
    std::string device = platform::DevicePathForPort(name);
    if (device.empty()) {
      *error = "no such port: \"" + name + "\" (COMn, a port directory entry or a device path)";
      return std::nullopt;
    }
    // One reader can be claimed once at a time: a port named twice is worked on once.
    if (devices.insert(device).second) targets.push_back({name, device});
  }
  return targets;
}

std::vector<ReaderTarget> KnownPorts() {
  std::vector<ReaderTarget> ports;
  for (int n = 1; n <= kLastListedCom; ++n) {
    const std::string name = "COM" + std::to_string(n);
    ports.push_back({name, platform::DevicePathForPort(name)});
  }
  for (const std::string& name : DirectoryEntries()) {
    const bool listed = std::any_of(ports.begin(), ports.end(),
                                    [&](const ReaderTarget& port) { return port.port == name; });
    if (!listed) ports.push_back({name, platform::DevicePathForPort(name)});
  }
  return ports;
}

}  // namespace pelgar::cli
