#include "platform/memtable/memtable.h"

#include <gtest/gtest.h>

#include "memtablefixture.h"
#include "support/formatting.h"

namespace sp {
namespace {

using sp::testing::AddMapRecord;
using sp::testing::DefineMapFields;

std::string Idents(TMemTable& table) {
  std::string out;
  for (table.First(); !table.Eof(); table.Next()) out += table.FieldByName("Ident").AsString() + ";";
  return out;
}

TEST(MemTable, RecordsKeepInsertionOrderAndLocateIsExact) {
  TMemTable table;
  DefineMapFields(table);
  AddMapRecord(table, "b", "", "2");
  AddMapRecord(table, "a", "", "1");
  AddMapRecord(table, "B", "", "3");
  AddMapRecord(table, "a", "", "4");
  EXPECT_EQ(table.RecordCount(), 4);
  EXPECT_EQ(Idents(table), "b;a;B;a;");

  EXPECT_TRUE(table.Locate("Ident", "a"));
  EXPECT_EQ(table.RecNo(), 1);
  EXPECT_EQ(table.FieldByName("valueb").AsString(), "1");  // field names in any case
  EXPECT_TRUE(table.Locate("Ident", "B"));
  EXPECT_EQ(table.FieldByName("ValueB").AsString(), "3");
  EXPECT_FALSE(table.Locate("Ident", "A"));
  EXPECT_EQ(table.RecNo(), 2);  // unchanged by the failed search
  EXPECT_THROW(table.Locate("Nope", "a"), EMemTableError);
}

TEST(MemTable, EditPostCancelAndDelete) {
  TMemTable table;
  DefineMapFields(table);
  for (const char* key : {"k1", "k2", "k3"}) AddMapRecord(table, key, "", "x");

  ASSERT_TRUE(table.Locate("Ident", "k2"));
  table.Edit();
  EXPECT_EQ(table.State(), TTableState::Edit);
  table.FieldByName("ValueB").SetAsString("edited");
  table.Cancel();
  EXPECT_EQ(table.FieldByName("ValueB").AsString(), "x");
  table.Edit();
  table.FieldByName("ValueB").SetAsString("edited");
  table.Post();
  EXPECT_EQ(table.FieldByName("ValueB").AsString(), "edited");
  EXPECT_EQ(Idents(table), "k1;k2;k3;");

  // Moving on posts a modified buffer and drops an unmodified one.
  table.Append();
  table.FieldByName("Ident").SetAsString("k4");
  table.First();
  table.Append();
  table.First();
  EXPECT_EQ(Idents(table), "k1;k2;k3;k4;");

  table.First();
  while (table.RecordCount() > 2) table.Delete();
  EXPECT_EQ(Idents(table), "k3;k4;");
  table.Last();
  table.Delete();
  EXPECT_EQ(table.RecNo(), 0);
  table.Delete();
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_TRUE(table.Eof());
  EXPECT_THROW(table.Delete(), EMemTableError);
}

TEST(MemTable, WritingNeedsTheEditStateAndAWritableField) {
  TMemTable table;
  DefineMapFields(table);
  TFieldDef locked;
  locked.Name = "Locked";
  locked.ReadOnly = true;
  table.AddField(locked);
  EXPECT_THROW(table.FieldByName("Ident").SetAsString("x"), EMemTableError);
  table.Edit();  // on an empty table: a new record
  EXPECT_EQ(table.State(), TTableState::Insert);
  EXPECT_THROW(table.FieldByName("Locked").SetAsString("x"), EMemTableError);
  EXPECT_THROW(table.FieldByName("Missing"), EMemTableError);
  EXPECT_THROW(table.AddField("ident", TFieldType::ftString, 10), EMemTableError);
  table.Cancel();
  EXPECT_THROW(table.AddField("Ref", TFieldType::ftReference), EMemTableError);
}

TEST(MemTable, ValuesAreNeverCutToTheDeclaredSize) {
  TMemTable table;
  DefineMapFields(table);
  const std::string longText(500, 'L');
  AddMapRecord(table, "k", "", longText);
  EXPECT_EQ(table.FieldByName("ValueB").AsString(), longText);
}

TEST(MemTable, TypedFieldsConvertThroughTheirTextForms) {
  FormatSettings() = TFormatSettings();
  TMemTable table;
  table.AddField("I", TFieldType::ftSmallint);
  table.AddField("F", TFieldType::ftFloat);
  table.AddField("B", TFieldType::ftBoolean);
  table.AddField("D", TFieldType::ftDate);
  table.AddField("S", TFieldType::ftString, 20);
  table.Append();
  table.FieldByName("I").SetAsString("123");
  table.FieldByName("F").SetAsFloat(2.5);
  table.FieldByName("B").SetAsString("true");
  table.FieldByName("D").SetAsString("24.12.2026");
  table.FieldByName("S").SetAsInteger(42);
  EXPECT_THROW(table.FieldByName("I").SetAsInteger(40000), EConvertError);
  EXPECT_THROW(table.FieldByName("B").SetAsString("ja"), EConvertError);
  table.Post();

  EXPECT_EQ(table.FieldByName("I").AsInteger(), 123);
  EXPECT_EQ(table.FieldByName("F").AsString(), "2,5");
  EXPECT_TRUE(table.FieldByName("B").AsBoolean());
  EXPECT_EQ(table.FieldByName("B").AsString(), "True");
  EXPECT_EQ(table.FieldByName("D").AsString(), "24.12.2026");
  EXPECT_EQ(table.FieldByName("S").AsInteger(), 42);
  EXPECT_DOUBLE_EQ(table.FieldByName("I").AsFloat(), 123.0);
  EXPECT_THROW(table.FieldByName("D").AsInteger(), EConvertError);
  table.Edit();
  table.FieldByName("S").Clear();
  table.Post();
  EXPECT_TRUE(table.FieldByName("S").IsNull());
  EXPECT_EQ(table.FieldByName("S").AsInteger(), 0);
}

TEST(MemTable, BlobStreamsReadCopiesAndWriteIntoTheEdit) {
  TMemTable table;
  DefineMapFields(table);
  const int valueA = table.FieldByName("ValueA").Index();
  table.Append();
  table.FieldByName("Ident").SetAsString("DATA");
  std::unique_ptr<TStream> writer = table.CreateBlobStream(valueA, TBlobStreamMode::Write);
  writer->WriteText("first ");
  table.Post();
  EXPECT_THROW(writer->WriteText("late"), EMemTableError);  // its edit is over
  writer.reset();

  table.Edit();
  writer = table.CreateBlobStream(valueA, TBlobStreamMode::Write);  // empties the value
  writer->WriteText("grid rows");
  writer->SetPosition(0);
  writer->WriteText("G");
  writer.reset();  // freed before Post: the bytes are already in the edit
  table.Post();

  std::unique_ptr<TStream> reader = table.CreateBlobStream(valueA, TBlobStreamMode::Read);
  EXPECT_EQ(reader->ReadRest(), "Grid rows");
  EXPECT_THROW(table.CreateBlobStream(valueA, TBlobStreamMode::Write), EMemTableError);
  table.AddField("N", TFieldType::ftInteger);
  EXPECT_THROW(table.CreateBlobStream(3, TBlobStreamMode::Read), EMemTableError);
}

}  // namespace
}  // namespace sp
