#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVariant>

#include <functional>

// A banded report described in millimetres, laid out into pages of positioned items that tests
// read and a painter draws. The description says what each band holds; the layout decides where
// bands fall on paper: page header and footer on every page, a title once, group headers and
// footers around their rows, a summary at the end. No widget is involved: a report can be laid
// out, checked and written to PDF without a screen.
//
// A plain list needs no group: a page header with the title and the column heads, a detail band
// with one field per column (a memo that stretches where it runs long) and a page footer with the
// page number; layout() with the rows in their order, then Printing (report/printing.h).
namespace Report {

// One data row: field name to value.
using Row = QHash<QString, QVariant>;

struct Font {
    QString family = QStringLiteral("Arial");
    double pointSize = 10;
    bool bold = false;
    bool underline = false;
    friend bool operator==(const Font&, const Font&) = default;

    // Arial of that size.
    static Font sized(double pointSize, bool bold = false, bool underline = false)
    {
        return Font{QStringLiteral("Arial"), pointSize, bold, underline};
    }
};

struct Context;

// One thing in a band. Boxes are in millimetres from the band's top-left corner.
struct Element {
    enum class Kind { Text, Frame, Line };
    Kind kind = Kind::Text;
    QString name;
    QRectF box;   // a text box of width 0 is sized to its text; height 0 is one line
    QString text; // fixed text of a label
    std::function<QString(const Context&)> value; // the text of a field, when set
    Font font;
    Qt::Alignment alignment = Qt::AlignLeft; // a right-aligned text sized to its text ends at box.left
    QColor color = Qt::black;
    QColor fill;            // frames: background, invalid for none
    double penWidth = 0.75; // points, frames and lines
    Qt::Edges edges = Qt::TopEdge | Qt::BottomEdge | Qt::LeftEdge | Qt::RightEdge; // frames
    bool stretch = false; // text wraps in its box width and the band grows with it
    bool visible = true;

    static Element label(const QString& name, double left, double top, const QString& text, Font font = {});
    static Element field(const QString& name, double left, double top,
                         std::function<QString(const Context&)> value, Font font = {});
    // A frame drawn round the box.
    static Element frame(const QString& name, const QRectF& box, double penWidth = 0.75);
    // A horizontal rule across the middle of the box, as a shape of that size draws it.
    static Element rule(const QString& name, const QRectF& box, double penWidth = 0.75);

    Element& alignRight(double rightEdge);
    Element& centredIn(double left, double width);
    Element& coloured(const QColor& c);
};

struct Band {
    Band() = default;
    Band(const QString& name, double height, const QList<Element>& elements = {})
        : name(name)
        , height(height)
        , elements(elements)
    {
    }

    QString name;
    double height = 0;
    QList<Element> elements;
    bool visible = true;
    QColor fill; // background across the band's width, invalid for none

    Element* element(const QString& name);
};

// Rows that share the value of `field` form a group with a header before and a footer after them.
struct Group {
    QString field;
    Band header;
    Band footer;
    bool newPage = false;      // each group after the first starts on a new page
    bool keepTogether = false; // a group that would break moves whole to the next page when it fits there
};

// What an element's value sees while its band is placed.
struct Context {
    const Row* row = nullptr;         // the current row (page header: the first row of the page)
    const QList<Row>* rows = nullptr; // the rows the band covers: its group's, or all of them
    int page = 1;

    QVariant field(const QString& name) const;
    double sum(const QString& field) const;
};

struct Definition {
    QString name;
    QSizeF paper;      // millimetres, portrait
    QMarginsF margins; // millimetres
    Font font;
    Band title; // once, at the top of the first page
    Band pageHeader;
    Band columnHeader; // attached below the page header on every page
    Band detail;
    QList<Group> groups; // outermost first
    Band summary;
    Band pageFooter; // at the bottom of every page
    bool printWithoutRows = false;
    int copies = 1;

    Band* band(const QString& name);
};

// One positioned thing on a page, in millimetres from the paper's top-left corner.
struct Item {
    enum class Kind { Text, Frame, Line, Fill };
    Kind kind = Kind::Text;
    QString name;
    QString band;
    QRectF rect;
    QString text;
    Font font;
    Qt::Alignment alignment = Qt::AlignLeft;
    QColor color = Qt::black;
    double penWidth = 0.75;
    Qt::Edges edges;
    bool wrap = false;
    bool clip = false; // a text of fixed width is cut at its box's sides
};

// A band as placed on a page: where it begins and how high it came out.
struct PlacedBand {
    QString name;
    double top = 0;
    double height = 0;
};

struct Page {
    QList<PlacedBand> bands; // top to bottom, once per placing
    QList<Item> items;

    // The first item of that name, or nullptr.
    const Item* item(const QString& name) const;
    QList<const Item*> itemsNamed(const QString& name) const;
    QStringList bandNames() const;
};

struct Document {
    QString name;
    QSizeF paper;
    int copies = 1;
    QList<Page> pages;

    bool isEmpty() const { return pages.isEmpty(); }
    // The pages as the printer receives them: all pages once per copy.
    QList<Page> printedPages() const;
};

// Lays the rows out by the definition; rows are expected in group order. Without rows and without
// printWithoutRows the document has no page.
Document layout(const Definition& definition, const QList<Row>& rows);

// Width and height of a text in millimetres, as the painter draws it.
QSizeF textSize(const QString& text, const Font& font);
// Height of a text wrapped into a width, in millimetres.
double wrappedHeight(const QString& text, const Font& font, double width);

} // namespace Report
