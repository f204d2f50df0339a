#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "biff_builder.h"
#include "platform/compound/compound_file.h"

namespace sp {
namespace {

using test::CompoundDocument;
using test::PutU32;
using L = test::TCompoundLayout;

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(WORKBOOK_FIXTURES) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<TCompoundFile> Open(std::string bytes) {
  return std::make_unique<TCompoundFile>(std::make_shared<TMemoryStream>(std::move(bytes)));
}

std::string ReadAll(TStream& stream) {
  stream.SetPosition(0);
  return stream.ReadRest();
}

std::string Pattern(size_t n, char seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i * 7 % 251);
  return s;
}

TEST(CompoundFile, ListsTheRootInStorageOrderAndOpensStreamsByName) {
  const std::string book = Pattern(1300, 'a');
  auto doc = Open(CompoundDocument({{u"Book", book}, {u"Workbook", Pattern(600, 'b')}, {u"Leer", ""}}));
  ASSERT_EQ(doc->RootElements().size(), 3u);
  EXPECT_EQ(doc->RootElements()[0].Name, u"Book");
  EXPECT_EQ(doc->RootElements()[1].Name, u"Workbook");
  EXPECT_EQ(doc->RootElements()[0].Size, 1300u);
  EXPECT_EQ(doc->RootElements()[2].Type, TCompoundElementType::Stream);

  std::unique_ptr<TStream> stream = doc->OpenStream(u"bOOk");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Size(), 1300);
  EXPECT_EQ(ReadAll(*stream), book);
  stream->Seek(-5, TSeekOrigin::End);
  char tail[10];
  EXPECT_EQ(stream->Read(tail, sizeof tail), 5);
  EXPECT_EQ(std::string(tail, 5), book.substr(1295));
  stream->Seek(1000, TSeekOrigin::Current);
  EXPECT_EQ(stream->Read(tail, sizeof tail), 0);
  EXPECT_EQ(stream->Write("x", 1), 0);

  EXPECT_EQ(ReadAll(*doc->OpenStream(u"Leer")), "");
  EXPECT_EQ(doc->OpenStream(u"Nichts"), nullptr);
}

TEST(CompoundFile, ReadsTheWorkbookStreamsOfIndependentWriters) {
  // LibreOffice keeps its workbook stream in big sectors, SheetJS its small
  // one in the mini stream.
  for (const char* name : {"lo97_content.xls", "sheetjs_biff8.xls", "sheetjs_biff5.xls"}) {
    auto source = std::make_shared<TMemoryStream>(ReadFixture(name));
    ASSERT_TRUE(TCompoundFile::HasSignature(*source)) << name;
    TCompoundFile doc(source);
    std::unique_ptr<TStream> stream = doc.OpenStream(u"Workbook");
    if (!stream) stream = doc.OpenStream(u"Book");
    ASSERT_NE(stream, nullptr) << name;
    const std::string bytes = ReadAll(*stream);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\x09\x08", 2)) << name;  // a BOF record comes first
  }
}

TEST(CompoundFile, RefusesDamagedDocuments) {
  const std::string good = CompoundDocument({{u"Workbook", Pattern(1500, 'c')}});
  const uint32_t first = L::kFirstStreamSector;
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
    const char* expected;  // a part of the message
  };
  const std::vector<Case> cases = {
      {"signature", [](std::string& d) { d[0] = 'X'; }, "not a compound document"},
      {"short header", [](std::string& d) { d.resize(100); }, "not a compound document"},
      {"byte order", [](std::string& d) { d[28] = 0; }, "byte order"},
      {"sector size", [](std::string& d) { d[30] = 10; }, "sector size"},
      {"FAT sector count", [](std::string& d) { PutU32(d, 44, 1000); }, "claims 1000 FAT sectors"},
      {"FAT sector outside", [](std::string& d) { PutU32(d, 76, 77); }, "FAT sector 77 outside the file"},
      {"directory loop", [](std::string& d) { PutU32(d, L::FatEntryOffset(1), 1); }, "loops at sector 1"},
      {"stream chain loops", [first](std::string& d) { PutU32(d, L::FatEntryOffset(first + 1), first); },
       "loops at sector 2"},
      {"stream chain leaves", [first](std::string& d) { PutU32(d, L::FatEntryOffset(first), 9999); },
       "leaves the file at sector 9999"},
      {"stream chain short", [first](std::string& d) { PutU32(d, L::FatEntryOffset(first + 1), 0xFFFFFFFE); },
       "ends after 2 of 3 sectors"},
      {"stream size", [](std::string& d) { PutU32(d, L::DirectoryEntryOffset(1) + 120, 0x7FFFFFFF); },
       "exceeds the file"},
      {"tree loop", [](std::string& d) { PutU32(d, L::DirectoryEntryOffset(1) + 68, 1); }, "tree loops at entry 1"},
      {"tree link outside", [](std::string& d) { PutU32(d, L::DirectoryEntryOffset(0) + 76, 500); },
       "entry 500 outside the directory"},
      {"no root", [](std::string& d) { d[L::DirectoryEntryOffset(0) + 66] = 1; }, "root entry"},
  };
  for (const Case& c : cases) {
    std::string bytes = good;
    c.damage(bytes);
    try {
      auto doc = Open(bytes);
      doc->OpenStream(u"Workbook");
      ADD_FAILURE() << c.what << ": no failure";
    } catch (const ECompoundError& e) {
      EXPECT_NE(e.Message().find(c.expected), std::string::npos) << c.what << ": " << e.Message();
    }
  }
}

TEST(CompoundFile, FollowsTheDifatAndNoticesItsLoops) {
  // 300 sectors of data need 3 FAT sectors; the header lists them, so
  // claiming 237 (109 in the header, 128 more in two DIFAT sectors) makes
  // the reader follow a DIFAT chain, which here loops on itself.
  std::string bytes = CompoundDocument({{u"Workbook", Pattern(60000, 'd')}});
  bytes.resize(L::kHeaderSize + 300 * L::kSectorSize, '\0');
  PutU32(bytes, 44, 237);
  for (uint32_t i = 0; i < 109; ++i) PutU32(bytes, 76 + 4 * i, 0);
  const uint32_t difat = 250;
  PutU32(bytes, 68, difat);
  PutU32(bytes, L::SectorOffset(difat) + 508, difat);
  try {
    Open(bytes);
    ADD_FAILURE() << "no failure";
  } catch (const ECompoundError& e) {
    EXPECT_NE(e.Message().find("DIFAT chain loops at sector 250"), std::string::npos) << e.Message();
  }
}

}  // namespace
}  // namespace sp
