#include "billing/receipt.h"

#include "data/displayformat.h"

namespace Receipt {
namespace {

using Report::Element;
using Report::Font;

// Where each element of the receipt sits in its band, in mm: A5 layout first, small form second.
struct Place {
    double left, top;
};
struct Spot {
    const char* name;
    Place a5, small;
};

// Labels whose text is the same on both papers, and the variable ones filled from the values.
constexpr Spot spots[] = {
    {"lbl_firma1", {21.2, 22.0}, {2.1, 19.1}},       {"lbl_firma", {50.8, 22.0}, {31.8, 19.1}},
    {"lbl_strasse", {21.7, 30.4}, {2.6, 27.5}},      {"lbl_datum", {65.6, 30.4}, {46.6, 27.5}},
    {"QRSysData1", {88.6, 30.4}, {72.0, 27.5}},      {"lbl_plzort", {21.7, 36.5}, {2.6, 33.6}},
    {"lbl_id", {65.6, 36.8}, {46.6, 33.9}},          {"lbl_belegid", {88.6, 36.8}, {72.0, 33.9}},
    {"lbl_telefon", {21.7, 42.3}, {2.6, 39.4}},      {"lbl_tischtyp1", {22.0, 54.2}, {2.9, 51.3}},
    {"lbl_tischtyp", {65.6, 54.2}, {46.6, 51.3}},    {"lbl_tischnummer1", {22.0, 59.5}, {2.9, 56.6}},
    {"lbl_tischnummer", {65.6, 59.5}, {46.6, 56.6}}, {"lbl_preispro1", {22.0, 65.6}, {2.9, 62.7}},
    {"lbl_preispro", {65.6, 65.6}, {46.6, 62.7}},    {"lbl_waehrung3", {88.6, 65.6}, {72.0, 62.7}},
    {"lbl_startzeit1", {22.0, 74.6}, {2.9, 71.7}},   {"lbl_startzeit", {65.6, 74.6}, {46.6, 71.7}},
    {"lbl_stopzeit1", {22.0, 79.9}, {2.9, 77.0}},    {"lbl_laufzeit", {65.6, 79.6}, {46.6, 76.7}},
    {"lbl_unit", {88.6, 79.6}, {72.0, 76.7}},        {"lbl_gesamt1", {22.0, 93.7}, {2.9, 90.8}},
    {"lbl_gesamt", {53.7, 93.7}, {36.8, 90.8}},      {"lbl_waehrung", {88.6, 93.7}, {72.0, 90.8}},
    {"lbl_dank", {23.3, 133.9}, {23.3, 111.9}},
};

struct Rule {
    const char* name;
    Place a5, small;
    double width, height;
};
constexpr Rule rules[] = {
    {"QRShape1", {21.7, 70.6}, {2.6, 67.7}, 82.3, 3.7},
    {"QRShape2", {21.7, 83.9}, {2.6, 81.0}, 82.3, 3.7},
    // With QRShape3 a double rule under the sum.
    {"QRShape3", {21.4, 100.0}, {2.6, 97.1}, 84.4, 0.5},
    {"QRShape4", {21.4, 101.1}, {2.6, 98.2}, 84.4, 0.8},
};

QString textOf(const QString& name, const Values& v)
{
    static const QHash<QString, QString> fixed = {
        {QStringLiteral("lbl_firma1"), QStringLiteral("Company :")},
        {QStringLiteral("lbl_datum"), QStringLiteral("Date :")},
        {QStringLiteral("lbl_id"), QStringLiteral("Bill Nr. :")},
        {QStringLiteral("lbl_tischtyp1"), QStringLiteral("Courttype :")},
        {QStringLiteral("lbl_tischnummer1"), QStringLiteral("Court Nr. :")},
        {QStringLiteral("lbl_preispro1"), QStringLiteral("Price / Hour :")},
        {QStringLiteral("lbl_startzeit1"), QStringLiteral("Start :")},
        {QStringLiteral("lbl_stopzeit1"), QStringLiteral("Duration :")},
        {QStringLiteral("lbl_unit"), QStringLiteral("Quaters")},
        {QStringLiteral("lbl_gesamt1"), QStringLiteral("Sum :")},
        {QStringLiteral("lbl_dank"), QStringLiteral("Thanks for visiting us")},
    };
    if (fixed.contains(name))
        return fixed.value(name);
    const CourtBilling::Belegdaten& b = v.beleg;
    const QHash<QString, QString> variable = {
        {QStringLiteral("lbl_firma"), b.firmenname},
        {QStringLiteral("lbl_strasse"), b.strasse},
        {QStringLiteral("QRSysData1"), DisplayFormat::date(v.printed)},
        {QStringLiteral("lbl_plzort"), b.plzOrt},
        {QStringLiteral("lbl_belegid"), QString::number(b.belegnummer)},
        {QStringLiteral("lbl_telefon"), b.telefon},
        {QStringLiteral("lbl_tischtyp"), b.tischtyp},
        {QStringLiteral("lbl_tischnummer"), v.courtNumber},
        {QStringLiteral("lbl_preispro"), b.stundenpreis},
        {QStringLiteral("lbl_waehrung3"), v.currency},
        {QStringLiteral("lbl_startzeit"), b.startzeit},
        {QStringLiteral("lbl_laufzeit"), b.quaters},
        {QStringLiteral("lbl_gesamt"), DisplayFormat::receiptMoney(v.amount)},
        {QStringLiteral("lbl_waehrung"), v.currency},
    };
    return variable.value(name);
}

} // namespace

std::optional<Report::Document> document(int layout, const Values& values)
{
    if (layout != 0 && layout != 1)
        return std::nullopt;
    const bool a5 = layout == 1;
    Report::Definition d;
    d.name = QStringLiteral("Court - Bill");
    d.paper = a5 ? QSizeF(148, 210) : QSizeF(107.95, 139.7);
    const double margin = a5 ? 10 : 5.08;
    d.margins = QMarginsF(margin, margin, margin, margin);
    d.printWithoutRows = true;
    d.copies = values.beleg.beleganzahl;
    d.title = Report::Band(QStringLiteral("title"), a5 ? 190.5 : 129.6);

    Element head = Element::label(QStringLiteral("lbl_head"), 0, a5 ? 6.1 : 3.2,
                                  QStringLiteral("Court - Bill"), Font::sized(20, a5, true));
    head.centredIn(0.8, a5 ? 126.7 : 96.8);
    d.title.elements << head;
    for (const Spot& s : spots) {
        const QString name = QLatin1String(s.name);
        const Place p = a5 ? s.a5 : s.small;
        Font font;
        if (name == QLatin1String("lbl_firma1") || name == QLatin1String("lbl_firma"))
            font.pointSize = 14;
        else if (name == QLatin1String("lbl_dank"))
            font = a5 ? Font::sized(18, true) : Font::sized(14);
        Element e = Element::label(name, p.left, p.top, textOf(name, values), font);
        if (name == QLatin1String("lbl_gesamt")) {
            e.box.setWidth(30.4);
            e.alignRight(p.left + 30.4);
        } else if (name == QLatin1String("lbl_preispro") && !a5) {
            e.box.setWidth(24.1);
        }
        d.title.elements << e;
    }
    for (const Rule& r : rules) {
        const Place p = a5 ? r.a5 : r.small;
        d.title.elements << Element::rule(QLatin1String(r.name), QRectF(p.left, p.top, r.width, r.height));
    }
    return Report::layout(d, {});
}

QString notPrinted(const QString& reason)
{
    return QStringLiteral("The receipt could not be printed: %1").arg(reason);
}

} // namespace Receipt
