#include "hostlink/memorymappedstream.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "../platform/sectionnames.h"
#include "platform/errors.h"

namespace sp {
namespace {

using sp::testing::UniqueSectionName;
constexpr int32_t kMapSize = 1000000;

// A section the way the host provides it: created, filled, mapped.
struct THostSection {
  explicit THostSection(int64_t size, const std::string& tag = "map") : name(UniqueSectionName(tag)) {
    EXPECT_EQ(section.Create(name, size), 0);
    EXPECT_EQ(section.MapView(), 0);
  }
  std::string name;
  TSharedSection section;
};

template <typename E, typename F>
std::string MessageOf(F&& action) {
  try {
    action();
  } catch (const E& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

TEST(MemoryMappedFileStream, AbsentSectionRaisesWithCodeTwo) {
  const std::string name = UniqueSectionName("absent");
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TMemoryMappedFileStream s(name, kMapSize, 2); }),
            "Error opening file mapping object " + name + "\r\nCode 2");
}

TEST(MemoryMappedFileStream, RefusedModesRaiseTheirErrors) {
  THostSection host(kMapSize);
  EXPECT_EQ(MessageOf<EFCreateError>([&] { TMemoryMappedFileStream s(host.name, kMapSize, 0xFFFF); }),
            "Use \"Create\" constructor with fmCreate mode");
  // A read-only opening cannot take the writable view.
  EXPECT_EQ(MessageOf<EFOpenError>([&] { TMemoryMappedFileStream s(host.name, kMapSize, 0); }),
            "Error mapping file " + host.name + "\r\nCode " + std::to_string(EACCES));
  TMemoryMappedFileStream writeOnly(host.name, kMapSize, TMemoryMappedFileStream::fmOpenWrite);
  EXPECT_EQ(writeOnly.Size(), kMapSize);
}

TEST(MemoryMappedFileStream, SizeIsTheDeclaredSizeAndReadsStopThere) {
  THostSection host(kMapSize);
  std::memcpy(host.section.View() + 999990, "0123456789", 10);
  TMemoryMappedFileStream stream(host.name, kMapSize, 2);
  EXPECT_EQ(stream.Size(), kMapSize);
  EXPECT_EQ(stream.Capacity(), kMapSize);
  EXPECT_EQ(stream.Position(), 0);

  char buffer[100] = {};
  EXPECT_EQ(stream.Seek(999990, TSeekOrigin::Beginning), 999990);
  EXPECT_EQ(stream.Read(buffer, 100), 10);
  EXPECT_EQ(std::string(buffer, 10), "0123456789");
  EXPECT_EQ(stream.Position(), kMapSize);
  EXPECT_EQ(stream.Read(buffer, 1), 0);

  // Positions outside the bounds are allowed; reads there give nothing.
  EXPECT_EQ(stream.Seek(-5, TSeekOrigin::Beginning), -5);
  EXPECT_EQ(stream.Read(buffer, 10), 0);
  EXPECT_EQ(stream.Seek(10, TSeekOrigin::End), kMapSize + 10);
  EXPECT_EQ(stream.Read(buffer, 10), 0);
  stream.SetPosition(0);
  EXPECT_EQ(stream.Read(buffer, -1), 0);
  EXPECT_EQ(stream.Seek(3, TSeekOrigin::Current), 3);
}

TEST(MemoryMappedFileStream, WritingBeyondTheCapacityRaisesAndChangesNothing) {
  THostSection host(kMapSize);
  TMemoryMappedFileStream stream(host.name, kMapSize, 2);
  const std::string expected = "Cannot change size of an open mapping object " + host.name;
  stream.SetPosition(kMapSize);
  EXPECT_EQ(MessageOf<EFOpenError>([&] { stream.Write("x", 1); }), expected);
  EXPECT_EQ(stream.Position(), kMapSize);
  EXPECT_EQ(stream.Size(), kMapSize);

  stream.SetPosition(kMapSize - 1);
  EXPECT_EQ(stream.Write("x", 1), 1);
  EXPECT_EQ(host.section.View()[kMapSize - 1], 'x');
  stream.SetPosition(-1);
  EXPECT_EQ(stream.Write("x", 1), 0);
}

TEST(MemoryMappedFileStream, SaveOfAShorterMapLeavesZerosBehindIt) {
  THostSection host(kMapSize);
  std::memset(host.section.View(), 'A', kMapSize);
  const std::string map(300000, 'm');
  {
    TMemoryMappedFileStream stream(host.name, kMapSize, 2);
    const std::string zeros(kMapSize, '\0');
    stream.WriteBuffer(zeros.data(), kMapSize);
    stream.SetPosition(0);
    stream.WriteBuffer(map.data(), static_cast<int64_t>(map.size()));
    stream.Close();
  }
  EXPECT_EQ(std::string(host.section.View(), map.size()), map);
  const std::string tail(host.section.View() + map.size(), kMapSize - map.size());
  EXPECT_EQ(tail.find_first_not_of('\0'), std::string::npos);
}

TEST(MemoryMappedFileStream, SetSizeGrowsUpToTheCapacityOnly) {
  THostSection host(4096, "grow");
  TMemoryMappedFileStream stream(host.name, 4096, 2);
  stream.SetSize(4096);
  EXPECT_EQ(stream.Size(), 4096);
  const std::string expected = "Cannot change size of an open mapping object " + host.name;
  EXPECT_EQ(MessageOf<EFOpenError>([&] { stream.SetSize(4097); }), expected);
  EXPECT_EQ(MessageOf<EFOpenError>([&] { stream.SetSize(100); }), expected);
  stream.SetSize(0);
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.Capacity(), 0);
  EXPECT_EQ(MessageOf<EFOpenError>([&] { stream.Write("x", 1); }), expected);
}

TEST(MemoryMappedFileStream, ASectionShorterThanDeclaredIsNeverOverrun) {
  THostSection host(1000, "short");
  TMemoryMappedFileStream stream(host.name, kMapSize, 2);
  EXPECT_EQ(stream.Size(), 1000);
  EXPECT_EQ(stream.Capacity(), 1000);
  EXPECT_EQ(stream.ReadRest().size(), 1000u);
  stream.SetPosition(999);
  EXPECT_EQ(MessageOf<EFOpenError>([&] { stream.Write("ab", 2); }),
            "Cannot change size of an open mapping object " + host.name);
}

TEST(MemoryMappedFileStream, WritesReachTheHostAndCloseIsFinal) {
  THostSection host(kMapSize);
  TMemoryMappedFileStream stream(host.name, kMapSize, 2);
  stream.WriteText("\"Ident\",\"ValueA\",\"ValueB\",\r\n");
  EXPECT_EQ(std::string(host.section.View(), 8), "\"Ident\",");
  stream.Close();
  stream.Close();
  EXPECT_EQ(stream.DeclaredSize(), kMapSize);
  char byte = 0;
  stream.SetPosition(0);
  EXPECT_EQ(stream.Read(&byte, 1), 0);
  EXPECT_THROW(stream.Write("x", 1), EFOpenError);
}

}  // namespace
}  // namespace sp
