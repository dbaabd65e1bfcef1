#include "stock/stock.h"

#include "data/displayformat.h"
#include "data/recordset.h"

namespace Stock {
namespace {

using Report::Band;
using Report::Context;
using Report::Element;
using Report::Font;

constexpr double ruleLeft = 0.8;
constexpr double ruleWidth = 195.5;
constexpr double detailHeight = 8.5;
constexpr double memoTop = 6.4;

const QString fieldNames[] = {QStringLiteral("Inventar_id"),  QStringLiteral("Name"),
                              QStringLiteral("Kategorie"),    QStringLiteral("Datum"),
                              QStringLiteral("Lagerbestand"), QStringLiteral("Wert"),
                              QStringLiteral("Beschreibung")};

// A text cut at a box of fixed width, one line high.
Element boxed(Element e, double width)
{
    e.box.setWidth(width);
    return e;
}

Element fieldText(const QString& field, double left, double width,
                  std::function<QString(const QVariant&)> shown, Font font = {})
{
    Element e = Element::field(
        field, left, 1.3, [field, shown](const Context& c) { return shown(c.field(field)); }, font);
    return boxed(e, width);
}

QString plain(const QVariant& v)
{
    return v.toString();
}

QString number(const QVariant& v)
{
    return v.isNull() ? QString() : QString::number(v.toDouble(), 'g', 15);
}

QString price(const QVariant& v)
{
    return v.isNull() ? QString() : DisplayFormat::fixed(v.toDouble(), 2);
}

QString date(const QVariant& v)
{
    return DisplayFormat::date(v.toDouble());
}

Band pageHeader(const QString& orderCaption, int printedDay)
{
    Band b(QStringLiteral("pageHeader"), 26.5);
    b.elements << Element::label(QStringLiteral("title"), 0, 1.3, QStringLiteral("Inventory - List"),
                                 Font::sized(20, true))
                      .centredIn(69.3, 52.4);
    Element orderLabel = Element::label(QStringLiteral("orderLabel"), 0, 13.5, QStringLiteral("order by :"));
    orderLabel.box.setWidth(28.0 - 13.5);
    b.elements << orderLabel.alignRight(28.0)
               << Element::label(QStringLiteral("order"), 28.6, 13.5, orderCaption)
               << Element::label(QStringLiteral("dateLabel"), 150.3, 12.2, QStringLiteral("Date :"))
               << Element::label(QStringLiteral("printed"), 164.8, 12.2, DisplayFormat::date(printedDay))
               << Element::frame(QStringLiteral("titleFrame"), QRectF(ruleLeft, 20.1, ruleWidth, 5.8));
    const std::pair<const char*, double> titles[] = {{"Item Nr.", 6.6}, {"Name", 28.8},   {"Category", 82.3},
                                                     {"Date", 134.9},   {"Stock", 161.1}, {"Price", 184.2}};
    for (const auto& [title, left] : titles)
        b.elements << Element::label(QStringLiteral("head_") + QLatin1String(title), left, 20.6,
                                     QLatin1String(title), Font::sized(10, true));
    return b;
}

Band detail()
{
    Band b(QStringLiteral("detail"), detailHeight);
    b.elements << fieldText(fieldNames[0], 6.9, 20.4, plain, Font::sized(10, true))
               << fieldText(fieldNames[1], 27.8, 54.2, plain) << fieldText(fieldNames[2], 82.3, 46.8, plain)
               << fieldText(fieldNames[3], 129.9, 20.6, date)
               << fieldText(fieldNames[4], 0, 17.2, number).alignRight(152.4 + 17.2)
               << fieldText(fieldNames[5], 0, 23.3, price).alignRight(170.7 + 23.3);
    Element memo = Element::field(fieldNames[6], 27.8, memoTop, [](const Context& c) {
        return c.field(QStringLiteral("Beschreibung")).toString();
    });
    memo.box.setSize(QSizeF(165.9, detailHeight - memoTop));
    memo.stretch = true;
    b.elements << memo;
    // The rule under the description is the bottom edge of a frame as high as the band: such a
    // frame grows with the band, so the rule stays below however many lines the text takes.
    Element rule = Element::frame(QStringLiteral("rule"), QRectF(ruleLeft, 0, ruleWidth, detailHeight));
    rule.edges = Qt::BottomEdge;
    b.elements << rule;
    return b;
}

Band pageFooter()
{
    Band b(QStringLiteral("pageFooter"), 9.8);
    b.elements << Element::label(QStringLiteral("pageLabel"), 84.7, 2.1, QStringLiteral("Page :"))
               << Element::field(QStringLiteral("page"), 99.2, 2.1,
                                 [](const Context& c) { return QString::number(c.page); });
    return b;
}

} // namespace

QString orderIndex(int choice)
{
    switch (choice) {
    case int(Order::Name): return QStringLiteral("si_name");
    case int(Order::Category): return QStringLiteral("si_kategorie");
    case int(Order::Number): return QStringLiteral("si_nummer");
    default: return {};
    }
}

QString orderCaption(int choice)
{
    switch (choice) {
    case int(Order::Name): return QStringLiteral("Name");
    case int(Order::Category): return QStringLiteral("Category");
    case int(Order::Number): return QStringLiteral("Item Number");
    default: return {};
    }
}

QList<Report::Row> rows(const RecordSet& items)
{
    QList<Report::Row> out;
    QList<std::pair<QString, int>> positions;
    for (const QString& name : fieldNames)
        positions.push_back({name, items.fieldIndex(name)});
    for (int row = 0; row < items.count(); ++row) {
        Report::Row r;
        for (const auto& [name, position] : positions)
            if (position >= 0)
                r.insert(name, items.valueAt(row, position));
        out << r;
    }
    return out;
}

Report::Definition listDefinition(const QString& orderCaption, int printedDay)
{
    Report::Definition d;
    d.name = QStringLiteral("Inventory - List");
    d.paper = QSizeF(210, 297);
    d.margins = QMarginsF(6.35, 6.35, 6.35, 6.35);
    d.pageHeader = pageHeader(orderCaption, printedDay);
    d.detail = detail();
    d.pageFooter = pageFooter();
    // An empty register still prints its heading, so the desk sees that nothing is listed.
    d.printWithoutRows = true;
    return d;
}

Report::Document list(const QList<Report::Row>& rows, const QString& orderCaption, int printedDay)
{
    return Report::layout(listDefinition(orderCaption, printedDay), rows);
}

} // namespace Stock
