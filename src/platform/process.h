// Starting other programs. A program gets an argument vector that goes to the
// new process as it stands: no shell ever parses a command line, so no text
// (a file name, say) can smuggle in a command.
#pragma once

#include <string>
#include <vector>

namespace sp {

// Starts `program` (a path, or a name searched in PATH) with `arguments`.
// Returns the process number, 0 when the start failed (missing or not
// executable program included).
int StartProcess(const std::string& program, const std::vector<std::string>& arguments);

// True while the process runs. Reaps it when it has ended.
bool ProcessRunning(int pid);

// Waits until the process has ended and returns its exit status (128 + signal
// when it was killed, -1 when it is not our child).
int WaitProcess(int pid);

// Path of the running program's file.
std::string ExecutablePath();

}  // namespace sp
