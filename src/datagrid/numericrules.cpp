#include "datagrid/numericrules.h"

#include <algorithm>

#include "support/formatting.h"
#include "support/text1252.h"

namespace sp {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

TNumericRules NumericRulesOf(TEditDataType_ kind, int digits, int precision) {
  TNumericRules rules;
  rules.Kind = kind;
  rules.Digits = digits;
  rules.Precision = precision;
  rules.DecimalSeparator = FormatSettings().DecimalSeparator;
  rules.CurrencyDecimals = FormatSettings().CurrencyDecimals;
  return rules;
}

TKeyVerdict NumericKeyVerdict(const TNumericRules& rules, std::string_view text, int selStart, int selLength,
                              char typed) {
  const char c = static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(typed)));
  const bool decimals = rules.Kind != deInteger;
  const bool allowed = IsDigit(c) || c == '-' || (decimals && (c == rules.DecimalSeparator || c == 'E'));
  if (!allowed) return TKeyVerdict::Refuse;
  selStart = std::clamp(selStart, 0, static_cast<int>(text.size()));
  selLength = std::clamp(selLength, 0, static_cast<int>(text.size()) - selStart);
  if (c == '-' && selStart != 0) return TKeyVerdict::Refuse;
  const bool repeated = (c == '-' || c == rules.DecimalSeparator) && text.find(c) != std::string_view::npos;
  if (repeated) return selLength > 0 ? TKeyVerdict::ClearThenAccept : TKeyVerdict::Refuse;
  if (rules.Kind == deCurrency) {
    std::string result(text.substr(0, static_cast<size_t>(selStart)));
    result += c;
    result += text.substr(static_cast<size_t>(selStart + selLength));
    const size_t separator = result.find(rules.DecimalSeparator);
    if (separator != std::string::npos && static_cast<int>(result.size() - separator - 1) > rules.Digits) {
      return TKeyVerdict::Refuse;
    }
  }
  return TKeyVerdict::Accept;
}

bool ConfirmNumericText(const TNumericRules& rules, std::string_view text, std::string& accepted) {
  if (text.empty()) {
    accepted.clear();
    return true;
  }
  size_t i = text[0] == '-' ? 1 : 0;
  const size_t intStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  const std::string_view whole = text.substr(intStart, i - intStart);
  std::string_view fraction;
  if (i < text.size() && text[i] == rules.DecimalSeparator && rules.Kind != deInteger) {
    const size_t fracStart = ++i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    fraction = text.substr(fracStart, i - fracStart);
  }
  if (i != text.size() || (whole.empty() && fraction.empty())) return false;  // exponents and strays
  if (static_cast<int>(whole.size()) > rules.Digits) return false;
  if (rules.Kind == deInteger) {
    accepted = std::string(text);
    return true;
  }
  const int places = rules.Kind == deFloat ? rules.Precision : rules.CurrencyDecimals;
  if (static_cast<int>(fraction.size()) > places) return false;
  accepted = std::string(text.substr(0, intStart));
  accepted += whole.empty() ? std::string_view("0") : whole;
  if (places > 0) {
    accepted += rules.DecimalSeparator;
    accepted += fraction;
    accepted.append(static_cast<size_t>(std::max(0, places - static_cast<int>(fraction.size()))), '0');
  }
  return true;
}

}  // namespace sp
