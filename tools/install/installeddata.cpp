#include "install/installeddata.h"

#include "data/rights.h"
#include "install/schema.h"

#include <QStringList>

namespace {

QString hourLabel(int h)
{
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    return QStringLiteral("%1:00 %2").arg(h12, 2, 10, QLatin1Char('0')).arg(h < 12 || h == 24 ? "am" : "pm");
}

void insertUser(QSqlDatabase& db, const QString& name, const QString& password, const QString& type,
                const QStringList& granted)
{
    QStringList columns{QStringLiteral("Benutzer"), QStringLiteral("Passwort"), QStringLiteral("Type"),
                        QStringLiteral("Login")};
    QVariantList values{name, password, type, false};
    for (const QString& right : rightFields) {
        columns << right;
        values << (granted.contains(right) || granted.contains(QStringLiteral("*")));
    }
    Schema::exec(db,
                 QStringLiteral("insert into Rechte (%1) values (%2)")
                     .arg(columns.join(QLatin1Char(',')),
                          QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(','))),
                 values);
}

} // namespace

namespace InstalledData {

void insert(QSqlDatabase& db)
{
    Schema::exec(
        db,
        QStringLiteral("insert into Kennzahlen (Nachkommastellen, Beleg, Firmenname, Strasse, PLZOrt, "
                       "Telefon, Belegid, Beleganzahl, Belegdruck, Lichtschaltung, ComPort, Wartezeit) "
                       "values (2, ?, ?, ?, ?, ?, 0, 1, 1, ?, 0, 10)"),
        {true, QStringLiteral("Courtoria Tennis & Squash"), QStringLiteral("Parkallee 12"),
         QStringLiteral("10115 Berlin"), QStringLiteral("030 123456"), false});
    Schema::exec(
        db,
        QStringLiteral("insert into Kartenleser (Aktiv, FuerMitglieder, FuerAngestellte) values (?, ?, ?)"),
        {false, false, false});

    for (int h = 1; h <= 24; ++h) {
        const QString stunde = QStringLiteral("%1:00 - %2:00")
                                   .arg(h - 1, 2, 10, QLatin1Char('0'))
                                   .arg(h % 24, 2, 10, QLatin1Char('0'));
        const QString stundeE = hourLabel(h - 1) + QStringLiteral(" - ") + hourLabel(h);
        Schema::exec(
            db,
            QStringLiteral(
                "insert into Preisprofil (Stundenindex, Stunde, Stunde_e, Sonntag, Montag, Dienstag, "
                "Mittwoch, Donnerstag, Freitag, Samstag) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {h, stunde, stundeE, 100, 100, 100, 100, 100, 100, 100});
    }

    for (int output = 1; output <= 40; ++output)
        Schema::exec(
            db, QStringLiteral("insert into Schaltplan (Anschluss, Bezeichnung, Gruppen) values (?, ?, 0)"),
            {output, QStringLiteral("Output %1").arg(output)});

    insertUser(db, QStringLiteral("admin"), QStringLiteral("admin"), QStringLiteral("Administrator"),
               {QStringLiteral("*")});
    insertUser(db, QStringLiteral("Anna"), QStringLiteral("anna"), QStringLiteral("Employee"),
               {QStringLiteral("Mitglieder"), QStringLiteral("Kenngroessen"), QStringLiteral("Preise"),
                QStringLiteral("Tischverwaltung"), QStringLiteral("ListofNames"),
                QStringLiteral("Aktivitaeten"), QStringLiteral("Tagesabschluss"),
                QStringLiteral("Abschluesse"), QStringLiteral("Lichteinundaus"),
                QStringLiteral("Tischstatistik"), QStringLiteral("Inventar"), QStringLiteral("Chipkarte")});
    insertUser(db, QStringLiteral("Ben"), QStringLiteral("ben"), QStringLiteral("Employee"),
               {QStringLiteral("Mitglieder"), QStringLiteral("ListofNames"), QStringLiteral("Tagesabschluss"),
                QStringLiteral("Inventar")});

    const char* const countries[][2] = {
        {"Argentina", "ARS"},     {"Australia", "AU$"},   {"Austria", "EUR"},      {"Belgium", "EUR"},
        {"Brazil", "R$"},         {"Canada", "CA$"},      {"China", "CNY"},        {"Czech Republic", "CZK"},
        {"Denmark", "DKK"},       {"Finland", "EUR"},     {"France", "EUR"},       {"Germany", "EUR"},
        {"Great Britain", "GBP"}, {"Hungary", "HUF"},     {"India", "INR"},        {"Italy", "EUR"},
        {"Japan", "YEN"},         {"Mexico", "MXN"},      {"Netherlands", "EUR"},  {"Norway", "NOK"},
        {"Poland", "PLN"},        {"Portugal", "EUR"},    {"South Africa", "ZAR"}, {"Spain", "EUR"},
        {"Sweden", "SEK"},        {"Switzerland", "SFR"}, {"Turkey", "TRY"},       {"USA", "US$"},
    };
    for (const auto& c : countries)
        Schema::exec(db, QStringLiteral("insert into \"Länder\" (Land, \"Währung\") values (?, ?)"),
                     {QString::fromUtf8(c[0]), QString::fromUtf8(c[1])});

    // Colours are 0x00BBGGRR: a lawn green for tennis, a steel blue for squash.
    const QString courtType = QStringLiteral("insert into Tischfarben (TypNr, Tischtyp, Stundenpreis, "
                                             "Tischfarbe, Tischbild) values (?, ?, ?, ?, ?)");
    Schema::exec(db, courtType, {1, QStringLiteral("Tennis"), 24.0, 0x0050A040, 1});
    Schema::exec(db, courtType, {2, QStringLiteral("Squash"), 16.0, 0x00B48246, 2});
}

} // namespace InstalledData
