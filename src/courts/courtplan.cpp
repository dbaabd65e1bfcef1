#include "courts/courtplan.h"

#include "data/calculations.h"
#include "data/daycount.h"
#include "data/query.h"
#include "data/recordset.h"
#include "data/store.h"
#include "data/storedcolour.h"
#include "lights/relays.h"

#include <QTime>

#include <algorithm>
#include <cmath>

namespace CourtPlan {

int aktuelleReservierungsnummer = -1;

namespace {

inline constexpr qint64 msPerDay = 86400000;

// A moment's milliseconds since midnight, rounded so that 14:07 stored as a fraction is 14:07:00.
qint64 msOfDay(double moment)
{
    const qint64 ms = std::llround((moment - std::floor(moment)) * msPerDay);
    return std::clamp<qint64>(ms, 0, msPerDay - 1);
}

} // namespace

CourtStateQueries::CourtStateQueries()
    : qry_wirdgespielt(QStringLiteral(
          "select Reservierungsnummer from Reservierung where Platz =:pplatz and Bezahlt = False and "
          "Datum =:pdatum and Stunde =:pstunde and Viertelstunde =:pviertelstunde"))
    // A reservation's rows may lie on several courts; only its rows on this court decide. The
    // ends are reals: cast as numeric would keep integers and divide them as whole numbers.
    , qry_nichtabgerechnete(QStringLiteral(
          "select distinct Reservierungsnummer from Reservierung Re where Re.Platz =:pplatz and "
          "Re.Datum =:pdatum and Re.Bezahlt = False and not exists ( select 1 from Reservierung Res "
          "where Res.Platz =Re.Platz and Res.Datum =Re.Datum and Res.Bezahlt =False and "
          "Res.Reservierungsnummer = Re.Reservierungsnummer and :pfloatdatum + (cast(Res.Stunde as "
          "real)-1)/24 "
          "+cast(Res.Viertelstunde as real)/(24*4) > :pfloatzeit )"))
{
}

bool CourtStateQueries::wirdGespielt(int court, double now)
{
    const qint64 minutes = msOfDay(now) / 60000;
    qry_wirdgespielt.close();
    qry_wirdgespielt.setParam(QStringLiteral("pplatz"), court);
    qry_wirdgespielt.setParam(QStringLiteral("pdatum"), int(std::floor(now)));
    qry_wirdgespielt.setParam(QStringLiteral("pstunde"), int(minutes / 60) + 1);
    qry_wirdgespielt.setParam(QStringLiteral("pviertelstunde"), int(minutes / 15 % 4) + 1);
    qry_wirdgespielt.open();
    const bool played = !qry_wirdgespielt.eof();
    aktuelleReservierungsnummer = played ? qry_wirdgespielt.integer(0) : -1;
    qry_wirdgespielt.close();
    return played;
}

bool CourtStateQueries::nichtAbgerechnet(int court, double now)
{
    const double today = std::floor(now);
    qry_nichtabgerechnete.close();
    qry_nichtabgerechnete.setParam(QStringLiteral("pplatz"), court);
    qry_nichtabgerechnete.setParam(QStringLiteral("pdatum"), int(today));
    qry_nichtabgerechnete.setParam(QStringLiteral("pfloatdatum"), today);
    qry_nichtabgerechnete.setParam(QStringLiteral("pfloatzeit"), now);
    qry_nichtabgerechnete.open();
    const bool waiting = !qry_nichtabgerechnete.eof();
    qry_nichtabgerechnete.close();
    return waiting;
}

TileTimes CourtStateQueries::tileTimes(int court, double now)
{
    TileTimes times;
    times.players = wirdGespielt(court, now);
    times.notCalculated = nichtAbgerechnet(court, now);
    if (times.players) {
        const double start = fStartzeit(aktuelleReservierungsnummer);
        if (start != 0) {
            times.start = startText(start);
            times.running = runningText(now, start);
        }
    }
    return times;
}

QString startText(double moment)
{
    const QTime time = QTime::fromMSecsSinceStartOfDay(int(msOfDay(moment)));
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2%3")
        .arg(hour12, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? QLatin1Char('a') : QLatin1Char('p'));
}

QString runningText(double now, double start)
{
    const qint64 elapsed = std::llround((now - start) * msPerDay);
    const qint64 minutes = ((elapsed % msPerDay + msPerDay) % msPerDay) / 60000;
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QPoint clampTile(QPoint topLeft, QSize window)
{
    QPoint p(std::max(0, topLeft.x()), std::max(0, topLeft.y()));
    if (window.width() < p.x() + clearRight)
        p.setX(window.width() - clearRight);
    if (window.height() < p.y() + clearBottom)
        p.setY(window.height() - clearBottom);
    return p;
}

namespace {

struct CourtType {
    QColor colour;
    int picture = 0;
    QString name;
};

// Every court type by its TypNr, in TypNr order.
std::map<int, CourtType> courtTypes()
{
    std::map<int, CourtType> types;
    Query q(QStringLiteral("select TypNr, Tischfarbe, Tischbild, Tischtyp from Tischfarben order by TypNr"));
    for (q.open(); !q.eof(); q.next())
        // An empty colour reads as 0: a new type paints black until it is coloured.
        types[q.field(0).asInteger()] = {colourFromStored(q.field(1).asInteger()), q.field(2).asInteger(),
                                         q.field(3).asString()};
    return types;
}

// A court's tile in its type's looks; without a type, the default colour, no picture, "unknown".
TileLook typedLook(int court, QPoint place, const CourtType* type)
{
    TileLook look;
    look.court = court;
    look.place = place;
    look.typeFound = type != nullptr;
    look.colour = type ? type->colour : defaultTileColour;
    look.picture = type ? type->picture : 0;
    look.typeName = type ? type->name : unknownType;
    return look;
}

const CourtType* typeOf(const std::map<int, CourtType>& types, int typNr)
{
    const auto found = types.find(typNr);
    return found != types.end() ? &found->second : nullptr;
}

} // namespace

std::vector<TileLook> tileLooks(const std::vector<int>& have)
{
    const std::map<int, CourtType> types = courtTypes();
    // A court of an unknown type takes the picture of the type found last (at first, the first
    // type), as the type table's cursor stays where the last search left it.
    const CourtType* current = types.empty() ? nullptr : &types.begin()->second;
    std::vector<TileLook> looks;
    Query q(QStringLiteral("select Tischnummer, XPosition, YPosition, Aktiv, TypNr from Tische "
                           "where Tischnummer between :pvon and :pbis order by Tischnummer"));
    q.setParam(QStringLiteral("pvon"), firstCourt);
    q.setParam(QStringLiteral("pbis"), lastCourt);
    for (q.open(); !q.eof(); q.next()) {
        const int court = q.field(0).asInteger();
        if (std::find(have.begin(), have.end(), court) != have.end())
            continue;
        const CourtType* type = q.field(4).isEmpty() ? nullptr : typeOf(types, q.field(4).asInteger());
        TileLook look = typedLook(court, QPoint(q.field(1).asInteger(), q.field(2).asInteger()), type);
        if (type)
            current = type;
        else if (current)
            look.picture = current->picture;
        if (q.field(3).asBoolean())
            look.colour = activeCourtColour;
        looks.push_back(look);
    }
    return looks;
}

TileLook newTileLook(int court, int typNr)
{
    const std::map<int, CourtType> types = courtTypes();
    return typedLook(court, defaultTilePlace, typeOf(types, typNr));
}

void storeTilePlaces(const std::map<int, QPoint>& places)
{
    RecordSet courts;
    courts.openTable(QStringLiteral("Tische"), QStringLiteral("Tischnummer"));
    for (courts.first(); !courts.eof(); courts.next()) {
        const auto place = places.find(courts.field(QStringLiteral("Tischnummer")).asInteger());
        if (place == places.end())
            continue;
        courts.edit();
        courts.setField(QStringLiteral("XPosition"), place->second.x());
        courts.setField(QStringLiteral("YPosition"), place->second.y());
        courts.post();
    }
    courts.close();
}

void switchLight(const QString& courtText, bool on)
{
    try {
        bool number = false;
        const int court = courtText.toInt(&number);
        if (!number)
            return;
        Query q(QStringLiteral("select Anschluss from Tische where Tischnummer =:ptischnummer"));
        q.setParam(QStringLiteral("ptischnummer"), court);
        q.open();
        if (q.eof() || q.field(0).isEmpty())
            return;
        const int anschluss = q.field(0).asInteger();
        q.close();
        on ? fLichtEin(anschluss) : fLichtAus(anschluss);
    } catch (const StoreError&) {
    }
}

} // namespace CourtPlan
