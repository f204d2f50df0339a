// xlsdump FILE: prints every sheet and cell text of a workbook as the import
// sees it (see --help). Reads through the same readers and CellText as the
// module, with the default regional formats.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "support/text1252.h"
#include "workbook/cell_reference.h"
#include "workbook/cell_text.h"
#include "workbook/msexcel.h"

namespace {

const char kHelp[] =
    "usage: xlsdump FILE\n"
    "\n"
    "Reads the Excel workbook FILE (.XLS, BIFF2 to BIFF8) and prints, in UTF-8,\n"
    "for each sheet a line\n"
    "  # sheet N \"CAPTION\" ROWSxCOLS\n"
    "(N counted from 0, ROWS and COLS the extent of the sheet's cells), then\n"
    "one line per stored cell in row-major order: the cell's reference (column\n"
    "name A..Z, AA.., row from 1, e.g. AB40), a tab and the cell's text as the\n"
    "import sees it (German formats: 1,5 and dd.mm.yyyy). In captions and texts\n"
    "backslash, tab, CR and LF are written as \\\\, \\t, \\r and \\n.\n"
    "A file whose extension is .XLSX is opened but not read: no sheets.\n"
    "\n"
    "On a load failure the reader's error text goes to standard error and the\n"
    "exit status is 1; otherwise it is 0.\n";

std::string Escaped(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

bool IsXlsxName(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
  return sp::AnsiUpperCase(name.substr(dot)) == ".XLSX";
}

void Print(const std::string& line) { std::fwrite(line.data(), 1, line.size(), stdout); }

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (argc != 2) {
    std::fputs(kHelp, stderr);
    return 2;
  }
  const std::string name = sp::Utf8ToAnsi(argv[1]);
  std::unique_ptr<sp::TCustomMSExcel> reader;
  if (IsXlsxName(name))
    reader = std::make_unique<sp::TMSExcelX>();
  else
    reader = std::make_unique<sp::TMSExcel>();
  try {
    reader->LoadFromFile(name);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", sp::AnsiToUtf8(error.what()).c_str());
    return 1;
  }
  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  const sp::TSpreadSheets& sheets = reader->Sheets();
  for (int32_t i = 0; i < sheets.Count(); ++i) {
    const sp::TSpreadSheet& sheet = sheets.Sheet(i);
    const std::string caption = Escaped(sp::AnsiToUtf8(sp::Utf16ToAnsi(sheet.Caption)));
    Print("# sheet " + std::to_string(i) + " \"" + caption + "\" " + std::to_string(sheet.Cells.RowCount()) + "x" +
          std::to_string(sheet.Cells.ColCount()) + "\n");
    for (const sp::TSpreadSheetRow& row : sheet.Cells.Rows())
      for (const auto& entry : row.Cols().Entries())
        Print(sp::ExcelCellReference(entry.Column, row.Index()) + "\t" +
              Escaped(sp::AnsiToUtf8(sp::CellText(entry.Cell.Value))) + "\n");
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
