#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QtDebug>

#include "xls/xlswriter.h"

#include <functional>

// Reads an Excel file back with an independent reader: every sheet's name, non-empty cells (value,
// text or number, number format, font, borders, alignment), column widths and window flags, the
// BIFF version, the longest record and the size of the workbook stream, as JSON.
// Debian's python3 with python3-xlrd reads every file back; a PATH python may lack the module.
inline const char* const readerScript = R"(
import json, sys, xlrd
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
out = []
for sheet in book.sheets():
    cells = {}
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype == xlrd.XL_CELL_EMPTY or cell.ctype == xlrd.XL_CELL_BLANK:
                continue
            xf = book.xf_list[cell.xf_index]
            font = book.font_list[xf.font_index]
            cells["%d,%d" % (r, c)] = {
                "text": cell.ctype == xlrd.XL_CELL_TEXT, "value": cell.value,
                "format": book.format_map[xf.format_key].format_str,
                "bold": font.weight >= 700, "colour": font.colour_index, "font": font.name,
                "borders": [xf.border.top_line_style, xf.border.bottom_line_style, xf.border.left_line_style,
                            xf.border.right_line_style, xf.border.top_colour_index, xf.border.bottom_colour_index,
                            xf.border.left_colour_index, xf.border.right_colour_index], "centred": xf.alignment.hor_align == 2,
                "top": xf.alignment.vert_align == 0}
    widths = {str(c): info.width for c, info in sheet.colinfo_map.items()}
    out.append({"name": sheet.name, "cells": cells, "widths": widths,
                "window": [bool(sheet.show_grid_lines), bool(sheet.show_sheet_headers), bool(sheet.sheet_selected)]})
import struct, xlrd.compdoc
data = open(sys.argv[1], "rb").read()
if data[:8] == xlrd.compdoc.SIGNATURE:
    doc = xlrd.compdoc.CompDoc(data)
    data = doc.get_named_stream("Workbook") or doc.get_named_stream("Book")
longest, at = 0, 0
while at + 4 <= len(data):
    rtype, size = struct.unpack("<HH", data[at:at + 4])
    if rtype == 0 and size == 0:
        break
    longest, at = max(longest, size), at + 4 + size
print(json.dumps({"biff": book.biff_version, "sheets": out, "longestRecord": longest, "streamSize": len(data)}))
)";

inline QJsonObject readBack(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(readerScript), path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning().noquote() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

inline QJsonObject cell(const QJsonObject& book, int sheet, int row, int column)
{
    return book[QStringLiteral("sheets")][sheet][QStringLiteral("cells")]
               [QStringLiteral("%1,%2").arg(row).arg(column)]
                   .toObject();
}

// The writer's error text for an action, or an empty text when it ran through.
inline QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const XLSError& error) {
        return error.message();
    }
    return QString();
}
