#pragma once

#include <QColor>
#include <QString>
#include <QVector>

// One column of a grid over a record set, declared once per grid: which field it shows, its
// title, width and alignment, and how the value reads.
struct GridColumn {
    enum class Display {
        Plain,    // the value as stored
        Money,    // by Nachkommafaktor
        Date,     // day count as the short date
        DateTime, // moment as date and time
        AmPmTime, // moment as "hh:mm am/pm"
        Flag,     // logical: "True"/"False" on the colour of its state
    };

    QString field;
    QString caption;
    int width = 0; // pixels; 0 leaves it to the view
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    Display display = Display::Plain;
    bool readOnly = false;
    QColor trueColour = {};            // Flag: the cell's colour when the field is true
    QColor falseColour = {};           // Flag: the cell's colour when it is false
    Qt::Alignment titleAlignment = {}; // the title's; none: as the cells
    QColor titleColour = {};           // the title's background; none: the view's
    QColor cellColour = {};            // every cell's background; none: the view's
    QColor textColour = {};            // every cell's text; none: the view's
    bool bold = false;
};

using GridColumns = QVector<GridColumn>;
