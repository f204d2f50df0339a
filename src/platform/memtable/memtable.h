// TMemTable: a small in-memory table of typed fields and records kept in
// insertion order, with a current record, an edit buffer and blob streams.
// It serves the order data map and the rules store; their CSV text form is
// in csvformat.h.
//
// Editing: Append or Edit fill an edit buffer from which Post writes the
// record (Append adds it at the end) and which Cancel drops. Moving to
// another record, Append, Edit, Locate or Delete while editing first posts a
// modified buffer and drops an unmodified one. Field values are read from the
// edit buffer while editing, else from the current record; writing needs the
// edit state. Values are never cut to a field's declared size.
//
// Field names are found without regard to case; Locate compares a field's
// text form exactly, byte for byte.
//
// Owner: whoever creates it. Field handles and blob streams refer to the
// table and must not outlive it. Not thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"
#include "platform/memtable/fielddefs.h"
#include "platform/stream.h"

namespace sp {

class EMemTableError : public Exception {
  using Exception::Exception;
};

enum class TTableState { Browse, Edit, Insert };
enum class TBlobStreamMode { Read, Write };

class TMemTable;

// One field of a table, as the current record (or the edit buffer) holds it.
// Getters of a null value give "", 0, false. A getter of another class than
// the field's converts through the text form and raises EConvertError when
// that text is no value of the wanted kind; setters convert the same way.
class TField {
 public:
  TField(TMemTable& table, int index) : table_(&table), index_(index) {}
  const TFieldDef& Def() const;
  int Index() const { return index_; }

  bool IsNull() const;
  const TFieldValue& Value() const;
  // Text and binary values as their bytes; other values in their regional text form.
  std::string AsString() const;
  int64_t AsInteger() const;
  double AsFloat() const;
  bool AsBoolean() const;
  double AsDateTime() const;

  // REQUIRES: the table is editing (else EMemTableError); the field is not read-only.
  void SetAsString(std::string_view text);
  void SetAsInteger(int64_t value);
  void SetAsFloat(double value);
  void SetAsBoolean(bool value);
  void SetAsDateTime(double value);
  void Clear();

 private:
  TMemTable* table_;
  int index_;
};

class TMemTable {
 public:
  static constexpr int kMaxFields = 1024;

  // ---- Structure. REQUIRES: the table is not editing.
  // Adds a field at the end (existing records get null). Raises
  // EMemTableError for a duplicate name, an unsupported type, or more than
  // kMaxFields fields.
  void AddField(TFieldDef def);
  // The common case: a data field with its name as display name.
  void AddField(std::string name, TFieldType type, int size = 0);
  // Drops every field, index and record.
  void ClearFields();
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  const TFieldDef& FieldDef(int index) const { return fields_[static_cast<size_t>(index)]; }
  const std::vector<TFieldDef>& FieldDefs() const { return fields_; }
  // Index of a field by name, any case; -1 when there is none.
  int FindField(std::string_view name) const;
  // Raises EMemTableError "Field '%s' not found".
  TField FieldByName(std::string_view name);
  TField Fields(int index) { return TField(*this, index); }
  // Index definitions are kept for the CSV definition block; nothing is indexed.
  std::vector<TIndexDef>& IndexDefs() { return indexes_; }
  const std::vector<TIndexDef>& IndexDefs() const { return indexes_; }

  // ---- Records and the cursor.
  int RecordCount() const { return static_cast<int>(records_.size()); }
  bool IsEmpty() const { return records_.empty(); }
  // 0-based number of the current record, -1 when the table is empty.
  int RecNo() const { return current_; }
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  TTableState State() const { return state_; }
  void First();
  void Last();
  void Next();
  void Prior();
  // Makes the first record whose field `fieldName` has the text form `value`
  // current and returns true; false leaves the cursor where it was.
  bool Locate(std::string_view fieldName, std::string_view value);

  // Starts a new record, all null, to be added at the end by Post.
  void Append();
  // Starts editing the current record; on an empty table, Append.
  void Edit();
  void Post();  // nothing to do while browsing
  void Cancel();
  // Deletes the current record (in the insert state it cancels instead);
  // the next record, or else the new last one, becomes current. Raises
  // EMemTableError "Cannot perform this operation on an empty dataset".
  void Delete();
  // Drops every record; the fields stay.
  void EmptyTable();

  // A stream over a text or binary field of the current record. Read gives a
  // copy of the value. Write empties the value and writes into the edit
  // buffer; it raises EMemTableError once the edit has ended (posted or
  // cancelled). REQUIRES for Write: the table is editing.
  std::unique_ptr<TStream> CreateBlobStream(int field, TBlobStreamMode mode);

  // ---- Whole records, for loaders and writers.
  const std::vector<TFieldValue>& Record(int record) const { return records_[static_cast<size_t>(record)]; }
  // Adds a complete record at the end without touching the cursor (an empty
  // table's cursor moves to it). REQUIRES: values.size() == FieldCount().
  void AddRecord(std::vector<TFieldValue> values);

 private:
  friend class TField;
  friend class TBlobWriteStream;

  const TFieldValue& CurrentValue(int field) const;
  void SetValue(int field, TFieldValue value);
  std::string& BlobBytes(int field, uint64_t editNumber);
  void CheckBrowseMode();
  void CheckEditing() const;

  std::vector<TFieldDef> fields_;
  std::vector<TIndexDef> indexes_;
  std::vector<std::vector<TFieldValue>> records_;
  int current_ = -1;
  bool eof_ = true;
  bool bof_ = true;
  TTableState state_ = TTableState::Browse;
  std::vector<TFieldValue> buffer_;
  bool modified_ = false;
  int beforeInsert_ = -1;
  uint64_t editNumber_ = 0;  // counts edits, so a blob stream notices that its edit is over
};

}  // namespace sp
