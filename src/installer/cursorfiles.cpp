#include "installer/cursorfiles.h"

#include <cmath>
#include <cstdint>
#include <exception>

#include "platform/filesys.h"
#include "support/files.h"
#include "support/text1252.h"

namespace sp {

namespace {

constexpr int kSize = 32;
constexpr int kFrames = 8;
constexpr int kJiffiesPerFrame = 6;  // 1/60 s each: 100 ms

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A RIFF chunk: id, little-endian size, data, padded to an even length.
std::string Chunk(const char* id, const std::string& data) {
  std::string out(id, 4);
  Put32(out, static_cast<uint32_t>(data.size()));
  out += data;
  if (data.size() % 2 != 0) out += '\0';
  return out;
}

// One frame as a .cur file: dots drawn black (mask 0, colour 0) on a
// transparent ground (mask 1, colour 0); the three leading dots are larger.
std::string CursorFrame(double ringRadius, int frame) {
  std::string colour(kSize * kSize / 8, '\0');
  std::string mask(kSize * kSize / 8, '\xFF');
  const double pi = std::acos(-1.0);
  for (int dot = 0; dot < 8; ++dot) {
    const double angle = dot * pi / 4;
    const double cx = 15.5 + ringRadius * std::cos(angle);
    const double cy = 15.5 + ringRadius * std::sin(angle);
    const double dotRadius = (dot - frame + 8) % 8 < 3 ? 2.6 : 1.6;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        if (std::hypot(x - cx, y - cy) > dotRadius) continue;
        const int row = kSize - 1 - y;  // bitmaps run bottom-up
        mask[static_cast<size_t>(row * kSize / 8 + x / 8)] &= static_cast<char>(~(0x80 >> (x % 8)));
      }
    }
  }
  std::string cur;
  Put16(cur, 0);  // reserved
  Put16(cur, 2);  // type: cursor
  Put16(cur, 1);  // one image
  cur += static_cast<char>(kSize);
  cur += static_cast<char>(kSize);
  cur += static_cast<char>(2);  // colours
  cur += '\0';
  Put16(cur, kSize / 2);  // hot spot
  Put16(cur, kSize / 2);
  const uint32_t imageSize = 40 + 8 + static_cast<uint32_t>(colour.size() + mask.size());
  Put32(cur, imageSize);
  Put32(cur, 22);  // image offset
  Put32(cur, 40);  // BITMAPINFOHEADER
  Put32(cur, kSize);
  Put32(cur, kSize * 2);  // colour and mask
  Put16(cur, 1);
  Put16(cur, 1);  // bits per pixel
  Put32(cur, 0);  // no compression
  Put32(cur, static_cast<uint32_t>(colour.size() + mask.size()));
  Put32(cur, 0);
  Put32(cur, 0);
  Put32(cur, 2);
  Put32(cur, 0);
  Put32(cur, 0x00000000);  // palette: black
  Put32(cur, 0x00FFFFFF);  //          white
  return cur + colour + mask;
}

std::string AnimatedCursor(double ringRadius) {
  std::string header;
  Put32(header, 36);  // header size
  Put32(header, kFrames);
  Put32(header, kFrames);  // steps
  for (int i = 0; i < 4; ++i) Put32(header, 0);  // size and colours: taken from the frames
  Put32(header, kJiffiesPerFrame);
  Put32(header, 1);  // frames are icons
  std::string frames = "fram";
  for (int frame = 0; frame < kFrames; ++frame) frames += Chunk("icon", CursorFrame(ringRadius, frame));
  return Chunk("RIFF", "ACON" + Chunk("anih", header) + Chunk("LIST", frames));
}

}  // namespace

const std::vector<TCursorResource>& BusyCursorResources() {
  static const std::vector<TCursorResource> resources = [] {
    std::vector<TCursorResource> list;
    for (int i = 0; i < 4; ++i)
      list.push_back({-4997 + i, "crCursor_ajax0" + std::to_string(i + 1), AnimatedCursor(8.0 + 2.0 * i)});
    return list;
  }();
  return resources;
}

void StageBusyCursors() {
  const std::string folder = IncludeBackslash(Utf8ToAnsi(SystemTempFolder()));
  for (const TCursorResource& cursor : BusyCursorResources()) {
    try {
      const std::string written = ExtractResourceFile(cursor.bytes, folder + std::to_string(cursor.number) + ".ani");
      DeleteFileIfExists(written);
    } catch (const std::exception&) {
      // Without its file the cursor stays the default one; nothing else depends on it.
    }
  }
}

}  // namespace sp
