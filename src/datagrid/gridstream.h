// The grid stream: the text in which a data grid saves and loads its rows,
// naming columns by field name (docs/formats/grid-stream.md). The pieces are
// here so that tests and other readers share them; TDataGridData's
// SaveToStream / LoadFromStream wrap WriteGridStream / ReadGridStream.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sp {

class TStream;
class TDataGridData;

inline constexpr std::string_view kDataDefStart = "@@DATADEF START@@";
inline constexpr std::string_view kDataDefEnd = "@@DATADEF END@@";
inline constexpr std::string_view kSecondField = "SecondField";
// A stream with more data lines than this is refused (bounded memory).
inline constexpr int kMaxGridStreamRows = 1000000;

// Reads a stream's lines in 8192-byte blocks. A line ends at a run of CR, LF
// or NUL bytes, so empty lines never come out. Stream errors propagate.
class TGridLineReader {
 public:
  static constexpr int64_t kBlockSize = 8192;
  explicit TGridLineReader(TStream& stream) : stream_(stream) {}
  // The next line into `line`; false at the end of the stream.
  bool Next(std::string& line);

 private:
  bool Fill();

  TStream& stream_;
  char block_[kBlockSize];
  int64_t filled_ = 0;
  int64_t position_ = 0;
  bool atEnd_ = false;
};

// Splits one line into its fields, reusing `fields`. A field starts at the
// next double quote or comma (anything else in between is passed over); a
// comma gives an empty field; a quoted field runs to its closing quote, a
// doubled quote giving one, and the byte after the closing quote is passed
// over. An unclosed quote runs to the end of the line.
void SplitGridFields(std::string_view line, std::vector<std::string>& fields);

// The text stored into a deFloat or deCurrency column on loading: every ","
// becomes `decimalSeparator` and, when that changed the text, every "." too;
// the change is kept only when the result reads as a number.
void ConvertDecimalsInPlace(std::string& text, char decimalSeparator);

// Raise EStreamError (or the stream's error) on failure.
void WriteGridStream(const TDataGridData& grid, TStream& stream);
void ReadGridStream(TDataGridData& grid, TStream& stream);

}  // namespace sp
