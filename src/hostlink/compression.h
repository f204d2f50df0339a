// Compression of the order data map's binary values with zlib.
//
// CompressToStream writes the zlib format (RFC 1950) with level 1, window
// bits 15, memory level 9 and the default strategy. DecompressToStream reads
// the zlib format, the gzip format (RFC 1952) or raw deflate (RFC 1951),
// recognised from the first bytes in that order; it does not look at the
// checksum trailer of zlib and gzip. Raw deflate carries no header, so it
// counts only when the data ends exactly with its final block; a value that
// was stored uncompressed is then very unlikely to pass for one.
//
// Decompression stops at kMaxDecompressedSize bytes of output: a value that
// expands further (a "zip bomb") is treated as not compressed. Real values
// are far smaller, since the whole map travels in a 1,000,000-byte section.
//
// Both functions run on the caller's thread and keep no state.
#pragma once

#include <cstdint>

#include "platform/stream.h"

namespace sp {

inline constexpr int64_t kMaxDecompressedSize = int64_t{64} << 20;  // 64 MiB

// Compresses the whole source (from position 0) and appends the result at the
// destination's position; then rewinds the destination. Errors are
// swallowed: the destination keeps what was written before the error.
void CompressToStream(TStream& source, TStream& destination);

// Replaces the destination's content with the decompressed source (read from
// position 0) and returns true; when the source does not decompress, the
// destination gets an exact copy of it and the result is false. The
// destination ends at position 0.
bool DecompressToStream(TStream& source, TMemoryStream& destination);

}  // namespace sp
