// Launching another program: the print service's installer and the update
// script run beside the tool, with no window and without being waited for.
// The program's own process as well: the pause after a print, its end.
#pragma once

#include <string>

namespace platform {

// Starts the command line with its window hidden and returns at once. False
// when the program could not be started.
bool launchHidden(const std::string& commandLine);

class Process {
 public:
  virtual ~Process() = default;
  // launchHidden.
  virtual bool launchHidden(const std::string& commandLine) = 0;
  // Waits on this thread: the pause after a print job.
  virtual void pause(int milliseconds) = 0;
  // Ends the program once the current event has been handled.
  virtual void endProgram() = 0;
};

// This program's process (Windows only).
Process& systemProcess();

}  // namespace platform
