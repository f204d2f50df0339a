#include "platform/memtable/csvformat.h"

#include <gtest/gtest.h>

#include "memtablefixture.h"
#include "platform/memtable/fieldcodec.h"
#include "support/formatting.h"

namespace sp {
namespace {

using sp::testing::AddMapRecord;
using sp::testing::DefineMapFields;
using sp::testing::DefineStoreFields;

std::string Dump(const TMemTable& table) {
  std::string out;
  for (int r = 0; r < table.RecordCount(); ++r) {
    for (int f = 0; f < table.FieldCount(); ++f) {
      const TFieldValue& v = table.Record(r)[static_cast<size_t>(f)];
      out += std::holds_alternative<std::monostate>(v)
                 ? "<null>"
                 : ValueToText(table.FieldDef(f).DataType, v, TValueFormats::Fixed);
      out += '|';
    }
    out += '\n';
  }
  return out;
}

TEST(MapCsv, WritesHeaderAndRecordsByteForByte) {
  TMemTable table;
  DefineMapFields(table);
  AddMapRecord(table, "ConnectPath", "", "/srv/orders");
  AddMapRecord(table, "INTERN", "abc", "");
  AddMapRecord(table, "ZZTEXT", "", std::string("Zeile 1\r\nZeile \"2\"\n100%\0", 24));
  EXPECT_EQ(TableToCsv(table, TCsvVariant::Map),
            "\"Ident\",\"ValueA\",\"ValueB\",\r\n"
            "\"ConnectPath\",,\"/srv/orders\",\r\n"
            "\"INTERN\",\"A)V8\",,\r\n"
            "\"ZZTEXT\",,\"Zeile 1%c%nZeile \"\"2\"\"%n100%%%0\",\r\n");
}

TEST(MapCsv, TextAndBinaryValuesRoundTrip) {
  TMemTable table;
  DefineMapFields(table);
  std::string allBytes;
  for (int b = 0; b < 256; ++b) allBytes += static_cast<char>(b);
  AddMapRecord(table, "ValueB with CR LF % and quote", "", "a\rb\nc%d\"e");
  AddMapRecord(table, "bytes", allBytes, allBytes);
  for (size_t n = 1; n <= 7; ++n) AddMapRecord(table, "len" + std::to_string(n), allBytes.substr(200, n), "");
  table.Append();
  table.FieldByName("Ident").SetAsString("empty");
  table.FieldByName("ValueB").SetAsString("");
  table.Post();

  const std::string text = TableToCsv(table, TCsvVariant::Map);
  TMemTable loaded;
  DefineMapFields(loaded);
  LoadTableFromCsv(loaded, text, TCsvVariant::Map);
  EXPECT_EQ(Dump(loaded), Dump(table));
  EXPECT_EQ(TableToCsv(loaded, TCsvVariant::Map), text);
  ASSERT_TRUE(loaded.Locate("Ident", "ValueB with CR LF % and quote"));
  EXPECT_EQ(loaded.FieldByName("ValueB").AsString(), "a\rb\nc%d\"e");
}

TEST(MapCsv, ReadingCutsLinesAtRunsOfBreaksAndZeros) {
  std::string section =
      "\"IDENT\",\"valueb\",\"Unknown\",\r\n\r\n"
      "\"Netto\",\"1\",\"skipped\",\n"
      "\"Screen\",\"2\"\r\r\n"
      "\"ADRESSNAME\",\"M\xFC" "ller\",\"x\",";
  section.append(1000, '\0');
  TMemTable table;
  DefineMapFields(table);
  LoadTableFromCsv(table, section, TCsvVariant::Map);
  EXPECT_EQ(Dump(table),
            "Netto|<null>|1|\n"
            "Screen|<null>|2|\n"
            "ADRESSNAME|<null>|M\xFC" "ller|\n");
  EXPECT_EQ(table.RecNo(), 0);
}

TEST(MapCsv, CellForms) {
  TMemTable table;
  DefineMapFields(table);
  LoadTableFromCsv(table,
                   "\"Ident\",\"ValueA\",\"ValueB\",\r\n"
                   "bare,,\"\",\r\n"            // bare value, null, empty
                   "\"q\"\"uote\"junk,\"A)V8\r\n"  // junk after a quote; quote never closed
                   "\"only one\"\r\n"
                   "\"esc\",\"\",\"%0%n%c%%%x\",\r\n",
                   TCsvVariant::Map);
  EXPECT_EQ(Dump(table),
            "bare|<null>||\n"
            "q\"uote|abc|<null>|\n"
            "only one|<null>|<null>|\n"
            "esc||" + std::string("\0\n\r%%x", 6) + "|\n");
}

TEST(MapCsv, AddsToTheTableAndNeedsNoHeaderForAnEmptySection) {
  TMemTable table;
  DefineMapFields(table);
  AddMapRecord(table, "first", "", "1");
  LoadTableFromCsv(table, std::string(1000000, '\0'), TCsvVariant::Map);
  LoadTableFromCsv(table, "\"Ident\",\"ValueA\",\"ValueB\",\r\n", TCsvVariant::Map);
  EXPECT_EQ(table.RecordCount(), 1);
  LoadTableFromCsv(table, "\"Ident\",\"ValueA\",\"ValueB\",\r\n\"second\",,\"2\",\r\n", TCsvVariant::Map);
  EXPECT_EQ(Dump(table), "first|<null>|1|\nsecond|<null>|2|\n");
}

TEST(MapCsv, ADefinitionBlockDoesNotRedefineTheMap) {
  TMemTable table;
  DefineMapFields(table);
  LoadTableFromCsv(table,
                   "\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n\"X=Cursor,0\"\r\n"
                   "\"@@TABLEDEF END@@\"\r\n\"Ident\",\"ValueB\",\r\n\"k\",\"v\",\r\n",
                   TCsvVariant::Map);
  EXPECT_EQ(table.FieldCount(), 3);
  EXPECT_EQ(Dump(table), "k|<null>|v|\n");
}

TEST(MapCsv, FloatsAndDatesFollowTheRegionalSettings) {
  FormatSettings() = TFormatSettings();
  TMemTable table;
  table.AddField("Sum", TFieldType::ftFloat);
  table.AddField("Day", TFieldType::ftDate);
  table.AddField("Ok", TFieldType::ftBoolean);
  table.Append();
  table.FieldByName("Sum").SetAsFloat(19.5);
  table.FieldByName("Day").SetAsString("01.02.2026");
  table.FieldByName("Ok").SetAsBoolean(true);
  table.Post();
  const std::string text = TableToCsv(table, TCsvVariant::Map);
  EXPECT_EQ(text, "\"Sum\",\"Day\",\"Ok\",\r\n\"19,5\",\"01.02.2026\",\"True\",\r\n");
  TMemTable loaded;
  loaded.AddField("Sum", TFieldType::ftFloat);
  loaded.AddField("Day", TFieldType::ftDate);
  loaded.AddField("Ok", TFieldType::ftBoolean);
  LoadTableFromCsv(loaded, text, TCsvVariant::Map);
  EXPECT_EQ(Dump(loaded), Dump(table));
}

const char kStoreFile[] =
    "\"@@FILE VERSION@@\",\"251\"\r\n"
    "\"@@TABLEDEF START@@\"\r\n"
    "\"DATA=Blob,0,\"\"DATA\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
    "\"HASH=String,50,\"\"HASH\"\",\"\"\"\",50,Data,\"\"\"\"\"\r\n"
    "\"@@INDEXDEF START@@\"\r\n"
    "\"@@INDEXDEF END@@\"\r\n"
    "\"@@TABLEDEF END@@\"\r\n"
    "\"DATA\",\"HASH\",\r\n"
    "\"A)V8\",\"D41D8CD98F00B204E9800998ECF8427E\",\r\n";

TEST(StoreCsv, WritesTheDefinitionBlockByteForByte) {
  TMemTable store;
  DefineStoreFields(store);
  store.Append();
  store.FieldByName("DATA").SetAsString("abc");
  store.FieldByName("HASH").SetAsString("D41D8CD98F00B204E9800998ECF8427E");
  store.Post();
  EXPECT_EQ(TableToCsv(store, TCsvVariant::Store), kStoreFile);
}

TEST(StoreCsv, ReadingRecreatesTheFieldsAndReplacesTheRecords) {
  TMemTable store;
  store.AddField("Other", TFieldType::ftInteger);
  store.Append();
  store.FieldByName("Other").SetAsInteger(5);
  store.Post();
  LoadTableFromCsv(store, kStoreFile, TCsvVariant::Store);
  ASSERT_EQ(store.FieldCount(), 2);
  EXPECT_EQ(store.FieldDef(0).Name, "DATA");
  EXPECT_EQ(store.FieldDef(0).DataType, TFieldType::ftBlob);
  EXPECT_EQ(store.FieldDef(1).DataType, TFieldType::ftString);
  EXPECT_EQ(store.FieldDef(1).Size, 50);
  EXPECT_EQ(Dump(store), "abc|D41D8CD98F00B204E9800998ECF8427E|\n");
  EXPECT_EQ(TableToCsv(store, TCsvVariant::Store), kStoreFile);
}

TEST(StoreCsv, EveryDefinitionDetailRoundTrips) {
  FormatSettings() = TFormatSettings();
  TMemTable table;
  TFieldDef def;
  def.Name = "Amount";
  def.DataType = TFieldType::ftCurrency;
  def.DisplayName = "Betrag \"netto\"";
  def.EditMask = "#,##0.00";
  def.DisplayWidth = 12;
  def.Required = true;
  def.ReadOnly = true;
  def.Visible = false;
  def.Kind = TFieldKind::fkInternalCalc;
  def.DefaultExpression = "'0'";
  table.AddField(def);
  table.AddField("When", TFieldType::ftDateTime);
  table.IndexDefs().push_back({"ByWhen", "When;Amount", "Nach Datum", true, false, false, true});
  TDateTime when = 0, time = 0;
  ASSERT_TRUE(EncodeDate(2026, 3, 4, when));
  ASSERT_TRUE(EncodeTime(5, 6, 7, 0, time));
  table.Append();
  table.FieldByName("When").SetAsDateTime(when + time);
  table.Post();
  table.Append();
  table.FieldByName("When").SetAsDateTime(when);
  table.Post();
  table.Edit();
  table.IndexDefs();  // structure reads stay possible while editing
  table.Cancel();

  const std::string text = TableToCsv(table, TCsvVariant::Store);
  EXPECT_NE(text.find("\"Amount=Currency,0,\"\"Betrag \"\"\"\"netto\"\"\"\"\"\",\"\"#,##0.00\"\",12,REQ,RO,INV,"
                      "InternalCalc,\"\"'0'\"\"\"\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\"When=DateTime,0,\"\"When\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"ByWhen=When;Amount,Nach Datum,DESC,UNIQ\"\r\n"), std::string::npos);
  EXPECT_NE(text.find(",\"04/03/2026 05:06:07\",\r\n"), std::string::npos);
  EXPECT_NE(text.find(",\"04/03/2026\",\r\n"), std::string::npos);

  TMemTable loaded;
  LoadTableFromCsv(loaded, text, TCsvVariant::Store);
  ASSERT_EQ(loaded.FieldCount(), 2);
  const TFieldDef& back = loaded.FieldDef(0);
  EXPECT_EQ(back.DisplayName, def.DisplayName);
  EXPECT_EQ(back.EditMask, def.EditMask);
  EXPECT_EQ(back.DisplayWidth, 12);
  EXPECT_TRUE(back.Required && back.ReadOnly && !back.Visible);
  EXPECT_EQ(back.Kind, TFieldKind::fkInternalCalc);
  EXPECT_EQ(back.DefaultExpression, "'0'");
  ASSERT_EQ(loaded.IndexDefs().size(), 1u);
  EXPECT_TRUE(loaded.IndexDefs()[0].Descending && loaded.IndexDefs()[0].Unique);
  EXPECT_FALSE(loaded.IndexDefs()[0].CaseInsensitive);
  EXPECT_EQ(TableToCsv(loaded, TCsvVariant::Store), text);
}

TEST(StoreCsv, RefusedTypesNameTheTypeAndTheLine) {
  for (const char* type : {"Unknown", "Cursor", "Reference", "DataSet", "Blubb", "string"}) {
    const std::string line = "\"X=" + std::string(type) + ",0,\"\"X\"\",\"\"\"\",10,Data,\"\"\"\"\"";
    TMemTable table;
    DefineStoreFields(table);
    try {
      LoadTableFromCsv(table, "\"@@TABLEDEF START@@\"\r\n" + line + "\r\n\"@@TABLEDEF END@@\"\r\n",
                       TCsvVariant::Store);
      ADD_FAILURE() << type;
    } catch (const EMemTableError& e) {
      EXPECT_EQ(e.Message(), "Unknown field type (" + std::string(type) + ") in CSV file. (" + line + ")");
    }
    EXPECT_EQ(table.FieldCount(), 2) << "a failed load leaves the table as it was";
  }
}

TEST(StoreCsv, BadInputFailsCleanlyAndChangesNothing) {
  const std::string header = "\"@@TABLEDEF START@@\"\r\n\"N=SmallInt,0\"\r\n\"@@TABLEDEF END@@\"\r\n\"N\",\r\n";
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {header + "\"1\",\r\n\"70000\",\r\n", "Invalid value for field 'N' in CSV file, line 6"},
      {"\"@@TABLEDEF START@@\"\r\n\"N=String,big\"\r\n", "Invalid field definition in CSV file. (\"N=String,big\")"},
      {"\"@@TABLEDEF START@@\"\r\n\"=String,1\"\r\n", "Invalid field definition in CSV file. (\"=String,1\")"},
      {"\"@@TABLEDEF START@@\"\r\n\"A=String,1\"\r\n\"a=Blob\"\r\n", "Duplicate field name 'a'"},
      {"\"@@TABLEDEF START@@\"\r\n\"A=String,1,\"\"A\"\",\"\"\"\",1,Nowhere\"\r\n",
       "Invalid field definition in CSV file. (\"A=String,1,\"\"A\"\",\"\"\"\",1,Nowhere\")"},
  };
  for (const auto& c : cases) {
    TMemTable table;
    DefineStoreFields(table);
    table.Append();
    table.FieldByName("HASH").SetAsString("kept");
    table.Post();
    try {
      LoadTableFromCsv(table, c.text, TCsvVariant::Store);
      ADD_FAILURE() << c.text;
    } catch (const EMemTableError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_EQ(Dump(table), "<null>|kept|\n");
  }
}

TEST(StoreCsv, ValuesCannotOutgrowTheirText) {
  // Many fields and many one-byte lines would make millions of values.
  std::string text = "\"@@TABLEDEF START@@\"\r\n";
  for (int i = 0; i < 1000; ++i) text += "\"F" + std::to_string(i) + "=String,1\"\r\n";
  text += "\"@@TABLEDEF END@@\"\r\n\"F0\",\r\n";
  for (int i = 0; i < 20000; ++i) text += "x\n";
  TMemTable table;
  EXPECT_THROW(LoadTableFromCsv(table, text, TCsvVariant::Store), EMemTableError);
  EXPECT_EQ(table.FieldCount(), 0);
}

TEST(StoreCsv, StreamsLoadAndSaveFromTheirPosition) {
  TMemTable store;
  DefineStoreFields(store);
  TMemoryStream stream(std::string("junk"));
  stream.SetPosition(4);
  LoadTableFromCsv(store, stream, TCsvVariant::Store);  // nothing after the position
  EXPECT_TRUE(store.IsEmpty());
  TMemoryStream file{std::string(kStoreFile)};
  LoadTableFromCsv(store, file, TCsvVariant::Store);
  TMemoryStream out;
  out.WriteText("#");
  SaveTableToCsv(store, out, TCsvVariant::Store);
  EXPECT_EQ(out.Bytes(), "#" + std::string(kStoreFile));
  store.Append();
  EXPECT_THROW(LoadTableFromCsv(store, file, TCsvVariant::Store), EMemTableError);
}

}  // namespace
}  // namespace sp
