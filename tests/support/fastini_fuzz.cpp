// Fuzz entry for the INI text loader: loads the input as INI text, applies a
// few operations chosen by the input's first bytes and checks that the block
// scan agrees with the line-by-line one, that what the store writes is a
// fixed point of loading and saving, that a written value reads back, and
// that the line counts add up.
//
// Input: byte 0 = number of operations (low 4 bits); then 2 bytes per
// operation (operation, operands); the rest is the INI text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "support/fastini.h"
#include "support/iniscan.h"

namespace {

constexpr std::string_view kSections[] = {"A", "a", "S0", "\xC4", "", "[x]"};
constexpr std::string_view kKeys[] = {"k", "K", "x", "\xE4", "", "k0"};
// Values that read back as written (no ";" outside quotes, no outer blanks).
constexpr std::string_view kValues[] = {"", "v", "\"q;q\"", "long value 1234567", "0x1F", "a b"};

template <size_t N>
std::string_view Pick(const std::string_view (&pool)[N], unsigned byte) {
  return pool[byte % N];
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t operations = data[0] & 0x0F;
  const size_t head = 1 + 2 * operations;
  if (size < head) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + head, size - head);

  Check(sp::ScanIniText(text.substr(0, text.find('\0'))) == sp::ScanIniTextPlain(text.substr(0, text.find('\0'))));
  sp::TFastIniFile ini("");
  ini.LoadFromText(text);
  std::vector<std::string> list;
  for (size_t i = 0; i < operations; ++i) {
    const unsigned op = data[1 + 2 * i];
    const unsigned arg = data[2 + 2 * i];
    const std::string_view section = Pick(kSections, arg);
    const std::string_view key = Pick(kKeys, arg >> 3);
    const std::string_view value = Pick(kValues, op >> 3);
    switch (op % 8) {
      case 0:
        ini.ReadString(section, key, "?");
        break;
      case 1:
        if (key.empty() && section.empty()) break;  // a flush request; this object has no file
        ini.WriteString(section, key, value);
        if (!section.empty() && !key.empty()) Check(ini.ReadString(section, key, "?") == value);
        break;
      case 2: ini.DeleteKey(section, key); break;
      case 3: ini.EraseSection(section); break;
      case 4: ini.ReadSections(list); break;
      case 5: ini.ReadSectionValues(section, list); break;
      case 6: ini.ReadInteger(section, key, 0); break;
      case 7: ini.StripComments = !ini.StripComments; break;
    }
  }
  const sp::TStatistics& st = ini.Items().Statistics();
  Check(st.Blanks + st.Comments + st.Entries + st.Sections == ini.Items().Count());

  const std::string saved = ini.SaveToText();
  sp::TFastIniFile again("");
  again.LoadFromText(saved);
  Check(again.SaveToText() == saved);
  return 0;
}
