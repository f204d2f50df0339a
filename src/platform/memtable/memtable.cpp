#include "platform/memtable/memtable.h"

#include <algorithm>
#include <cmath>

#include "platform/memtable/fieldcodec.h"
#include "support/formatting.h"
#include "support/text1252.h"

namespace sp {

namespace {

const TFieldValue kNull;

bool IsNullValue(const TFieldValue& value) { return std::holds_alternative<std::monostate>(value); }

bool HoldsDouble(TValueClass cls) {
  return cls == TValueClass::Float || cls == TValueClass::Date || cls == TValueClass::Time ||
         cls == TValueClass::DateTime;
}

}  // namespace

// The write side of a blob: edits the table's buffer in place, so the bytes
// are there whether the stream is freed before or after Post.
class TBlobWriteStream : public TStream {
 public:
  TBlobWriteStream(TMemTable& table, int field, uint64_t editNumber)
      : table_(table), field_(field), editNumber_(editNumber) {}

  int64_t Read(void* buffer, int64_t count) override {
    const std::string& bytes = table_.BlobBytes(field_, editNumber_);
    const int64_t available = static_cast<int64_t>(bytes.size()) - position_;
    const int64_t n = std::clamp<int64_t>(count, 0, std::max<int64_t>(available, 0));
    if (n > 0) std::copy_n(bytes.data() + position_, n, static_cast<char*>(buffer));
    position_ += n;
    return n;
  }
  int64_t Write(const void* buffer, int64_t count) override {
    if (count <= 0) return 0;
    std::string& bytes = table_.BlobBytes(field_, editNumber_);
    const auto end = static_cast<size_t>(position_ + count);
    if (end > bytes.size()) bytes.resize(end);
    std::copy_n(static_cast<const char*>(buffer), count, bytes.data() + position_);
    position_ += count;
    table_.modified_ = true;
    return count;
  }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    int64_t base = 0;
    if (origin == TSeekOrigin::Current) base = position_;
    if (origin == TSeekOrigin::End) base = static_cast<int64_t>(table_.BlobBytes(field_, editNumber_).size());
    position_ = std::max<int64_t>(0, base + offset);
    return position_;
  }
  void SetSize(int64_t newSize) override {
    table_.BlobBytes(field_, editNumber_).resize(static_cast<size_t>(std::max<int64_t>(newSize, 0)));
    position_ = std::min(position_, std::max<int64_t>(newSize, 0));
    table_.modified_ = true;
  }

 private:
  TMemTable& table_;
  int field_;
  uint64_t editNumber_;
  int64_t position_ = 0;
};

// ---- TField

const TFieldDef& TField::Def() const { return table_->FieldDef(index_); }
const TFieldValue& TField::Value() const { return table_->CurrentValue(index_); }
bool TField::IsNull() const { return IsNullValue(Value()); }

std::string TField::AsString() const {
  const TFieldValue& value = Value();
  if (IsNullValue(value)) return std::string();
  return ValueToText(Def().DataType, value, TValueFormats::Regional);
}

namespace {

[[noreturn]] void RaiseNotA(std::string_view text, std::string_view what) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + std::string(what));
}

// The value when it is held as T, else its text form read as `parseAs`.
template <typename T>
T HeldOrParsed(const TField& field, TFieldType parseAs, std::string_view what) {
  const TFieldValue& value = field.Value();
  if (IsNullValue(value)) return T{};
  if (const auto* held = std::get_if<T>(&value)) return *held;
  const std::string text = field.AsString();
  const auto parsed = TextToValue(parseAs, text, TValueFormats::Regional);
  if (!parsed) RaiseNotA(text, what);
  return std::get<T>(*parsed);
}

}  // namespace

int64_t TField::AsInteger() const { return HeldOrParsed<int64_t>(*this, TFieldType::ftLargeint, "integer value"); }

double TField::AsFloat() const {
  if (const auto* n = std::get_if<int64_t>(&Value())) return static_cast<double>(*n);
  return HeldOrParsed<double>(*this, TFieldType::ftFloat, "floating point value");
}

bool TField::AsBoolean() const { return HeldOrParsed<bool>(*this, TFieldType::ftBoolean, "boolean value"); }

double TField::AsDateTime() const { return HeldOrParsed<double>(*this, TFieldType::ftDateTime, "date and time"); }

void TField::SetAsString(std::string_view text) {
  const TFieldType type = Def().DataType;
  auto value = TextToValue(type, text, TValueFormats::Regional);
  if (!value) throw EConvertError("'" + std::string(text) + "' is not a valid value for field '" + Def().Name + "'");
  table_->SetValue(index_, std::move(*value));
}

// The text route checks an integer type's range and converts for the others.
void TField::SetAsInteger(int64_t value) { SetAsString(std::to_string(value)); }

void TField::SetAsFloat(double value) {
  if (HoldsDouble(ValueClassOf(Def().DataType))) return table_->SetValue(index_, value);
  SetAsString(FloatToText(value));
}

void TField::SetAsBoolean(bool value) {
  if (ValueClassOf(Def().DataType) == TValueClass::Boolean) return table_->SetValue(index_, value);
  SetAsString(value ? "True" : "False");
}

void TField::SetAsDateTime(double value) {
  const TValueClass cls = ValueClassOf(Def().DataType);
  if (HoldsDouble(cls)) return table_->SetValue(index_, value);
  SetAsString(DateTimeToText(value));
}

void TField::Clear() { table_->SetValue(index_, TFieldValue()); }

// ---- TMemTable: structure

void TMemTable::AddField(TFieldDef def) {
  CheckBrowseMode();
  if (ValueClassOf(def.DataType) == TValueClass::Unsupported)
    throw EMemTableError("Field type " + std::string(FieldTypeName(def.DataType)) + " is not supported");
  if (FindField(def.Name) >= 0) throw EMemTableError("Duplicate field name '" + def.Name + "'");
  if (FieldCount() >= kMaxFields) throw EMemTableError("Too many fields");
  fields_.push_back(std::move(def));
  for (auto& record : records_) record.emplace_back();
}

void TMemTable::AddField(std::string name, TFieldType type, int size) {
  TFieldDef def;
  def.Name = std::move(name);
  def.DataType = type;
  def.Size = size;
  AddField(std::move(def));
}

void TMemTable::ClearFields() {
  CheckBrowseMode();
  fields_.clear();
  indexes_.clear();
  EmptyTable();
}

int TMemTable::FindField(std::string_view name) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (SameText(fields_[i].Name, name)) return static_cast<int>(i);
  return -1;
}

TField TMemTable::FieldByName(std::string_view name) {
  const int index = FindField(name);
  if (index < 0) throw EMemTableError("Field '" + std::string(name) + "' not found");
  return TField(*this, index);
}

// ---- TMemTable: cursor

void TMemTable::First() {
  CheckBrowseMode();
  current_ = records_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = records_.empty();
}

void TMemTable::Last() {
  CheckBrowseMode();
  current_ = RecordCount() - 1;
  bof_ = records_.empty();
  eof_ = true;
}

void TMemTable::Next() {
  CheckBrowseMode();
  if (current_ + 1 < RecordCount()) {
    ++current_;
    bof_ = false;
  } else {
    eof_ = true;
  }
}

void TMemTable::Prior() {
  CheckBrowseMode();
  if (current_ > 0) {
    --current_;
    eof_ = false;
  } else {
    bof_ = true;
  }
}

bool TMemTable::Locate(std::string_view fieldName, std::string_view value) {
  CheckBrowseMode();
  const int field = FindField(fieldName);
  if (field < 0) throw EMemTableError("Field '" + std::string(fieldName) + "' not found");
  const TFieldType type = fields_[static_cast<size_t>(field)].DataType;
  const TValueClass cls = ValueClassOf(type);
  for (size_t i = 0; i < records_.size(); ++i) {
    const TFieldValue& v = records_[i][static_cast<size_t>(field)];
    bool equal;
    if (IsNullValue(v)) {
      equal = value.empty();
    } else if (cls == TValueClass::Text || cls == TValueClass::Binary) {
      equal = std::get<std::string>(v) == value;
    } else {
      equal = ValueToText(type, v, TValueFormats::Regional) == value;
    }
    if (equal) {
      current_ = static_cast<int>(i);
      bof_ = eof_ = false;
      return true;
    }
  }
  return false;
}

// ---- TMemTable: editing

void TMemTable::Append() {
  CheckBrowseMode();
  beforeInsert_ = current_;
  buffer_.assign(fields_.size(), TFieldValue());
  state_ = TTableState::Insert;
  modified_ = false;
  ++editNumber_;
}

void TMemTable::Edit() {
  if (state_ != TTableState::Browse) return;
  if (records_.empty()) return Append();
  if (current_ < 0) current_ = 0;
  buffer_ = records_[static_cast<size_t>(current_)];
  state_ = TTableState::Edit;
  modified_ = false;
  ++editNumber_;
}

void TMemTable::Post() {
  if (state_ == TTableState::Insert) {
    records_.push_back(std::move(buffer_));
    current_ = RecordCount() - 1;
  } else if (state_ == TTableState::Edit) {
    records_[static_cast<size_t>(current_)] = std::move(buffer_);
  } else {
    return;
  }
  buffer_.clear();
  state_ = TTableState::Browse;
  bof_ = eof_ = false;
  ++editNumber_;
}

void TMemTable::Cancel() {
  if (state_ == TTableState::Browse) return;
  if (state_ == TTableState::Insert) current_ = beforeInsert_;
  buffer_.clear();
  state_ = TTableState::Browse;
  ++editNumber_;
}

void TMemTable::Delete() {
  if (state_ == TTableState::Insert) return Cancel();
  if (state_ == TTableState::Edit) Cancel();
  if (records_.empty()) throw EMemTableError("Cannot perform this operation on an empty dataset");
  records_.erase(records_.begin() + current_);
  if (current_ >= RecordCount()) current_ = RecordCount() - 1;
  bof_ = current_ <= 0;
  eof_ = records_.empty();
}

void TMemTable::EmptyTable() {
  Cancel();
  records_.clear();
  current_ = -1;
  bof_ = eof_ = true;
}

void TMemTable::AddRecord(std::vector<TFieldValue> values) {
  records_.push_back(std::move(values));
  if (current_ < 0) {
    current_ = 0;
    bof_ = true;
    eof_ = false;
  }
}

std::unique_ptr<TStream> TMemTable::CreateBlobStream(int field, TBlobStreamMode mode) {
  const TValueClass cls = ValueClassOf(FieldDef(field).DataType);
  if (cls != TValueClass::Text && cls != TValueClass::Binary)
    throw EMemTableError("Field '" + FieldDef(field).Name + "' is not a blob field");
  if (mode == TBlobStreamMode::Read) {
    const TFieldValue& value = CurrentValue(field);
    return std::make_unique<TMemoryStream>(IsNullValue(value) ? std::string() : std::get<std::string>(value));
  }
  SetValue(field, std::string());
  return std::make_unique<TBlobWriteStream>(*this, field, editNumber_);
}

// ---- TMemTable: values

const TFieldValue& TMemTable::CurrentValue(int field) const {
  if (state_ != TTableState::Browse) return buffer_[static_cast<size_t>(field)];
  if (current_ < 0) return kNull;
  return records_[static_cast<size_t>(current_)][static_cast<size_t>(field)];
}

void TMemTable::SetValue(int field, TFieldValue value) {
  CheckEditing();
  const TFieldDef& def = FieldDef(field);
  if (def.ReadOnly) throw EMemTableError("Field '" + def.Name + "' cannot be modified");
  buffer_[static_cast<size_t>(field)] = std::move(value);
  modified_ = true;
}

std::string& TMemTable::BlobBytes(int field, uint64_t editNumber) {
  CheckEditing();
  if (editNumber != editNumber_) throw EMemTableError("Blob stream used after its edit ended");
  auto& value = buffer_[static_cast<size_t>(field)];
  if (IsNullValue(value)) value = std::string();
  return std::get<std::string>(value);
}

void TMemTable::CheckBrowseMode() {
  if (state_ == TTableState::Browse) return;
  if (modified_) {
    Post();
  } else {
    Cancel();
  }
}

void TMemTable::CheckEditing() const {
  if (state_ == TTableState::Browse) throw EMemTableError("Dataset not in edit or insert mode");
}

}  // namespace sp
