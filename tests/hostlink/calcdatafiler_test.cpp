#include "hostlink/calcdatafiler.h"

#include <gtest/gtest.h>

#include "hostlink/compression.h"

namespace sp {
namespace {

// The three fields of the order data map.
TMemTable MapTable() {
  TMemTable table;
  table.AddField("Ident", TFieldType::ftString, 200);
  table.AddField("ValueA", TFieldType::ftBlob);
  table.AddField("ValueB", TFieldType::ftString, 200);
  return table;
}

void AddValue(TMemTable& table, const std::string& key, const std::string& bytes) {
  table.Append();
  table.FieldByName("Ident").SetAsString(key);
  table.FieldByName("ValueA").SetAsString(bytes);
  table.Post();
}

std::string Zlib(const std::string& bytes) {
  TMemoryStream source(bytes), destination;
  CompressToStream(source, destination);
  return destination.Bytes();
}

TEST(CalcDataFiler, OpenValueAGivesRawOrDecompressedBytes) {
  TMemTable table = MapTable();
  const std::string name = "Stadtwerke Musterstadt GmbH";
  AddValue(table, "ORGADRESSR_FULLNAME", Zlib(name));
  AddValue(table, "ORGADRESSL_FULLNAME", name);

  ASSERT_TRUE(table.Locate("Ident", "ORGADRESSR_FULLNAME"));
  std::unique_ptr<TStream> raw = TCalcDataFiler::OpenValueA(table, false);
  EXPECT_EQ(raw->ReadRest(), Zlib(name));
  std::unique_ptr<TStream> plain = TCalcDataFiler::OpenValueA(table, true);
  EXPECT_EQ(plain->Position(), 0);
  EXPECT_EQ(plain->ReadRest(), name);

  // A value stored uncompressed comes back unchanged through decompression.
  ASSERT_TRUE(table.Locate("Ident", "ORGADRESSL_FULLNAME"));
  EXPECT_EQ(TCalcDataFiler::OpenValueA(table, true)->ReadRest(), name);
}

TEST(CalcDataFiler, ATableWithoutValueAIsAnError) {
  TMemTable table;
  table.AddField("Ident", TFieldType::ftString, 200);
  EXPECT_THROW(TCalcDataFiler::OpenValueA(table, true), EMemTableError);
}

}  // namespace
}  // namespace sp
