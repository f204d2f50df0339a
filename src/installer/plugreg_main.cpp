// plugreg: registers the Excel import module with the host. Started as
// "plugreg INSTALL" from the host's program folder, where it lies next to
// the module program; any other first argument, or none, ends it at once.
#include <cstdio>
#include <cstring>
#include <exception>

#include "installer/cursorfiles.h"
#include "installer/registration.h"
#include "support/files.h"
#include "support/text1252.h"

int main(int argc, char** argv) {
  // The existence test of the whole program is FileExistsSafe, which every
  // existence check here calls directly.
  sp::StageBusyCursors();
  if (argc < 2 || std::strcmp(argv[1], "INSTALL") != 0) return 0;
  try {
    sp::RegisterModule(sp::ProgramFolder());
  } catch (const std::exception& error) {
    // What a program reports for an error nobody handled: its text, and failure.
    std::fprintf(stderr, "plugreg: %s\n", sp::AnsiToUtf8(error.what()).c_str());
    return 1;
  }
  return 0;
}
