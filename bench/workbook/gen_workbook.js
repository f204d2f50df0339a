// Writes the benchmark workbook: one sheet of 65,000 rows x 20 columns —
// 7 columns of numbers with two decimals, 3 of dates, 2 of booleans and 8 of
// texts drawn from 5,000 distinct strings with umlauts; about one cell in 23
// is left empty. Deterministic (a fixed linear congruential sequence).
// Usage: NODE_PATH=<folder with xlsx> node gen_workbook.js OUT_BIFF8.xls OUT.xlsx
"use strict";
const XLSX = require("xlsx");
const [biff8Path, xlsxPath] = process.argv.slice(2);
let seed = 12345;
const next = () => (seed = (seed * 1103515245 + 12345) % 2147483648);
const words = ["Schraube", "Mutter", "Dübel", "Größe", "Maß", "Öse", "Übergang", "Kühlung", "Träger", "Verschluß"];
const strings = [];
for (let i = 0; i < 5000; ++i)
  strings.push(`${words[i % 10]} ${words[(i * 7) % 10]} Nr. ${i} ä ö ü`);
const ws = {};
const rows = 65000, cols = 20;
for (let r = 0; r < rows; ++r) {
  for (let c = 0; c < cols; ++c) {
    const n = next();
    if (n % 23 === 0) continue;
    const ref = XLSX.utils.encode_cell({ r, c });
    if (c < 7) ws[ref] = { t: "n", v: Math.round((n % 10000000) ) / 100 };
    else if (c < 10) ws[ref] = { t: "n", v: 36526 + (n % 9000), z: "dd.mm.yyyy" };
    else if (c < 12) ws[ref] = { t: "b", v: n % 2 === 0 };
    else ws[ref] = { t: "s", v: strings[n % 5000] };
  }
}
ws["!ref"] = XLSX.utils.encode_range({ s: { r: 0, c: 0 }, e: { r: rows - 1, c: cols - 1 } });
const wb = XLSX.utils.book_new();
XLSX.utils.book_append_sheet(wb, ws, "Positionen");
XLSX.writeFile(wb, biff8Path, { bookType: "biff8" });
XLSX.writeFile(wb, xlsxPath, { bookType: "xlsx" });
