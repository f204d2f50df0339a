// Opening documents and URLs with their program, off the user-interface
// thread.
//
// The program for a file comes from the program memory "OpenFileEx.txt" in
// the client root (one line per extension: ".xls=/opt/sheets/bin/sheets"),
// else the desktop's opener ("xdg-open", which knows the associations). The
// user may pick another program (the windows layer installs the chooser);
// the pick is remembered for the extension.
//
// Programs are started with an argument vector: the document is one argument
// as it stands, never part of a command line that a shell parses, so no file
// name can smuggle in a command. A document starting with "-" is passed as
// "./-..." so that no program takes it for an option.
//
// OpenDocument is called on the user-interface thread; the start itself runs
// on a small worker pool. A document that cannot be opened gives no message.
#pragma once

#include <string>
#include <string_view>

namespace sp {

// Lets the user pick the program for a document. Installed by the windows
// layer; called on the thread of OpenDocument.
class IProgramChooser {
 public:
  virtual ~IProgramChooser() = default;
  // True when the user asks to pick the program for this opening.
  virtual bool ChoiceRequested() = 0;
  // Shows the choice, preset with `preset` (may be empty) or starting in
  // `startFolder`. False when the user cancels.
  virtual bool ChooseProgram(const std::string& preset, const std::string& startFolder, std::string& chosen) = 0;
};

// Installs the chooser (not owned); nullptr removes it. Without one the user
// is never asked.
void InstallProgramChooser(IProgramChooser* chooser);

// The name of the desktop's opener program.
inline constexpr std::string_view kDesktopOpener = "xdg-open";

// ClientRootFolder + "OpenFileEx.txt", after adopting an old file from
// "PLUGINS/" in the program folder (the old one replaces the new one).
std::string ProgramMemoryFile();
// The document without one pair of enclosing double quotes.
std::string UnquoteDocument(std::string_view document);
// The program the system opens the document with: the desktop opener's path
// when it is installed; empty when none.
std::string AssociatedProgram(std::string_view document);
// The remembered program for the document's extension (lower case, with its
// dot), else AssociatedProgram; empty when none.
std::string ChooseProgram(std::string_view document);

// Opens the document (a path or URL, possibly in double quotes) in the
// background with `verb` ("open"; the desktop opener knows no other verb, so
// every verb opens) and returns at once. With askAllowed the installed chooser
// may let the user pick the program; a cancelled pick opens nothing.
void OpenDocument(std::string_view verb, std::string_view document, bool askAllowed);

// Returns when every opening handed to the background so far has started its
// program (or failed to).
void WaitForOpenJobs();

}  // namespace sp
