// The four busy cursors as animated-cursor files (RIFF "ACON"): the program
// resources "crCursor_ajax01" to "crCursor_ajax04" under the cursor numbers
// -4997 to -4994. Each is a spinner of eight dots, 32 x 32 pixels, one bit
// per pixel, eight frames at 100 ms; the four differ in the ring's size.
//
// StageBusyCursors is the start-up step of a program without a display:
// each cursor is written to the system temp folder as "<number>.ani" and
// deleted again at once; failures are ignored, as a cursor that cannot be
// loaded only leaves the default one.
// The bytes are built once, on first use; thread-safe.
#pragma once

#include <string>
#include <vector>

namespace sp {

struct TCursorResource {
  int number;         // the cursor number it is registered under
  std::string name;   // the resource name
  std::string bytes;  // the .ani file
};

const std::vector<TCursorResource>& BusyCursorResources();

void StageBusyCursors();

}  // namespace sp
