#include "platform/memtable/csvformat.h"

#include <cstring>
#include <optional>
#include <unordered_map>

#include "platform/memtable/fieldcodec.h"
#include "support/text1252.h"

namespace sp {
namespace {

constexpr std::string_view kVersionMarker = "@@FILE VERSION@@";
constexpr std::string_view kVersion = "251";
constexpr std::string_view kTableStart = "@@TABLEDEF START@@";
constexpr std::string_view kTableEnd = "@@TABLEDEF END@@";
constexpr std::string_view kIndexStart = "@@INDEXDEF START@@";
constexpr std::string_view kIndexEnd = "@@INDEXDEF END@@";
constexpr std::string_view kLineEnd = "\r\n";
constexpr size_t kValuesPerByte = 4;

TValueFormats FormatsOf(TCsvVariant variant) {
  return variant == TCsvVariant::Store ? TValueFormats::Fixed : TValueFormats::Regional;
}

// ---- Writing

void AppendFieldDefinition(std::string& out, const TFieldDef& def) {
  std::string line = def.Name + "=" + std::string(FieldTypeName(def.DataType)) + "," + std::to_string(def.Size) + ",";
  AppendQuoted(line, def.ShownName());
  line += ',';
  AppendQuoted(line, def.EditMask);
  line += ',';
  line += std::to_string(def.ShownWidth());
  if (def.Required) line += ",REQ";
  if (def.ReadOnly) line += ",RO";
  if (!def.Visible) line += ",INV";
  line += ',';
  line += FieldKindName(def.Kind);
  line += ',';
  AppendQuoted(line, def.DefaultExpression);
  AppendQuoted(out, line);
  out += kLineEnd;
}

// Index items stand bare unless they would not read back so.
void AppendIndexItem(std::string& line, const std::string& item) {
  if (item.find(',') == std::string::npos && (item.empty() || item.front() != '"')) {
    line += item;
  } else {
    AppendQuoted(line, item);
  }
}

void AppendIndexDefinition(std::string& out, const TIndexDef& def) {
  std::string line = def.Name + "=";
  AppendIndexItem(line, def.Fields);
  line += ',';
  AppendIndexItem(line, def.DisplayName);
  if (def.Descending) line += ",DESC";
  if (def.CaseInsensitive) line += ",CASE";
  if (def.NonMaintained) line += ",NONMT";
  if (def.Unique) line += ",UNIQ";
  AppendQuoted(out, line);
  out += kLineEnd;
}

void AppendDefinitionBlock(std::string& out, const TMemTable& table) {
  AppendQuoted(out, kVersionMarker);
  out += ',';
  AppendQuoted(out, kVersion);
  out += kLineEnd;
  AppendQuoted(out, kTableStart);
  out += kLineEnd;
  for (const TFieldDef& def : table.FieldDefs()) AppendFieldDefinition(out, def);
  AppendQuoted(out, kIndexStart);
  out += kLineEnd;
  for (const TIndexDef& def : table.IndexDefs()) AppendIndexDefinition(out, def);
  AppendQuoted(out, kIndexEnd);
  out += kLineEnd;
  AppendQuoted(out, kTableEnd);
  out += kLineEnd;
}

// ---- Reading

// A line's cells: quoted content undoubled, or a bare run up to the next
// comma; a cell that starts with a comma is null.
struct TCell {
  std::string text;
  bool null = false;
};

class TCellReader {
 public:
  explicit TCellReader(std::string_view line) : line_(line) {}

  bool Next(TCell& cell) {
    if (pos_ >= line_.size()) return false;
    cell.text.clear();
    cell.null = false;
    const char first = line_[pos_];
    if (first == ',') {
      cell.null = true;
      ++pos_;
      return true;
    }
    if (first == '"') {
      ReadQuoted(cell.text);
    } else {
      const size_t comma = line_.find(',', pos_);
      const size_t end = comma == std::string_view::npos ? line_.size() : comma;
      cell.text.assign(line_.substr(pos_, end - pos_));
      pos_ = end;
    }
    // Whatever stands between a closing quote and the next comma is dropped.
    const size_t comma = line_.find(',', pos_);
    pos_ = comma == std::string_view::npos ? line_.size() : comma + 1;
    return true;
  }

 private:
  void ReadQuoted(std::string& out) {
    ++pos_;
    while (pos_ < line_.size()) {
      const size_t quote = line_.find('"', pos_);
      if (quote == std::string_view::npos) {
        out.append(line_.substr(pos_));
        pos_ = line_.size();
        return;
      }
      out.append(line_.substr(pos_, quote - pos_));
      if (quote + 1 < line_.size() && line_[quote + 1] == '"') {
        out += '"';
        pos_ = quote + 2;
      } else {
        pos_ = quote + 1;
        return;
      }
    }
  }

  std::string_view line_;
  size_t pos_ = 0;
};

std::vector<TCell> ReadCells(std::string_view line) {
  std::vector<TCell> cells;
  TCellReader reader(line);
  TCell cell;
  while (reader.Next(cell)) cells.push_back(std::move(cell));
  return cells;
}

std::string FirstValue(std::string_view line) {
  TCellReader reader(line);
  TCell cell;
  return reader.Next(cell) ? cell.text : std::string();
}

// The first value of a line when it may be one of the "@@" markers, else "";
// saves copying a record's first value, which may be a large blob.
std::string MarkerOf(std::string_view line) {
  const bool candidate = line.substr(0, 2) == "@@" || line.substr(0, 3) == "\"@@";
  return candidate ? FirstValue(line) : std::string();
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// Hands out the lines of a text, cut at every run of CR, LF and NUL.
class TLineReader {
 public:
  explicit TLineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    while (pos_ < text_.size() && IsLineBreak(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return false;
    const size_t start = pos_;
    while (pos_ < text_.size() && !IsLineBreak(text_[pos_])) ++pos_;
    line = text_.substr(start, pos_ - start);
    ++number_;
    return true;
  }
  int Number() const { return number_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int number_ = 0;
};

[[noreturn]] void RaiseBadDefinition(std::string_view line) {
  throw EMemTableError("Invalid field definition in CSV file. (" + std::string(line) + ")");
}

std::optional<int> ReadNumber(const std::string& text) {
  const auto value = TextToValue(TFieldType::ftInteger, text, TValueFormats::Fixed);
  if (!value) return std::nullopt;
  return static_cast<int>(std::get<int64_t>(*value));
}

// Splits "name=rest" and reads rest as cells.
bool SplitDefinition(std::string_view inner, std::string& name, std::vector<TCell>& cells) {
  const size_t equals = inner.find('=');
  if (equals == std::string_view::npos || equals == 0) return false;
  name.assign(inner.substr(0, equals));
  cells = ReadCells(inner.substr(equals + 1));
  return true;
}

TFieldDef ReadFieldDefinition(std::string_view line) {
  const std::string inner = FirstValue(line);
  TFieldDef def;
  std::vector<TCell> cells;
  if (!SplitDefinition(inner, def.Name, cells) || cells.empty()) RaiseBadDefinition(line);
  const auto type = FieldTypeFromName(cells[0].text);
  if (!type || ValueClassOf(*type) == TValueClass::Unsupported)
    throw EMemTableError("Unknown field type (" + cells[0].text + ") in CSV file. (" + std::string(line) + ")");
  def.DataType = *type;
  size_t i = 1;
  if (i < cells.size()) {
    const auto size = ReadNumber(cells[i++].text);
    if (!size || *size < 0) RaiseBadDefinition(line);
    def.Size = *size;
  }
  if (i < cells.size()) def.DisplayName = cells[i++].text;
  if (i < cells.size()) def.EditMask = cells[i++].text;
  if (i < cells.size()) {
    const auto width = ReadNumber(cells[i++].text);
    if (!width) RaiseBadDefinition(line);
    def.DisplayWidth = *width;
  }
  for (; i < cells.size(); ++i) {
    const std::string& word = cells[i].text;
    if (word == "REQ") {
      def.Required = true;
    } else if (word == "RO") {
      def.ReadOnly = true;
    } else if (word == "INV") {
      def.Visible = false;
    } else {
      break;
    }
  }
  if (i < cells.size()) {
    const auto kind = FieldKindFromName(cells[i++].text);
    if (!kind) RaiseBadDefinition(line);
    def.Kind = *kind;
  }
  if (i < cells.size()) def.DefaultExpression = cells[i].text;
  return def;
}

TIndexDef ReadIndexDefinition(std::string_view line) {
  const std::string inner = FirstValue(line);
  TIndexDef def;
  std::vector<TCell> cells;
  if (!SplitDefinition(inner, def.Name, cells)) RaiseBadDefinition(line);
  size_t i = 0;
  if (i < cells.size()) def.Fields = cells[i++].text;
  if (i < cells.size()) def.DisplayName = cells[i++].text;
  for (; i < cells.size(); ++i) {
    const std::string& word = cells[i].text;
    if (word == "DESC") def.Descending = true;
    if (word == "CASE") def.CaseInsensitive = true;
    if (word == "NONMT") def.NonMaintained = true;
    if (word == "UNIQ") def.Unique = true;
  }
  return def;
}

// What a load builds before it touches the table.
class TCsvLoader {
 public:
  TCsvLoader(const TMemTable& table, std::string_view text, TCsvVariant variant)
      : variant_(variant), lines_(text), valueBudget_(kValuesPerByte * text.size()) {
    for (const TFieldDef& def : table.FieldDefs()) fields_.AddField(def);
  }

  void Run() {
    std::string_view line;
    while (lines_.Next(line)) {
      const std::string first = MarkerOf(line);
      if (first == kVersionMarker) continue;
      if (!haveHeader_ && first == kTableStart) {
        ReadDefinitionBlock();
      } else if (!haveHeader_) {
        ReadHeader(line);
      } else {
        ReadRecord(line);
      }
    }
  }

  void CommitTo(TMemTable& table) {
    if (redefined_) {
      table.ClearFields();
      for (const TFieldDef& def : fields_.FieldDefs()) table.AddField(def);
      table.IndexDefs() = fields_.IndexDefs();
    }
    for (auto& record : records_) table.AddRecord(std::move(record));
    table.First();
  }

 private:
  void ReadDefinitionBlock() {
    std::string_view line;
    if (variant_ != TCsvVariant::Store) {
      while (lines_.Next(line))
        if (MarkerOf(line) == kTableEnd) break;
      return;
    }
    TMemTable fresh;
    bool inIndexes = false;
    while (lines_.Next(line)) {
      const std::string first = MarkerOf(line);
      if (first == kTableEnd) break;
      if (first == kIndexStart) {
        inIndexes = true;
      } else if (first == kIndexEnd) {
        inIndexes = false;
      } else if (inIndexes) {
        fresh.IndexDefs().push_back(ReadIndexDefinition(line));
      } else {
        fresh.AddField(ReadFieldDefinition(line));
      }
    }
    fields_ = std::move(fresh);
    redefined_ = true;
  }

  void ReadHeader(std::string_view line) {
    std::unordered_map<std::string, int> byName;
    for (int i = 0; i < fields_.FieldCount(); ++i) byName.emplace(AnsiUpperCase(fields_.FieldDef(i).ShownName()), i);
    TCellReader reader(line);
    TCell cell;
    while (reader.Next(cell)) {
      const auto found = byName.find(AnsiUpperCase(cell.text));
      columns_.push_back(found == byName.end() ? -1 : found->second);
    }
    haveHeader_ = true;
  }

  void ReadRecord(std::string_view line) {
    const auto fieldCount = static_cast<size_t>(fields_.FieldCount());
    if (fieldCount > valueBudget_)
      throw EMemTableError("CSV file holds more values than its size allows, line " + std::to_string(lines_.Number()));
    valueBudget_ -= fieldCount;
    std::vector<TFieldValue> record(fieldCount);
    TCellReader reader(line);
    TCell cell;
    for (size_t column = 0; column < columns_.size() && reader.Next(cell); ++column) {
      const int field = columns_[column];
      if (field < 0 || cell.null) continue;
      const TFieldDef& def = fields_.FieldDef(field);
      auto value = CsvCellToValue(def.DataType, cell.text, FormatsOf(variant_));
      if (!value)
        throw EMemTableError("Invalid value for field '" + def.Name + "' in CSV file, line " +
                             std::to_string(lines_.Number()));
      record[static_cast<size_t>(field)] = std::move(*value);
    }
    records_.push_back(std::move(record));
  }

  TCsvVariant variant_;
  TLineReader lines_;
  size_t valueBudget_;
  TMemTable fields_;  // the field layout in force; never holds records
  bool redefined_ = false;
  bool haveHeader_ = false;
  std::vector<int> columns_;
  std::vector<std::vector<TFieldValue>> records_;
};

}  // namespace

std::string TableToCsv(const TMemTable& table, TCsvVariant variant) {
  std::string out;
  if (variant == TCsvVariant::Store) AppendDefinitionBlock(out, table);
  for (const TFieldDef& def : table.FieldDefs()) {
    AppendQuoted(out, def.ShownName());
    out += ',';
  }
  out += kLineEnd;
  const TValueFormats formats = FormatsOf(variant);
  for (int r = 0; r < table.RecordCount(); ++r) {
    const auto& record = table.Record(r);
    for (int f = 0; f < table.FieldCount(); ++f) {
      AppendCsvCell(out, table.FieldDef(f).DataType, record[static_cast<size_t>(f)], formats);
      out += ',';
    }
    out += kLineEnd;
  }
  return out;
}

void SaveTableToCsv(const TMemTable& table, TStream& stream, TCsvVariant variant) {
  stream.WriteText(TableToCsv(table, variant));
}

void LoadTableFromCsv(TMemTable& table, std::string_view text, TCsvVariant variant) {
  if (table.State() != TTableState::Browse) throw EMemTableError("Dataset in edit or insert mode");
  TCsvLoader loader(table, text, variant);
  loader.Run();
  loader.CommitTo(table);
}

void LoadTableFromCsv(TMemTable& table, TStream& stream, TCsvVariant variant) {
  LoadTableFromCsv(table, stream.ReadRest(), variant);
}

}  // namespace sp
