#include "hostlink/compression.h"

#include <zlib.h>

#include <algorithm>
#include <exception>
#include <optional>
#include <string>
#include <string_view>

namespace sp {
namespace {

constexpr int kLevel = 1;
constexpr int kWindowBits = 15;
constexpr int kMemoryLevel = 9;
constexpr size_t kChunk = 64 * 1024;

enum class TFormat { Zlib, Gzip, Raw };

struct TDeflateData {
  TFormat format;
  size_t start;  // offset of the deflate data
};

bool IsZlibHeader(std::string_view data) {
  if (data.size() < 2) return false;
  const auto cmf = static_cast<unsigned char>(data[0]);
  const auto flg = static_cast<unsigned char>(data[1]);
  return (cmf & 0x0F) == 8 && (cmf >> 4) <= 7 && ((cmf << 8) | flg) % 31 == 0;
}

// Offset of the deflate data after a gzip header, or nothing when the
// header is broken or cut short.
std::optional<size_t> GzipDataStart(std::string_view data) {
  constexpr unsigned kHeaderCrc = 2, kExtra = 4, kName = 8, kComment = 16, kReserved = 0xE0;
  if (data.size() < 10) return std::nullopt;
  const auto flags = static_cast<unsigned char>(data[3]);
  if (flags & kReserved) return std::nullopt;
  size_t pos = 10;
  if (flags & kExtra) {
    if (data.size() - pos < 2) return std::nullopt;
    const size_t length = static_cast<unsigned char>(data[pos]) | (static_cast<unsigned char>(data[pos + 1]) << 8);
    pos += 2;
    if (data.size() - pos < length) return std::nullopt;
    pos += length;
  }
  for (const unsigned text : {kName, kComment}) {
    if (!(flags & text)) continue;
    const size_t zero = data.find('\0', pos);
    if (zero == std::string_view::npos) return std::nullopt;
    pos = zero + 1;
  }
  if (flags & kHeaderCrc) {
    if (data.size() - pos < 2) return std::nullopt;
    pos += 2;
  }
  return pos;
}

std::optional<TDeflateData> Recognise(std::string_view data) {
  if (IsZlibHeader(data)) {
    // A preset dictionary is something we cannot have.
    if (static_cast<unsigned char>(data[1]) & 0x20) return std::nullopt;
    return TDeflateData{TFormat::Zlib, 2};
  }
  if (data.size() >= 3 && data[0] == '\x1F' && data[1] == '\x8B' && data[2] == 8) {
    const auto start = GzipDataStart(data);
    if (!start) return std::nullopt;
    return TDeflateData{TFormat::Gzip, *start};
  }
  return TDeflateData{TFormat::Raw, 0};
}

// Inflates raw deflate data; nothing when it is broken, cut short, longer
// than the limit, or (for headerless data) followed by anything.
std::optional<std::string> Inflate(std::string_view data, bool mustEndAtEnd) {
  z_stream z{};
  if (inflateInit2(&z, -kWindowBits) != Z_OK) return std::nullopt;
  const auto limit = static_cast<size_t>(kMaxDecompressedSize) + 1;  // one byte more proves a bomb
  std::string out;
  out.resize(std::min(limit, std::max<size_t>(kChunk, data.size() * 4)));
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  bool ended = false;
  for (;;) {
    const int result = inflate(&z, Z_NO_FLUSH);
    if (result == Z_STREAM_END) {
      ended = true;
      break;
    }
    const bool needsRoom = (result == Z_OK || result == Z_BUF_ERROR) && z.avail_out == 0;
    if (!needsRoom && result != Z_OK) break;
    if (!needsRoom) continue;
    if (out.size() >= limit) break;
    const size_t used = out.size();
    out.resize(std::min(limit, used * 2));
    z.next_out = reinterpret_cast<Bytef*>(out.data() + used);
    z.avail_out = static_cast<uInt>(out.size() - used);
  }
  const size_t produced = z.total_out;
  const bool consumedAll = z.avail_in == 0;
  inflateEnd(&z);
  if (!ended || produced >= limit || (mustEndAtEnd && !consumedAll)) return std::nullopt;
  out.resize(produced);
  return out;
}

}  // namespace

void CompressToStream(TStream& source, TStream& destination) {
  z_stream z{};
  bool initialised = false;
  try {
    source.SetPosition(0);
    if (deflateInit2(&z, kLevel, Z_DEFLATED, kWindowBits, kMemoryLevel, Z_DEFAULT_STRATEGY) == Z_OK) {
      initialised = true;
      std::string in(kChunk, '\0');
      std::string out(kChunk, '\0');
      int flush = Z_NO_FLUSH;
      while (flush != Z_FINISH) {
        const int64_t got = source.Read(in.data(), static_cast<int64_t>(in.size()));
        flush = got <= 0 ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = static_cast<uInt>(std::max<int64_t>(got, 0));
        do {
          z.next_out = reinterpret_cast<Bytef*>(out.data());
          z.avail_out = static_cast<uInt>(out.size());
          if (deflate(&z, flush) == Z_STREAM_ERROR) throw std::exception();
          destination.WriteBuffer(out.data(), static_cast<int64_t>(out.size() - z.avail_out));
        } while (z.avail_out == 0);
      }
    }
  } catch (...) {
    // A value that cannot be compressed stays as far as it got.
  }
  if (initialised) deflateEnd(&z);
  try {
    destination.SetPosition(0);
  } catch (...) {
  }
}

bool DecompressToStream(TStream& source, TMemoryStream& destination) {
  source.SetPosition(0);
  const std::string input = source.ReadRest();
  std::optional<std::string> output;
  if (const auto found = Recognise(input))
    output = Inflate(std::string_view(input).substr(found->start), found->format == TFormat::Raw);
  destination.Clear();
  const std::string& result = output ? *output : input;
  destination.WriteBuffer(result.data(), static_cast<int64_t>(result.size()));
  destination.SetPosition(0);
  if (!output) source.SetPosition(0);
  return output.has_value();
}

}  // namespace sp
