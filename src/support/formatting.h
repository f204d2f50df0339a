// The process's number, currency and date formats, and the functions that turn
// numbers and dates into text and back with them. One TFormatSettings object
// holds the formats for the whole process (the regional settings step fills it
// at start); nothing here reads the C locale.
//
// Date-times are TDateTime: days since 30.12.1899 as a double, the time of day
// as its fraction (the serial numbers of workbooks use the same scale).
#pragma once

#include <string>
#include <string_view>

namespace sp {

using TDateTime = double;

struct TFormatSettings {
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
  std::string CurrencyString = "\x20\x80";  // a blank and the euro sign
  int CurrencyFormat = 1;                   // amount, then the currency text
  int NegCurrFormat = 5;                    // minus, amount, currency text
  int CurrencyDecimals = 2;
  char DateSeparator = '.';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd.mm.yyyy";
  std::string LongDateFormat = "dddd, d. mmmm yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "vorm.";
  std::string TimePMString = "nachm.";
  std::string ShortMonthNames[12] = {"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun",
                                     "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  std::string LongMonthNames[12] = {"Januar", "Februar", "M\xE4rz",     "April",   "Mai",      "Juni",
                                    "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  std::string ShortDayNames[7] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};  // Sunday first
  std::string LongDayNames[7] = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
};

// The process-wide formats. Changed only at start, on the owner thread.
TFormatSettings& FormatSettings();

// Up to 15 significant digits, trailing zeros dropped, the decimal separator
// in force, no grouping; exponent form ("1,5E20", "1E-5") when the value has
// more than 15 integer digits or is below 1E-4 in magnitude. NaN and
// infinities give "NAN", "INF", "-INF".
std::string FloatToText(double value);
// Reads a float: optional blanks, sign, digits with the decimal separator in
// force, optional exponent, optional blanks. False (value untouched) otherwise.
bool TextToFloat(std::string_view text, double& value);
// TextToFloat, or `fallback` when the text is not a number.
double TextToFloatOr(std::string_view text, double fallback);

// Formats with a number pattern: "0" a digit always shown, "#" a digit shown
// when significant, "." the decimal separator's place, "," anywhere in the
// integer part turns on thousands grouping, "E+"/"E-" exponent form, text in
// single or double quotes and other characters copied, ";" separates the
// positive, negative and zero sections. An empty pattern gives FloatToText.
std::string FormatFloat(std::string_view pattern, double value);

// The calendar runs from 01.01.0001 to 31.12.9999. Outside it (and for NaN)
// DecodeDate and DecodeTime give zeros, and FormatDateTime and DateTimeToText
// give the value's FloatToText.
inline constexpr TDateTime kMinDateTime = -693594.0;  // 31.12.0000
inline constexpr TDateTime kMaxDateTime = 2958466.0;  // 01.01.10000
bool InCalendar(TDateTime value);

// Calendar conversion. EncodeDate returns false for an impossible date.
bool EncodeDate(int year, int month, int day, TDateTime& result);
bool EncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// Formats with a date pattern: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (a
// month, or minutes right after h/hh), yy yyyy, h hh, n nn, s ss, z zzz,
// am/pm a/p ampm, c, t tt, "/" the date separator, ":" the time separator,
// quoted text copied. Letter case of the specifiers does not matter.
std::string FormatDateTime(std::string_view pattern, TDateTime value);
// Short date, then a blank and the long time when the time of day is not
// zero; the long time alone when the day part is zero.
std::string DateTimeToText(TDateTime value);
// Reads the short date order (day, month, year) with the date separator,
// then optionally a time with the time separator. False when it is no date.
bool TextToDateTime(std::string_view text, TDateTime& value);

}  // namespace sp
