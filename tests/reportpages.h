#pragma once

#include "report/report.h"

#include <QStringList>
#include <QTemporaryDir>

// The texts of a laid-out page's items of one name, in page order.
inline QStringList texts(const Report::Page& page, const QString& name)
{
    QStringList out;
    for (const Report::Item* item : page.itemsNamed(name))
        out << item->text;
    return out;
}

// Where a test writes a real PDF: its temporary directory, or the folder COURTORIA_REPORT_PDFS
// names, to keep the files and look at them.
inline QString pdfFile(const QTemporaryDir& dir, const QString& name)
{
    const QString keep = qEnvironmentVariable("COURTORIA_REPORT_PDFS");
    return keep.isEmpty() ? dir.filePath(name) : keep + QLatin1Char('/') + name;
}
