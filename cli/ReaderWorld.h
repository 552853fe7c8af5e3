#pragma once

#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/WireTrace.h"

namespace pelgar::cli {

// A reader named on the command line: the port as given and the device it stands for.
struct ReaderTarget {
  std::string port;    // COM3, or a device path
  std::string device;  // the port directory's entry, /dev/ttyS2, \\.\COM3, the path itself
};

// What one reader's job talks through. Each reader has a world of its own, so readers
// worked on at once share no clock, port or stream; only a wire trace is shared, and it
// writes each line whole.
class ReaderWorld {
 public:
  virtual ~ReaderWorld() = default;
  // Ports that open this reader's device, whatever name the device layer asks for.
  virtual platform::PortFactory& ports() = 0;
  virtual platform::Clock& clock() = 0;
};

class WorldMaker {
 public:
  virtual ~WorldMaker() = default;
  virtual std::unique_ptr<ReaderWorld> Make(const ReaderTarget& target) = 0;
};

// Ports that open `target` instead of the name they are given: the device layer speaks of
// "COM" and a port id, while a reader may be a device path that no port id can carry.
class PinnedPorts : public platform::PortFactory {
 public:
  PinnedPorts(std::unique_ptr<platform::PortFactory> inner, std::string target)
      : inner_(std::move(inner)), target_(std::move(target)) {}
  std::unique_ptr<platform::SerialPort> Create() override;

 private:
  std::unique_ptr<platform::PortFactory> inner_;
  std::string target_;
};

// The system's ports on a real clock of each reader's own (PELGAR_TIME_SCALE), traced into
// `trace` when there is one.
class SystemWorlds : public WorldMaker {
 public:
  explicit SystemWorlds(std::shared_ptr<platform::WireTrace> trace) : trace_(std::move(trace)) {}
  std::unique_ptr<ReaderWorld> Make(const ReaderTarget& target) override;

 private:
  std::shared_ptr<platform::WireTrace> trace_;
};

}  // namespace pelgar::cli
