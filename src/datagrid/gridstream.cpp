#include "datagrid/gridstream.h"

#include <algorithm>
#include <exception>

#include "datagrid/griddata.h"
#include "platform/errors.h"
#include "platform/stream.h"
#include "support/csvfield.h"
#include "support/formatting.h"

namespace sp {
namespace {

constexpr size_t kFlushSize = 1 << 16;

bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

void FlushIfFull(std::string& out, TStream& stream) {
  if (out.size() < kFlushSize) return;
  stream.WriteText(out);
  out.clear();
}

}  // namespace

bool TGridLineReader::Fill() {
  if (atEnd_) return false;
  filled_ = stream_.Read(block_, kBlockSize);
  position_ = 0;
  if (filled_ <= 0) {
    filled_ = 0;
    atEnd_ = true;
  }
  return !atEnd_;
}

bool TGridLineReader::Next(std::string& line) {
  line.clear();
  for (;;) {  // pass over the line ends before the line
    if (position_ == filled_ && !Fill()) return false;
    if (!IsLineEnd(block_[position_])) break;
    ++position_;
  }
  for (;;) {
    char* begin = block_ + position_;
    char* end = std::find_if(begin, block_ + filled_, IsLineEnd);
    line.append(begin, end);
    position_ = end - block_;
    if (position_ < filled_ || !Fill()) return true;
  }
}

void SplitGridFields(std::string_view line, std::vector<std::string>& fields) {
  size_t used = 0;
  auto next = [&]() -> std::string& {
    if (used == fields.size()) fields.emplace_back();
    std::string& field = fields[used++];
    field.clear();
    return field;
  };
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (c == ',') {
      next();
      ++i;
    } else if (c == '"') {
      std::string& field = next();
      ++i;
      while (i < line.size()) {
        if (line[i] != '"') {
          const size_t quote = line.find('"', i);
          const size_t stop = quote == std::string_view::npos ? line.size() : quote;
          field.append(line.substr(i, stop - i));
          i = stop;
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
          field += '"';
          i += 2;
        } else {
          i += 2;  // the closing quote and the comma after it
          break;
        }
      }
    } else {
      ++i;
    }
  }
  fields.resize(used);
}

void ConvertDecimalsInPlace(std::string& text, char decimalSeparator) {
  if (decimalSeparator == ',' || text.find(',') == std::string::npos) return;
  std::string converted = text;
  std::replace(converted.begin(), converted.end(), ',', decimalSeparator);
  std::replace(converted.begin(), converted.end(), '.', decimalSeparator);
  double value = 0;
  if (TextToFloat(converted, value)) text = std::move(converted);
}

void WriteGridStream(const TDataGridData& grid, TStream& stream) {
  const TDataGridColumns& columns = grid.Columns();
  std::string out;
  auto endLine = [&] {
    out += "\r\n";
    FlushIfFull(out, stream);
  };
  AppendQuoted(out, kDataDefStart);
  endLine();
  for (int c = 0; c < columns.Count(); ++c) {
    AppendQuoted(out, columns[c].FieldName());
    endLine();
  }
  AppendQuoted(out, kSecondField);
  endLine();
  AppendQuoted(out, kDataDefEnd);
  endLine();
  for (int c = 0; c < columns.Count(); ++c) {
    AppendQuoted(out, columns[c].DisplayName());
    out += ',';
  }
  AppendQuoted(out, kSecondField);
  out += ',';
  endLine();
  // Cells are taken by field name, so the first of two equal names wins.
  std::vector<int> source(static_cast<size_t>(columns.Count()));
  for (int c = 0; c < columns.Count(); ++c) source[static_cast<size_t>(c)] = columns.IndexOfField(columns[c].FieldName());
  for (int r = grid.FixedRows(); r < grid.RowCount(); ++r) {
    for (int c = 0; c < columns.Count(); ++c) {
      if (c > 0) out += ',';
      AppendEscapedQuoted(out, grid.Cell(source[static_cast<size_t>(c)], r));
    }
    out += ',';
    AppendEscapedQuoted(out, grid.Cell(-2, r));
    out += ',';
    endLine();
  }
  if (!out.empty()) stream.WriteText(out);
}

void ReadGridStream(TDataGridData& grid, TStream& stream) {
  enum class TPart { BeforeStart, Names, Caption, Data };
  TPart part = TPart::BeforeStart;
  std::vector<std::string> names;
  std::vector<int> fieldColumn;  // per listed name: the column, or -1 (also for the second line)
  TGridLineReader reader(stream);
  std::string line;
  std::vector<std::string> fields;
  const char decimalSeparator = FormatSettings().DecimalSeparator;
  int filled = 0;
  while (reader.Next(line)) {
    SplitGridFields(line, fields);
    const std::string_view first = fields.empty() ? std::string_view() : std::string_view(fields[0]);
    switch (part) {
      case TPart::BeforeStart:
        part = first == kDataDefStart ? TPart::Names : TPart::Data;
        continue;
      case TPart::Names:
        if (first == kDataDefEnd) part = TPart::Caption;
        else names.emplace_back(first);
        continue;
      case TPart::Caption:
        part = TPart::Data;
        continue;
      case TPart::Data:
        break;
    }
    if (fieldColumn.size() != names.size()) {
      for (const std::string& name : names) fieldColumn.push_back(name == kSecondField ? -1 : grid.IndexOfField(name));
    }
    if (filled == kMaxGridStreamRows) throw EStreamError("Grid stream holds too many rows");
    const int row = grid.FixedRows() + filled;
    if (row >= grid.RowCount()) grid.SetRowCount(row + 1);
    grid.ClearRow(row);
    ++filled;
    const size_t cols = static_cast<size_t>(grid.ColCount());
    const size_t paired = std::min({fields.size(), cols, fieldColumn.size()});
    for (size_t k = 0; k < paired; ++k) {
      const int col = fieldColumn[k];
      if (col < 0 || col >= grid.ColCount()) continue;
      std::string& text = fields[k];
      UnescapeInPlace(text);
      if (grid.Columns()[col].HoldsDecimals()) ConvertDecimalsInPlace(text, decimalSeparator);
      grid.SetCell(col, row, std::move(text));
    }
    if (fields.size() > cols) {
      UnescapeInPlace(fields[cols]);
      grid.SetSecondLine(row, fields[cols]);
    }
  }
  const int rows = grid.FixedRows() + filled;
  for (int r = rows; r < grid.RowCount(); ++r) grid.ClearRow(r);
  grid.SetRowCount(rows);
  grid.SetCurrent(1, 1);
}

}  // namespace sp
