#include "support/settings.h"

#include <exception>

#include "support/fastini.h"
#include "support/files.h"
#include "support/formatting.h"

namespace sp {

namespace {

constexpr std::string_view kSection = "MODE";

std::string InFolder(std::string_view folder, std::string_view name) {
  return IncludeBackslash(folder.empty() ? ProgramFolder() : std::string(folder)) + std::string(name);
}

}  // namespace

std::string UserModeFile(std::string_view folder) { return InFolder(folder, "UserMode.INI"); }

std::string QuoteUserModeText(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

std::string UnquoteUserModeText(std::string_view quoted) {
  std::string text;
  for (size_t i = 1; i < quoted.size(); ++i) {
    if (quoted[i] != '"') {
      text += quoted[i];
    } else if (i + 1 < quoted.size() && quoted[i + 1] == '"') {
      text += '"';
      ++i;
    } else {
      break;
    }
  }
  return text;
}

void WriteUserModeString(std::string_view key, std::string_view value, std::string_view folder) {
  if (key.empty()) return;
  try {
    TFastIniFile ini(UserModeFile(folder));
    ini.WriteString(kSection, key, QuoteUserModeText(value));
    ini.UpdateFile();
  } catch (const std::exception&) {
    // Remembered values are a convenience; losing one must not stop the user.
  }
}

void WriteUserModeInteger(std::string_view key, int32_t value, std::string_view folder) {
  if (key.empty()) return;
  try {
    TFastIniFile ini(UserModeFile(folder));
    ini.WriteInteger(kSection, key, value);
    ini.UpdateFile();
  } catch (const std::exception&) {
  }
}

std::string ReadUserModeString(std::string_view key, std::string_view fallback, std::string_view folder,
                               bool writeBack) {
  if (key.empty()) return {};
  std::string result;
  try {
    TFastIniFile ini(UserModeFile(folder));
    result = ini.ReadString(kSection, key, fallback);
    if (!result.empty() && result.front() == '"') result = UnquoteUserModeText(result);
  } catch (const std::exception&) {
  }
  if (writeBack) WriteUserModeString(key, result, folder);
  return result;
}

int32_t ReadUserModeInteger(std::string_view key, int32_t fallback, std::string_view folder, bool writeBack) {
  if (key.empty()) return fallback;
  int32_t result = fallback;
  try {
    TFastIniFile ini(UserModeFile(folder));
    result = ini.ReadInteger(kSection, key, fallback);
  } catch (const std::exception&) {
  }
  if (writeBack) WriteUserModeInteger(key, result, folder);
  return result;
}

void LoadRegionalSettings(std::string_view folder) {
  TFormatSettings& formats = FormatSettings();
  try {
    TFastIniFile ini(InFolder(folder, "ALTEURO.INI"));
    std::string currency = ini.ReadString("EUCHAR", "VALUE", "");
    if (currency.empty()) currency = " \x80";  // a blank and the euro sign
    if (ini.ReadBool("EUCHAR", "NULL", false)) currency.clear();
    formats.CurrencyString = currency;
    formats.CurrencyFormat = 1;  // amount, then the currency text (its blank included)
    formats.NegCurrFormat = 5;   // minus, amount, currency text
    formats.ThousandSeparator = '.';
    formats.DecimalSeparator = ',';
    formats.CurrencyDecimals = 2;
    formats.DateSeparator = '.';
    if (!ini.ReadBool("COUNTRY", "EURO", true)) {
      formats.DecimalSeparator = '.';
      formats.ThousandSeparator = '\'';
    }
  } catch (const std::exception&) {
    // A broken regional file leaves the formats as far as they were set.
  }
}

}  // namespace sp
