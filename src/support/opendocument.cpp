#include "support/opendocument.h"

#include <atomic>
#include <thread>

#include "platform/errors.h"
#include "platform/filesys.h"
#include "platform/process.h"
#include "support/files.h"
#include "support/links.h"
#include "support/stringlistex.h"
#include "support/text1252.h"
#include "support/workerpool.h"

namespace sp {

namespace {

std::atomic<IProgramChooser*> installedChooser{nullptr};

// What one background opening needs; the worker touches nothing else.
struct TShellThreadJob {
  std::string verb;
  std::string document;
  std::string program;  // empty: the desktop opener
};

TWorkerPool& ShellPool() {
  static TWorkerPool pool(2);
  return pool;
}

// A started program is our child until it ends; waiting for it on a thread
// of its own keeps the pool free and leaves no zombie behind.
void ReapWhenEnded(int pid) {
  std::thread([pid] { WaitProcess(pid); }).detach();
}

void RunShellJob(const TShellThreadJob& job) {
  std::string document = UnquoteDocument(job.document);
  if (document.empty()) return;
  if (document.front() == '-') document = "./" + document;
  const std::string program = job.program.empty() ? std::string(kDesktopOpener) : job.program;
  const int pid = RunProgram(program, {document}, false);
  if (pid != 0) ReapWhenEnded(pid);
}

// A native path of `name` in a folder of $PATH whose file may be executed.
std::string FindInPath(std::string_view name) {
  const std::string path = EnvironmentText("PATH");
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    const std::string folder = path.substr(start, end - start);
    if (!folder.empty()) {
      const std::string candidate = folder + "/" + std::string(name);
      const TPathStatus status = QueryPath(candidate);
      if (status.error == 0 && !status.isFolder && (status.mode & 0111) != 0) return candidate;
    }
    start = end + 1;
  }
  return {};
}

TStringListEx LoadProgramMemory(const std::string& file) {
  TStringListEx memory;
  try {
    LoadStringsRetry(memory.Lines, file);
  } catch (const Exception&) {
    memory.Lines.clear();
  }
  return memory;
}

}  // namespace

void InstallProgramChooser(IProgramChooser* chooser) { installedChooser.store(chooser); }

std::string ProgramMemoryFile() {
  static constexpr std::string_view kName = "OpenFileEx.txt";
  const std::string target = ClientRootFolder() + std::string(kName);
  AdoptOldFile(ProgramFolder() + "PLUGINS" + PathDelimiter + std::string(kName), target, true);
  return target;
}

std::string UnquoteDocument(std::string_view document) {
  if (document.size() >= 2 && document.front() == '"' && document.back() == '"') {
    document = document.substr(1, document.size() - 2);
  }
  return std::string(document);
}

std::string AssociatedProgram(std::string_view document) {
  return std::string(Trim(Utf8ToAnsi(FindInPath(kDesktopOpener))));
}

std::string ChooseProgram(std::string_view document) {
  const std::string extension = AnsiLowerCase(ExtractFileExt(UnquoteDocument(document)));
  const std::string remembered = LoadProgramMemory(ProgramMemoryFile()).ValueOf(extension);
  return remembered.empty() ? AssociatedProgram(document) : remembered;
}

void OpenDocument(std::string_view verb, std::string_view document, bool askAllowed) {
  const std::string plain = UnquoteDocument(document);
  std::string program = IsUrl(plain) ? std::string() : ChooseProgram(plain);

  IProgramChooser* chooser = installedChooser.load();
  if (askAllowed && chooser && chooser->ChoiceRequested()) {
    const std::string preset = AssociatedProgram(plain);
    std::string chosen;
    if (!chooser->ChooseProgram(preset, preset.empty() ? ExtractFilePath(program) : std::string(), chosen)) return;
    const std::string file = ProgramMemoryFile();
    TStringListEx memory = LoadProgramMemory(file);
    memory.SetValueOf(AnsiLowerCase(ExtractFileExt(plain)), chosen);
    try {
      SaveStringsRetry(memory.Lines, file);
    } catch (const Exception&) {
      // Not remembered this time; the document still opens with the pick.
    }
    program = chosen;
  }

  ShellPool().Post([job = TShellThreadJob{std::string(verb), std::string(document), program}] { RunShellJob(job); });
}

void WaitForOpenJobs() { ShellPool().WaitIdle(); }

}  // namespace sp
