/* FreeXL doing the benchmark's work: open the workbook, then the text of
   every cell of every worksheet (numbers through printf's %.15g).
   Usage: freexl_peer FILE */
#include <freexl.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
  const void* handle;
  unsigned int sheets = 0, rows, r;
  unsigned short cols, c;
  size_t cells = 0, bytes = 0;
  char text[64];
  if (argc < 2 || freexl_open(argv[1], &handle) != FREEXL_OK) return 1;
  freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
  for (unsigned short s = 0; s < sheets; ++s) {
    if (freexl_select_active_worksheet(handle, s) != FREEXL_OK) continue;
    if (freexl_worksheet_dimensions(handle, &rows, &cols) != FREEXL_OK) continue;
    for (r = 0; r < rows; ++r)
      for (c = 0; c < cols; ++c) {
        FreeXL_CellValue v;
        if (freexl_get_cell_value(handle, r, c, &v) != FREEXL_OK) continue;
        switch (v.type) {
          case FREEXL_CELL_INT: bytes += snprintf(text, sizeof text, "%d", v.value.int_value); break;
          case FREEXL_CELL_DOUBLE: bytes += snprintf(text, sizeof text, "%.15g", v.value.double_value); break;
          case FREEXL_CELL_TEXT:
          case FREEXL_CELL_SST_TEXT:
          case FREEXL_CELL_DATE:
          case FREEXL_CELL_DATETIME:
          case FREEXL_CELL_TIME: bytes += strlen(v.value.text_value); break;
          default: continue;
        }
        ++cells;
      }
  }
  freexl_close(handle);
  printf("freexl: %zu cells, %zu text bytes\n", cells, bytes);
  return 0;
}
