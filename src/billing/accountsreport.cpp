#include "billing/accountsreport.h"

#include "data/displayformat.h"
#include "data/query.h"
#include "data/session.h"

namespace AccountsReport {
namespace {

using Report::Band;
using Report::Context;
using Report::Element;
using Report::Font;

constexpr double bandWidth = 190.0;
// The detail band is 19 screen pixels high when it prints.
constexpr double detailHeight = 19 * 25.4 / 96;
// A pen two screen pixels wide.
constexpr double doublePen = 1.5;

// The amount format of lines and sums by the session's decimals; an unknown factor keeps the
// design's "#,##0.00", which has no blank after positive amounts.
QString amount(double value)
{
    const int f = Session::Nachkommafaktor;
    const QString text = DisplayFormat::money(value);
    return f == 1 || f == 10 || f == 100 ? text : text.trimmed();
}

Element fieldOf(const QString& field, double left, double top, std::function<QString(const QVariant&)> format,
                Font font = {})
{
    return Element::field(
        field, left, top, [field, format](const Context& c) { return format(c.field(field)); }, font);
}

QString plain(const QVariant& v)
{
    return v.toString();
}

QString moment(const QVariant& v)
{
    return DisplayFormat::dateTime(v.toDouble());
}

Element sumOf(const QString& name, double rightEdge, double top, Font font = {})
{
    Element e = Element::field(
        name, 0, top, [](const Context& c) { return amount(c.sum(QStringLiteral("Betrag"))); }, font);
    e.alignRight(rightEdge);
    return e;
}

Band pageHeader(const Options& o)
{
    const Font bold = Font::sized(10, true);
    return Band(
        QStringLiteral("pageHeader"), 24.1,
        {Element::label(QStringLiteral("lbl_head"), 65.6, 2.1, QStringLiteral("List of daily accounts"),
                        Font::sized(18, true, true)),
         Element::label(QStringLiteral("ph_printed"), 154.0, 2.1, DisplayFormat::dateTime(o.printed)),
         Element::label(QStringLiteral("lbl_account"), 2.1, 12.7, QStringLiteral("Daily Account"), bold),
         fieldOf(QStringLiteral("Abrechnungsdatum"), 44.5, 12.7, moment),
         Element::label(QStringLiteral("lbl_number"), 2.1, 19.1, QStringLiteral("Account number"), bold),
         fieldOf(QStringLiteral("Abrechnungsfolge"), 44.5, 19.1, plain)});
}

Band columnTitles(bool details)
{
    const Font bold = Font::sized(10, true);
    const double top = 1.7;
    Element bills =
        Element::label(QStringLiteral("lbl_bills"), 0, top, QStringLiteral("Bills of Courts"), bold);
    bills.alignRight(186.8);
    Band b(QStringLiteral("ChildBand1"), 8.5,
           {Element::label(QStringLiteral("lbl_court"), 2.1, top, QStringLiteral("Court"), bold),
            Element::label(QStringLiteral("lbl_reservator"), 16.9, top, QStringLiteral("Reservator"), bold),
            Element::label(QStringLiteral("lbl_calculated"), 74.9, top, QStringLiteral("Court calculated"),
                           bold),
            Element::label(QStringLiteral("lbl_start"), 115.9, top, QStringLiteral("Start"), bold),
            Element::label(QStringLiteral("lbl_quaters"), 145.0, top, QStringLiteral("Quaters"), bold),
            bills});
    b.fill = QColor(255, 255, 0);
    for (const QString& name :
         {QStringLiteral("lbl_calculated"), QStringLiteral("lbl_start"), QStringLiteral("lbl_quaters")})
        b.element(name)->visible = details;
    return b;
}

Band detail(bool details)
{
    Element court = fieldOf(QStringLiteral("Tischnummer"), 2.1, 0.3, plain);
    court.box.setWidth(10.8);
    Element reservator = fieldOf(QStringLiteral("Reservierer"), 16.9, 0.3, plain);
    reservator.box.setWidth(55.3);
    Element quarters = fieldOf(QStringLiteral("Quaters"), 0, 0.3, plain);
    quarters.alignRight(158.5);
    Element betrag =
        fieldOf(QStringLiteral("Betrag"), 0, 0.3, [](const QVariant& v) { return amount(v.toDouble()); });
    betrag.alignRight(185.7);
    Band b(QStringLiteral("DetailBand1"), detailHeight,
           {court, reservator, fieldOf(QStringLiteral("Einschreibdatum"), 74.1, 0.3, moment),
            fieldOf(QStringLiteral("Startzeit"), 111.4, 0.3, moment), quarters, betrag});
    // Without details the band has no height and nothing of it prints.
    b.visible = details;
    return b;
}

Report::Group accountGroup(const Options& o)
{
    Report::Group g;
    g.field = QStringLiteral("Abrechnungsfolge");
    g.newPage = true;
    g.header = Band(QStringLiteral("accountHeader"), 2.1);
    Element total = sumOf(QStringLiteral("af_sum"), 185.8, 4.2, Font::sized(10, true));
    g.footer = Band(QStringLiteral("accountFooter"), 18.3,
                    {Element::label(QStringLiteral("lbl_summew"), 137.1, 4.2, o.currency), total,
                     Element::rule(QStringLiteral("ln_total"), QRectF(137.3, 10.6, 49.2, 0), doublePen)});
    return g;
}

Report::Group courtGroup()
{
    Report::Group g;
    g.field = QStringLiteral("Tischnummer");
    g.header = Band(QStringLiteral("courtHeader"), 2.1);
    g.footer = Band(
        QStringLiteral("courtFooter"), 6.1,
        {Element::frame(QStringLiteral("sh_court"), QRectF(0, 0, bandWidth, 6.1)),
         Element::field(QStringLiteral("cf_court"), 2.1, 0.8,
                        [](const Context& c) { return c.field(QStringLiteral("Tischnummer")).toString(); }),
         sumOf(QStringLiteral("cf_sum"), 185.8, 0.8)});
    return g;
}

} // namespace

QList<Report::Row> rows(int vonDatum, int bisDatum)
{
    Query q(QStringLiteral("select * from Tischabrechnung where Abrechnungsdatum between :pvondatum and "
                           ":pbisdatum and Abrechnungsdatum <> :pbisdatum and abgerechnet = true order by "
                           "Abrechnungsfolge,Tischnummer,Einschreibdatum"));
    q.setParam(QStringLiteral("pvondatum"), vonDatum);
    q.setParam(QStringLiteral("pbisdatum"), bisDatum + 1);
    QList<Report::Row> out;
    for (q.open(); !q.eof(); q.next()) {
        Report::Row row;
        for (const QString& name :
             {QStringLiteral("Tischnummer"), QStringLiteral("Abrechnungsfolge"), QStringLiteral("Quaters")})
            row.insert(name, q.field(name).asInteger());
        for (const QString& name : {QStringLiteral("Betrag"), QStringLiteral("Einschreibdatum"),
                                    QStringLiteral("Startzeit"), QStringLiteral("Abrechnungsdatum")})
            row.insert(name, q.field(name).asFloat());
        row.insert(QStringLiteral("Reservierer"), q.field(QStringLiteral("Reservierer")).asString());
        out << row;
    }
    return out;
}

Report::Definition definition(const Options& o)
{
    Report::Definition d;
    d.name = QStringLiteral("List of daily accounts");
    d.paper = QSizeF(210, 297);
    d.margins = QMarginsF(10, 10, 10, 10);
    d.pageHeader = pageHeader(o);
    d.columnHeader = columnTitles(o.details);
    d.detail = detail(o.details);
    d.groups << accountGroup(o) << courtGroup();
    d.pageFooter = Band(QStringLiteral("pageFooter"), 10.6,
                        {Element::field(QStringLiteral("pf_page"), 2.1, 4.2,
                                        [](const Context& c) { return QString::number(c.page); })});
    return d;
}

Report::Document document(const Options& options)
{
    return Report::layout(definition(options), rows(options.vonDatum, options.bisDatum));
}

} // namespace AccountsReport
