#include "hostlink/compression.h"

#include <zlib.h>

#include <random>
#include <string>

#include <gtest/gtest.h>

namespace sp {
namespace {

std::string Compressed(const std::string& bytes) {
  TMemoryStream source(bytes);
  TMemoryStream destination;
  CompressToStream(source, destination);
  EXPECT_EQ(destination.Position(), 0);
  return destination.Bytes();
}

// Deflates with other zlib settings, as a foreign writer would.
std::string DeflateWith(const std::string& bytes, int windowBits) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY), Z_OK);
  std::string out(deflateBound(&z, bytes.size()) + 64, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

struct TResult {
  bool decompressed;
  std::string bytes;
};

TResult Decompressed(const std::string& bytes) {
  TMemoryStream source(bytes);
  source.SetPosition(static_cast<int64_t>(bytes.size()));
  TMemoryStream destination(std::string("old content"));
  const bool result = DecompressToStream(source, destination);
  EXPECT_EQ(destination.Position(), 0);
  return {result, destination.Bytes()};
}

std::string SampleValue() {
  std::string text;
  std::mt19937 random(7);
  for (int i = 0; i < 5000; ++i) text += "Pos " + std::to_string(random() % 1000) + ";Schraube M8;\r\n";
  return text;
}

TEST(Compression, EmptySourceGivesACompleteZlibStream) {
  EXPECT_EQ(Compressed(""), std::string("\x78\x01\x03\x00\x00\x00\x00\x01", 8));
}

TEST(Compression, WritesLevelOneZlibThatRoundTrips) {
  const std::string value = SampleValue();
  const std::string packed = Compressed(value);
  ASSERT_GE(packed.size(), 2u);
  EXPECT_EQ(packed.substr(0, 2), "\x78\x01");
  EXPECT_LT(packed.size(), value.size() / 3);
  uLongf length = static_cast<uLongf>(value.size());
  std::string check(value.size(), '\0');
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(check.data()), &length,
                       reinterpret_cast<const Bytef*>(packed.data()), static_cast<uLong>(packed.size())),
            Z_OK);
  EXPECT_EQ(check, value);
  EXPECT_EQ(Decompressed(packed).bytes, value);
}

TEST(Compression, AppendsAtTheDestinationPosition) {
  TMemoryStream source(std::string("abc"));
  TMemoryStream destination(std::string("head"));
  destination.SetPosition(4);
  CompressToStream(source, destination);
  EXPECT_EQ(destination.Bytes().substr(0, 4), "head");
  EXPECT_EQ(Decompressed(destination.Bytes().substr(4)).bytes, "abc");
}

TEST(Compression, ReadsZlibGzipAndRawDeflate) {
  const std::string value = SampleValue();
  const struct {
    const char* name;
    std::string data;
  } cases[] = {
      {"zlib", DeflateWith(value, 15)},
      {"gzip", DeflateWith(value, 31)},
      {"raw", DeflateWith(value, -15)},
      {"zlib, small window", DeflateWith(value, 9)},
  };
  for (const auto& c : cases) {
    const TResult r = Decompressed(c.data);
    EXPECT_TRUE(r.decompressed) << c.name;
    EXPECT_EQ(r.bytes, value) << c.name;
  }
}

TEST(Compression, TrailingChecksumsAreNotChecked) {
  const std::string value = "Bezeichnung1;Bezeichnung2";
  std::string zlib = Compressed(value);
  zlib.back() ^= 0x55;
  std::string gzip = DeflateWith(value, 31);
  gzip[gzip.size() - 6] ^= 0x55;  // inside the CRC-32
  for (const std::string& data : {zlib, gzip}) {
    const TResult r = Decompressed(data);
    EXPECT_TRUE(r.decompressed);
    EXPECT_EQ(r.bytes, value);
  }
}

TEST(Compression, WhatDoesNotDecompressIsCopiedExactly) {
  const std::string zlib = Compressed(SampleValue());
  std::string gzipWithBrokenHeader = DeflateWith("abc", 31);
  gzipWithBrokenHeader[3] = '\x04';  // says an extra field follows, far too long
  const std::string cases[] = {
      "",
      "Stadtwerke Musterstadt GmbH",
      std::string("plain\0bytes\r\n", 13),
      zlib.substr(0, zlib.size() / 2),                        // cut short
      DeflateWith("abc", -15) + "tail",                        // raw data followed by more
      std::string("\x78\xBB", 2) + zlib.substr(2),             // preset dictionary flag
      gzipWithBrokenHeader,
  };
  for (const std::string& data : cases) {
    const TResult r = Decompressed(data);
    EXPECT_FALSE(r.decompressed) << data.size();
    EXPECT_EQ(r.bytes, data);
  }
}

TEST(Compression, OutputStopsAtTheDocumentedLimit) {
  const auto limit = static_cast<size_t>(kMaxDecompressedSize);
  const std::string atLimit = Compressed(std::string(limit, 'x'));
  const TResult fits = Decompressed(atLimit);
  EXPECT_TRUE(fits.decompressed);
  EXPECT_EQ(fits.bytes.size(), limit);

  const std::string bomb = Compressed(std::string(limit + 1, 'x'));
  const TResult refused = Decompressed(bomb);
  EXPECT_FALSE(refused.decompressed);
  EXPECT_EQ(refused.bytes, bomb);
}

}  // namespace
}  // namespace sp
