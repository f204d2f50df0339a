#!/usr/bin/python3
"""xlrd doing the benchmark's work: open the workbook, then the text of
every cell of every sheet. Usage: xlrd_peer.py FILE"""
import sys

import xlrd

book = xlrd.open_workbook(sys.argv[1])
cells = text_bytes = 0
for sheet in book.sheets():
    for r in range(sheet.nrows):
        for value in sheet.row_values(r):
            text = value if isinstance(value, str) else repr(value)
            if value != "":
                cells += 1
                text_bytes += len(text)
print(f"xlrd: {cells} cells, {text_bytes} text characters")
