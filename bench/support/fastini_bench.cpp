// Reads one key of a generated INI file of 200 sections x 250 keys, and
// writes one key and flushes, through TFastIniFile and through QSettings
// (IniFormat) in the same run. Each run works on its own copy of the file, so
// neither side profits from a parse cached by an earlier run. Prints the
// median times, their ratio and whether the rewritten file equals the
// original except for the changed line.
//
// Usage: fastini_bench [runs]   (default 25)
#include <QSettings>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/filesys.h"
#include "support/fastini.h"
#include "support/files.h"

namespace {

constexpr int kSections = 200;
constexpr int kKeys = 250;
const std::string kSection = "Section100";
const std::string kKey = "Key125";

std::string GeneratedIni() {
  std::string text = "; generated for the INI benchmark\r\n";
  for (int s = 0; s < kSections; ++s) {
    text += "\r\n[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < kKeys; ++k)
      text += "Key" + std::to_string(k) + "=Value " + std::to_string(s) + "." + std::to_string(k) + "\r\n";
  }
  return text;
}

double MedianMs(int runs, const std::function<void(int)>& work) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work(run);
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Lines of `after` that differ from `before` (and how many lines each has).
struct TDiff {
  size_t beforeLines, afterLines, differing;
  std::string firstDifference;
};
TDiff Compare(const std::string& before, const std::string& after) {
  const auto a = sp::TextToLines(before);
  const auto b = sp::TextToLines(after);
  TDiff diff{a.size(), b.size(), 0, ""};
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const std::string x = i < a.size() ? a[i] : "<none>";
    const std::string y = i < b.size() ? b[i] : "<none>";
    if (x == y) continue;
    if (diff.differing++ == 0) diff.firstDifference = "line " + std::to_string(i + 1) + ": \"" + x + "\" -> \"" + y + "\"";
  }
  return diff;
}

std::string Read(const std::string& path) {
  std::string bytes;
  if (sp::ReadWholeFile(path, bytes) != 0) std::exit(2);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25;
  std::string folder = sp::SystemTempFolder() + "/fastini-bench-XXXXXX";
  if (!::mkdtemp(folder.data())) return 2;
  const std::string original = GeneratedIni();
  auto copy = [&](const std::string& side, int run) {
    const std::string path = folder + "/" + side + std::to_string(run) + ".ini";
    if (sp::ReplaceFileContent(path, original) != 0) std::exit(2);
    return path;
  };
  std::vector<std::string> oursRead, qtRead, oursWrite, qtWrite;
  for (int run = 0; run < runs; ++run) {
    oursRead.push_back(copy("ours-read", run));
    qtRead.push_back(copy("qt-read", run));
    oursWrite.push_back(copy("ours-write", run));
    qtWrite.push_back(copy("qt-write", run));
  }
  const QString qtKey = QString::fromStdString(kSection + "/" + kKey);

  std::string oursValue, qtValue;
  const double oursReadMs = MedianMs(runs, [&](int run) {
    sp::TFastIniFile ini(oursRead[static_cast<size_t>(run)]);
    oursValue = ini.ReadString(kSection, kKey, "");
  });
  const double qtReadMs = MedianMs(runs, [&](int run) {
    QSettings settings(QString::fromStdString(qtRead[static_cast<size_t>(run)]), QSettings::IniFormat);
    qtValue = settings.value(qtKey).toString().toStdString();
  });
  const double oursWriteMs = MedianMs(runs, [&](int run) {
    sp::TFastIniFile ini(oursWrite[static_cast<size_t>(run)]);
    ini.WriteString(kSection, kKey, "changed");
    ini.UpdateFile();
  });
  const double qtWriteMs = MedianMs(runs, [&](int run) {
    QSettings settings(QString::fromStdString(qtWrite[static_cast<size_t>(run)]), QSettings::IniFormat);
    settings.setValue(qtKey, "changed");
    settings.sync();
  });

  std::printf("INI benchmark: %d sections x %d keys, %zu bytes, median of %d runs, a fresh copy per run\n", kSections,
              kKeys, original.size(), runs);
  std::printf("  values read: TFastIniFile \"%s\", QSettings \"%s\"\n", oursValue.c_str(), qtValue.c_str());
  std::printf("  first read of one key (new object, load + lookup): TFastIniFile %8.3f ms  QSettings %8.3f ms  "
              "QSettings/TFastIniFile %.1fx\n",
              oursReadMs, qtReadMs, qtReadMs / oursReadMs);
  std::printf("  write one key + flush (new object):               TFastIniFile %8.3f ms  QSettings %8.3f ms  "
              "QSettings/TFastIniFile %.1fx\n",
              oursWriteMs, qtWriteMs, qtWriteMs / oursWriteMs);

  const TDiff ours = Compare(original, Read(oursWrite[0]));
  const TDiff qt = Compare(original, Read(qtWrite[0]));
  const bool oursExact = ours.differing == 1 && ours.beforeLines == ours.afterLines &&
                         Read(oursWrite[0]).size() == original.size() - std::string("Value 100.125").size() + 7;
  std::printf("  rewritten by TFastIniFile: %zu of %zu lines differ (%s); byte-identical except the changed line: %s\n",
              ours.differing, ours.beforeLines, ours.firstDifference.c_str(), oursExact ? "yes" : "NO");
  std::printf("  rewritten by QSettings:    %zu lines differ, %zu lines before, %zu after\n", qt.differing,
              qt.beforeLines, qt.afterLines);
  sp::RemoveTree(folder);
  const bool goal = qtReadMs >= 3 * oursReadMs && oursExact;
  std::printf("  goal (first read >= 3x faster, exact rewrite): %s\n", goal ? "met" : "NOT MET");
  return goal ? 0 : 1;
}
