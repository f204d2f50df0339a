// Record types of the BIFF formats that the workbook reader looks at.
#pragma once

#include <cstdint>

namespace sp {

inline constexpr uint16_t kBlank2 = 0x0001;
inline constexpr uint16_t kInteger2 = 0x0002;
inline constexpr uint16_t kNumber2 = 0x0003;
inline constexpr uint16_t kLabel2 = 0x0004;
inline constexpr uint16_t kBoolErr2 = 0x0005;
inline constexpr uint16_t kFormula = 0x0006;  // BIFF2, BIFF5 to BIFF8
inline constexpr uint16_t kString2 = 0x0007;
inline constexpr uint16_t kEof = 0x000A;
inline constexpr uint16_t kName = 0x0018;
inline constexpr uint16_t kFormat2 = 0x001E;
inline constexpr uint16_t kColWidth2 = 0x0024;
inline constexpr uint16_t kFilePass = 0x002F;
inline constexpr uint16_t kFont = 0x0031;
inline constexpr uint16_t kContinue = 0x003C;
inline constexpr uint16_t kXf2 = 0x0043;
inline constexpr uint16_t kColInfo = 0x007D;
inline constexpr uint16_t kRk = 0x007E;
inline constexpr uint16_t kBoundSheet = 0x0085;
inline constexpr uint16_t kSharedFormula = 0x00BC;
inline constexpr uint16_t kMulRk = 0x00BD;
inline constexpr uint16_t kMulBlank = 0x00BE;
inline constexpr uint16_t kRString = 0x00D6;
inline constexpr uint16_t kXf = 0x00E0;
inline constexpr uint16_t kDrawingGroup = 0x00EB;
inline constexpr uint16_t kDrawing = 0x00EC;
inline constexpr uint16_t kSst = 0x00FC;
inline constexpr uint16_t kLabelSst = 0x00FD;
inline constexpr uint16_t kExcel9File = 0x01C0;
inline constexpr uint16_t kDimensions = 0x0200;
inline constexpr uint16_t kBlank = 0x0201;
inline constexpr uint16_t kNumber = 0x0203;
inline constexpr uint16_t kLabel = 0x0204;
inline constexpr uint16_t kBoolErr = 0x0205;
inline constexpr uint16_t kFormula3 = 0x0206;
inline constexpr uint16_t kString = 0x0207;
inline constexpr uint16_t kRow = 0x0208;
inline constexpr uint16_t kName3 = 0x0218;
inline constexpr uint16_t kArray = 0x0221;
inline constexpr uint16_t kFont3 = 0x0231;
inline constexpr uint16_t kTable = 0x0236;
inline constexpr uint16_t kXf3 = 0x0243;
inline constexpr uint16_t kRk3 = 0x027E;
inline constexpr uint16_t kFormula4 = 0x0406;
inline constexpr uint16_t kFormat = 0x041E;
inline constexpr uint16_t kXf4 = 0x0443;
inline constexpr uint16_t kSharedFormula3 = 0x04BC;

// Low byte of every BOF record type (0x0009, 0x0209, 0x0409, 0x0809).
inline constexpr uint8_t kBofLowByte = 0x09;
inline bool IsBof(uint16_t type) { return (type & 0xFF) == kBofLowByte; }

// BOF substream types.
inline constexpr uint16_t kGlobalsSubstream = 0x0005;
inline constexpr uint16_t kWorksheetSubstream = 0x0010;
inline constexpr uint16_t kMacroSheetSubstream = 0x0040;

}  // namespace sp
