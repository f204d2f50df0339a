// The rules of the numeric in-place editor (cfNumber columns): which typed
// characters it takes and which confirmed texts it accepts.
#pragma once

#include <string>
#include <string_view>

#include "datagrid/gridtypes.h"

namespace sp {

struct TNumericRules {
  TEditDataType_ Kind = deCurrency;
  int Digits = 2;     // NumericDigits
  int Precision = 2;  // NumericPrecision (deFloat)
  char DecimalSeparator = ',';
  int CurrencyDecimals = 2;
};

// The rules of a column under the process's formats.
TNumericRules NumericRulesOf(TEditDataType_ kind, int digits, int precision);

enum class TKeyVerdict { Refuse, Accept, ClearThenAccept };

// A character typed into `text` with the caret at `caret` and `selLength`
// bytes selected from `selStart`. Letters count upper-cased. deInteger takes
// digits and "-"; deCurrency and deFloat digits, "-", the decimal separator
// and "E". "-" only at caret position 0; a second "-" or separator only over
// a selection, which then clears the whole text first; deCurrency allows at
// most Digits characters after the separator.
TKeyVerdict NumericKeyVerdict(const TNumericRules& rules, std::string_view text, int selStart, int selLength,
                              char typed);

// The confirmed text: true with `accepted` set (decimals padded for deFloat
// and deCurrency) when it follows the rules; an empty text always passes.
bool ConfirmNumericText(const TNumericRules& rules, std::string_view text, std::string& accepted);

}  // namespace sp
