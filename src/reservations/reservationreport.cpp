#include "reservations/reservationreport.h"

#include "data/displayformat.h"
#include "reservations/reservationstore.h"
#include "reservations/slots.h"

namespace ReservationReport {
namespace {

using Report::Band;
using Report::Context;
using Report::Element;
using Report::Font;

const QColor navy(0, 0, 128);
const QColor maroon(128, 0, 0);
constexpr double pageLeft = 3.4;
constexpr double pageWidth = 205.8 - 3.4;
constexpr double sumLeft = 170.1;
constexpr double sumLabelRight = 167.5;

const QString sumText = QStringLiteral("Sum of Reservations (Quaters) :");

Element fieldText(const QString& name, double left, double top, const QString& field, const QColor& colour,
                  bool bold = true)
{
    Element e = Element::field(
        name, left, top, [field](const Context& c) { return c.field(field).toString(); },
        Font::sized(10, bold));
    e.color = colour;
    return e;
}

Element dateText(const QString& name, double left, double top, const QColor& colour)
{
    Element e = Element::field(
        name, left, top,
        [](const Context& c) { return DisplayFormat::date(c.field(QStringLiteral("Datum")).toDouble()); },
        Font::sized(10, true));
    e.color = colour;
    return e;
}

Element durationSum(const QString& name, const QColor& colour)
{
    Element e = Element::field(
        name, sumLeft, 0.9,
        [](const Context& c) { return QString::number(int(c.sum(QStringLiteral("Dauer")))); },
        Font::sized(10, true));
    e.color = colour;
    return e;
}

Element rightLabel(const QString& name, double top, const QString& text)
{
    Element e = Element::label(name, 0, top, text);
    e.alignRight(sumLabelRight);
    return e;
}

// The four range values as the page header and the summary both show them.
QList<Element> rangeTexts(const Options& o, const QString& prefix, double firstTop, double secondTop)
{
    return {
        Element::label(prefix + QStringLiteral("vonplatz1"), 7.1, firstTop,
                       QStringLiteral("from Court Nr. :")),
        Element::label(prefix + QStringLiteral("vonplatz"), 32.3, firstTop, QString::number(o.vonPlatz)),
        Element::label(prefix + QStringLiteral("bisplatz1"), 7.1, secondTop,
                       QStringLiteral("to Court Nr. :")),
        Element::label(prefix + QStringLiteral("bisplatz"), 32.3, secondTop, QString::number(o.bisPlatz)),
        Element::label(prefix + QStringLiteral("vondatum1"), 51.1, firstTop, QStringLiteral("from Date :")),
        Element::label(prefix + QStringLiteral("vondatum"), 69.9, firstTop, DisplayFormat::date(o.vonDatum)),
        Element::label(prefix + QStringLiteral("bisdatum1"), 51.1, secondTop, QStringLiteral("to Date :")),
        Element::label(prefix + QStringLiteral("bisdatum"), 69.9, secondTop,
                       DisplayFormat::date(o.bisDatum))};
}

Band pageHeader(const Options& o)
{
    Band b(QStringLiteral("pageHeader"), 40.5);
    b.elements << Element::frame(QStringLiteral("sh_head"), QRectF(pageLeft, 9.0, pageWidth, 23.0));
    Element title = Element::label(QStringLiteral("lbl_title"), 0, 10.2, QStringLiteral("Reservation Report"),
                                   Font::sized(16, true));
    title.centredIn(pageLeft, pageWidth);
    b.elements << title;
    b.elements << rangeTexts(o, QStringLiteral("ph_"), 19.6, 25.4);
    b.elements << Element::label(QStringLiteral("lbl_pagenr"), 166.4, 19.6, QStringLiteral("Page Nr. :"))
               << Element::field(QStringLiteral("ph_page"), 184.0, 19.6,
                                 [](const Context& c) { return QString::number(c.page); })
               << Element::label(QStringLiteral("lbl_printdate"), 166.4, 25.4, QStringLiteral("Date :"))
               << Element::label(QStringLiteral("ph_printdate"), 178.0, 25.4, DisplayFormat::date(o.printed));
    b.elements << Element::frame(QStringLiteral("sh_columns"), QRectF(pageLeft, 32.8, pageWidth, 6.6));
    const Font bold = Font::sized(10, true);
    b.elements << Element::label(QStringLiteral("lbl_datehead"), 18.8, 33.9, QStringLiteral("Date "), bold)
               << Element::label(QStringLiteral("lbl_courthead"), 41.8, 33.9, QStringLiteral("Court "), bold)
               << Element::label(QStringLiteral("lbl_reservatorhead"), 56.9, 33.9,
                                 QStringLiteral("Reservator"), bold)
               << Element::label(QStringLiteral("lbl_beginhead"), 149.8, 33.9, QStringLiteral("Begin"), bold)
               << Element::label(QStringLiteral("lbl_durationhead"), 167.2, 33.9, QStringLiteral("Duration"),
                                 bold);
    return b;
}

Report::Group dateGroup()
{
    Report::Group g;
    g.field = QStringLiteral("Datum");
    g.header = Band(QStringLiteral("dateHeader"), 6.1,
                    {Element::frame(QStringLiteral("sh_datehead"), QRectF(pageLeft, 0, pageWidth, 6.1)),
                     Element::label(QStringLiteral("lbl_datehead1"), 7.1, 0.9, QStringLiteral("Date :")),
                     dateText(QStringLiteral("dh_datum"), 18.8, 0.9, navy)});
    g.footer = Band(QStringLiteral("fb_datum"), 6.6,
                    {Element::frame(QStringLiteral("sh_datefooter"), QRectF(pageLeft, 0, pageWidth, 6.6)),
                     Element::label(QStringLiteral("lbl_datefoot1"), 7.1, 0.9, QStringLiteral("Date :")),
                     dateText(QStringLiteral("df_datum"), 18.8, 0.9, navy),
                     rightLabel(QStringLiteral("lbl_sumdate"), 0.9, sumText),
                     durationSum(QStringLiteral("df_sum"), navy)});
    return g;
}

Report::Group courtGroup()
{
    Report::Group g;
    g.field = QStringLiteral("Platz");
    g.keepTogether = true;
    g.header = Band(QStringLiteral("courtHeader"), 0);
    g.footer = Band(QStringLiteral("fb_platz"), 6.1,
                    {Element::frame(QStringLiteral("sh_court"), QRectF(33.1, 0, 205.8 - 33.1, 6.1)),
                     Element::label(QStringLiteral("lbl_court1"), 34.5, 0.9, QStringLiteral("Court :")),
                     fieldText(QStringLiteral("cf_platz"), 47.0, 0.9, QStringLiteral("Platz"), maroon),
                     rightLabel(QStringLiteral("lbl_sumcourt"), 0.9, sumText),
                     durationSum(QStringLiteral("cf_sum"), maroon)});
    return g;
}

Band detail()
{
    Element reservator =
        fieldText(QStringLiteral("Reservierer"), 51.3, 0.3, QStringLiteral("Reservierer"), Qt::black, false);
    reservator.box.setWidth(96.3);
    return Band(
        QStringLiteral("de_reservation"), 4.5,
        {reservator,
         fieldText(QStringLiteral("Startzeit"), 149.2, 0.3, QStringLiteral("Startzeit"), Qt::black, false),
         fieldText(QStringLiteral("Dauer"), 170.1, 0.3, QStringLiteral("Dauer"), Qt::black, false)});
}

Band summary(const Options& o)
{
    Band b(QStringLiteral("summary"), 13.2);
    b.elements << Element::frame(QStringLiteral("sh_summary"), QRectF(pageLeft, 0.3, pageWidth, 12.6));
    b.elements << rangeTexts(o, QStringLiteral("su_"), 1.2, 6.9);
    b.elements << rightLabel(QStringLiteral("lbl_sumtotal"), 1.2, sumText);
    Element total = durationSum(QStringLiteral("su_sum"), navy);
    total.box.moveTop(1.2);
    b.elements << total
               << rightLabel(QStringLiteral("lbl_hours"), 6.9,
                             QStringLiteral("Sum of Reservations HOURS/MINUTES :"));
    Element hours = Element::field(
        QStringLiteral("lbl_dauer"), sumLeft, 6.9,
        [](const Context& c) { return printDurationText(int(c.sum(QStringLiteral("Dauer")))); },
        Font::sized(10, true));
    hours.color = navy;
    b.elements << hours;
    return b;
}

Band pageFooter(const Options& o)
{
    return Band(QStringLiteral("pageFooter"), 20.9,
                {Element::label(QStringLiteral("lbl_company"), 7.1, 2.9, o.company),
                 Element::rule(QStringLiteral("ln_footer"), QRectF(pageLeft, 8.2, pageWidth, 0))});
}

void setVisible(Band& band, const QString& element, bool visible)
{
    if (Element* e = band.element(element))
        e->visible = visible;
}

// What each of the three choices shows: they nest, so each one needs the ones after it.
void applyVisibility(Report::Definition& d, const Options& o)
{
    const bool d_ = o.details, c = o.courtSum, s = o.daySum;
    d.detail.visible = d_ && c && s;
    Report::Group& date = d.groups[0];
    Report::Group& court = d.groups[1];
    court.footer.visible = c && s;
    date.header.visible = c && s;
    date.footer.visible = s;
    setVisible(date.header, QStringLiteral("sh_datehead"), c);
    setVisible(date.footer, QStringLiteral("sh_datefooter"), c);
    setVisible(court.footer, QStringLiteral("sh_court"), d_);
    setVisible(d.pageHeader, QStringLiteral("lbl_datehead"), s);
    setVisible(d.pageHeader, QStringLiteral("lbl_courthead"), c && s);
    setVisible(d.pageHeader, QStringLiteral("lbl_reservatorhead"), d_ && c && s);
    setVisible(d.pageHeader, QStringLiteral("lbl_beginhead"), d_ && c && s);
    setVisible(court.footer, QStringLiteral("lbl_sumcourt"), d_);
    setVisible(date.footer, QStringLiteral("lbl_sumdate"), c);
}

// A quarter outside 1 to 4 leaves the minutes empty.
QString beginText(int stunde, int viertelstunde)
{
    if (viertelstunde < 1 || viertelstunde > 4)
        return QStringLiteral("%1 : ").arg(stunde - 1, 2, 10, QLatin1Char('0'));
    return printStartText(stunde, viertelstunde);
}

} // namespace

QList<Report::Row> rows(const Options& o)
{
    QList<Report::Row> out;
    for (const CourtReservation& r : courtReservationsOfRange(o.vonDatum, o.bisDatum, o.vonPlatz, o.bisPlatz))
        out << Report::Row{{QStringLiteral("Reservierer"), r.reservierer},
                           {QStringLiteral("Datum"), r.datum},
                           {QStringLiteral("Reservierungsnummer"), r.reservierungsnummer},
                           {QStringLiteral("Platz"), r.platz},
                           {QStringLiteral("Dauer"), r.dauer},
                           {QStringLiteral("Stunde"), r.stunde},
                           {QStringLiteral("Viertelstunde"), r.viertelstunde},
                           {QStringLiteral("Startzeit"), beginText(r.stunde, r.viertelstunde)}};
    return out;
}

Report::Definition definition(const Options& o)
{
    Report::Definition d;
    d.name = QStringLiteral("Reservation Report");
    d.paper = QSizeF(210, 297);
    d.pageHeader = pageHeader(o);
    d.detail = detail();
    d.groups << dateGroup() << courtGroup();
    d.summary = summary(o);
    d.pageFooter = pageFooter(o);
    applyVisibility(d, o);
    return d;
}

Report::Document document(const Options& options)
{
    return Report::layout(definition(options), rows(options));
}

} // namespace ReservationReport
