// Writes the sample supplier workbook with SheetJS (npm package "xlsx"), an
// independent writer, so the demo reads a file our code did not make.
// Usage: NODE_PATH=<folder with node_modules> node make_samples.js
const XLSX = require("xlsx");

const offer = [
  ["Angebot 2026-0412", null, null, null, null, null, null, null],
  ["Lieferant: Brückner Befestigungstechnik GmbH", null, null, null, null, null, null, null],
  [],
  ["Pos.", "Menge", "Einheit", "Bezeichnung", "Zusatz", "Artikel-Nr.", "Einzelpreis", "Rabatt %"],
  [1, 250, "Stk", "Sechskantschraube M8x40", "DIN 933, verzinkt", "SK-M8-40", 0.18, 5],
  [2, 250, "Stk", "Scheibe 8,4", "DIN 125, verzinkt", "SB-84", 0.03, 5],
  [3, 12.5, "m", "Gewindestange M10", "Stahl 4.8", "GS-M10", 2.45, 0],
  [4, 4, "Pak", "Dübel Ø 10 mm", "Nylon, 50 Stück", "DU-10", 6.9, 10],
  [5, 1, "Stk", "Montageschiene 41×21", "Länge 2 m", "MS-4121", 18.75, 0],
];
const terms = [
  ["Zahlungsziel", "30 Tage netto"],
  ["Skonto", 0.02],
  ["Gültig bis", new Date(Date.UTC(2027, 0, 31))],
];

const book = XLSX.utils.book_new();
XLSX.utils.book_append_sheet(book, XLSX.utils.aoa_to_sheet(offer), "Angebot");
XLSX.utils.book_append_sheet(book, XLSX.utils.aoa_to_sheet(terms, { cellDates: true }), "Konditionen");
XLSX.writeFile(book, __dirname + "/Angebot.xls", { bookType: "biff8" });
