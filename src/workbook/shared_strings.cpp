#include "workbook/shared_strings.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/compound/little_endian.h"
#include "support/text1252.h"
#include "workbook/biff_records.h"

namespace sp {

namespace {

// The SST's body and its CONTINUE records, seen as one sequence of pieces.
class Pieces {
 public:
  Pieces(TRecordInput& input, uint64_t length) : input_(input), left_(length) {}

  uint64_t Left() const { return left_; }

  // Leaves the current piece (skipping what is left of it) for the next
  // CONTINUE record.
  void Next() {
    input_.Skip(left_);
    left_ = 0;
    const uint64_t mark = input_.Position();
    TRecordHeader header;
    if (!input_.ReadHeader(header) || header.Type != kContinue) {
      input_.Seek(mark);
      throw ESpreadSheetError("CONTINUE record is not found in the stream");
    }
    left_ = header.Length;
  }

  // Bytes inside the current piece.
  void ReadHere(uint8_t* out, size_t count) {
    if (count > left_ || !input_.Read(out, count)) throw EReadError("Stream read error");
    left_ -= count;
  }

  // Bytes that may go on in the next pieces, with nothing between them.
  void ReadAcross(uint8_t* out, size_t count) {
    while (count > 0) {
      if (left_ == 0) Next();
      const size_t n = static_cast<size_t>(std::min<uint64_t>(count, left_));
      ReadHere(out, n);
      out += n;
      count -= n;
    }
  }

  void SkipAcross(uint64_t count) {
    while (count > 0) {
      if (left_ == 0) Next();
      const uint64_t n = std::min(count, left_);
      input_.Skip(n);
      left_ -= n;
      count -= n;
    }
  }

  void Finish() { input_.Skip(left_); left_ = 0; }

 private:
  TRecordInput& input_;
  uint64_t left_;
};

bool FlagsSupported(uint8_t flags) { return flags == 0 || flags == 1 || (flags & 0x04) || (flags & 0x08); }

// Appends `chars` characters of one width from the current piece.
void AppendChars(Pieces& pieces, std::u16string& out, size_t chars, bool wide) {
  uint8_t block[4096];
  const size_t width = wide ? 2 : 1;
  while (chars > 0) {
    const size_t n = std::min(chars, sizeof block / width);
    pieces.ReadHere(block, n * width);
    for (size_t i = 0; i < n; ++i)
      out.push_back(wide ? static_cast<char16_t>(Le16(block + 2 * i)) : static_cast<char16_t>(AnsiToCodePoint(block[i])));
    chars -= n;
  }
}

void ReadOneString(Pieces& pieces, std::u16string& text) {
  if (pieces.Left() < 3) pieces.Next();
  uint8_t head[3];
  pieces.ReadAcross(head, sizeof head);
  size_t charsLeft = Le16(head);
  uint8_t flags = head[2];
  if (!FlagsSupported(flags)) {
    char message[80];
    std::snprintf(message, sizeof message, "String in SST (Options byte is 0x%.2x) can not be processed.", flags);
    throw ESpreadSheetError(message);
  }
  uint8_t extra[4];
  uint32_t runs = 0;
  uint32_t phoneticSize = 0;
  if (flags & 0x08) {
    pieces.ReadAcross(extra, 2);
    runs = Le16(extra);
  }
  if (flags & 0x04) {
    pieces.ReadAcross(extra, 4);
    phoneticSize = Le32(extra);
  }
  text.clear();
  bool wide = flags & 0x01;
  for (;;) {
    const size_t fit = static_cast<size_t>(pieces.Left() / (wide ? 2 : 1));
    if (charsLeft <= fit) {
      AppendChars(pieces, text, charsLeft, wide);
      break;
    }
    AppendChars(pieces, text, fit, wide);
    charsLeft -= fit;
    // The characters go on in the next CONTINUE record, which starts with
    // the flags byte of the rest.
    do pieces.Next();
    while (pieces.Left() == 0);
    uint8_t continued;
    pieces.ReadHere(&continued, 1);
    wide = continued & 0x01;
  }
  pieces.SkipAcross(static_cast<uint64_t>(runs) * 4 + phoneticSize);
}

}  // namespace

void ReadSharedStrings(TRecordInput& input, uint16_t length, TWideStrings& strings) {
  Pieces pieces(input, length);
  try {
    uint8_t head[8];
    pieces.ReadAcross(head, sizeof head);
    const uint32_t count = Le32(head + 4);
    // Every string takes at least 3 bytes: the count never sizes memory
    // beyond what the stream can hold.
    const uint64_t possible = (input.Size() - input.Position()) / 3 + 1;
    strings.Reserve(static_cast<size_t>(std::min<uint64_t>(count, possible)));
    std::u16string text;
    for (uint32_t i = 0; i < count; ++i) {
      ReadOneString(pieces, text);
      strings.Add(TWideText(text));
    }
    pieces.Finish();
  } catch (...) {
    // After a CONTINUE that is not there the input stands before the
    // offending record (nothing is left of the piece); otherwise the rest of
    // the current record is passed.
    pieces.Finish();
    throw;
  }
}

}  // namespace sp
