// The order data map's whole way: the host puts it into a section, the
// module reads it through the mapped stream, changes it and writes it back,
// and the host reads the result.
#include <algorithm>

#include <gtest/gtest.h>

#include "../platform/memtablefixture.h"
#include "../platform/sectionnames.h"
#include "hostlink/calcdatafiler.h"
#include "hostlink/compression.h"
#include "hostlink/memorymappedstream.h"
#include "platform/memtable/csvformat.h"

namespace sp {
namespace {

constexpr int32_t kMapSize = 1000000;

TEST(MapTransport, RoundTripThroughTheSection) {
  const std::string name = sp::testing::UniqueSectionName("transport");
  TSharedSection host;
  ASSERT_EQ(host.Create(name, kMapSize), 0);
  ASSERT_EQ(host.MapView(), 0);
  const std::string lines = "Pos;Bezeichnung1\r\n1;Schraube \"M8\"\r\n";
  {
    TMemTable order;
    sp::testing::DefineMapFields(order);
    sp::testing::AddMapRecord(order, "CANCOMPRESS", "", "1");
    TMemoryStream plain(lines), packed;
    CompressToStream(plain, packed);
    sp::testing::AddMapRecord(order, "DATA", packed.Bytes(), "");
    sp::testing::AddMapRecord(order, "ADRESSLONG", "", "Firma\xACStra\xDF" "e 1");
    const std::string text = TableToCsv(order, TCsvVariant::Map);
    std::copy(text.begin(), text.end(), host.View());
  }

  // The module's side.
  TMemTable map;
  sp::testing::DefineMapFields(map);
  TMemoryMappedFileStream section(name, kMapSize, TMemoryMappedFileStream::fmOpenReadWrite);
  TMemoryStream bytes;
  bytes.CopyFrom(section, kMapSize);
  bytes.SetPosition(0);
  LoadTableFromCsv(map, bytes, TCsvVariant::Map);
  ASSERT_EQ(map.RecordCount(), 3);
  ASSERT_TRUE(map.Locate("Ident", "DATA"));
  EXPECT_EQ(TCalcDataFiler::OpenValueA(map, true)->ReadRest(), lines);
  ASSERT_TRUE(map.Locate("Ident", "ADRESSLONG"));
  EXPECT_EQ(map.FieldByName("ValueB").AsString(), "Firma\xACStra\xDF" "e 1");
  sp::testing::AddMapRecord(map, "ACTION", "", "WRITE");

  const std::string saved = TableToCsv(map, TCsvVariant::Map);
  const std::string zeros(kMapSize, '\0');
  section.SetPosition(0);
  section.WriteBuffer(zeros.data(), kMapSize);
  section.SetPosition(0);
  section.WriteBuffer(saved.data(), static_cast<int64_t>(saved.size()));
  section.Close();

  // The host reads what came back.
  TMemTable back;
  sp::testing::DefineMapFields(back);
  LoadTableFromCsv(back, std::string_view(host.View(), kMapSize), TCsvVariant::Map);
  EXPECT_EQ(back.RecordCount(), 4);
  ASSERT_TRUE(back.Locate("Ident", "ACTION"));
  EXPECT_EQ(back.FieldByName("ValueB").AsString(), "WRITE");
  EXPECT_EQ(TableToCsv(back, TCsvVariant::Map), saved);
}

}  // namespace
}  // namespace sp
