#!/usr/bin/python3
"""Run by the Debian interpreter, which has python3-openpyxl and python3-odf.
Prints the cells of a spreadsheet's only sheet as independent readers see
them: "sheet NAME", then one line per non-empty cell:
ROW<TAB>COLUMN<TAB>number|text<TAB>bold|plain<TAB>VALUE."""
import sys


def xlsx(path):
    import openpyxl
    book = openpyxl.load_workbook(path)
    sheet = book.worksheets[0]
    yield f"sheet {sheet.title}"
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            kind = "number" if isinstance(cell.value, (int, float)) else "text"
            bold = "bold" if cell.font and cell.font.b else "plain"
            value = repr(float(cell.value)) if kind == "number" else cell.value
            yield f"{cell.row}\t{cell.column}\t{kind}\t{bold}\t{value}"


def ods(path):
    from odf import teletype
    from odf.opendocument import load
    from odf.table import Table, TableRow, TableCell
    from odf.text import P
    from odf.namespaces import TABLENS, OFFICENS
    document = load(path)
    sheets = document.spreadsheet.getElementsByType(Table)
    yield f"sheet {sheets[0].getAttribute('name')}"
    for r, row in enumerate(sheets[0].getElementsByType(TableRow), start=1):
        column = 1
        for cell in row.getElementsByType(TableCell):
            repeat = int(cell.attributes.get((TABLENS, "number-columns-repeated"), 1))
            kind = cell.attributes.get((OFFICENS, "value-type"))
            if kind is not None:
                value = "\n".join(teletype.extractText(p) for p in cell.getElementsByType(P))
                yield f"{r}\t{column}\t{'text' if kind == 'string' else 'number'}\tplain\t{value}"
            column += repeat


reader = xlsx if sys.argv[1].endswith(".xlsx") else ods
for line in reader(sys.argv[1]):
    print(line)
