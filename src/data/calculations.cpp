#include "data/calculations.h"

#include "data/session.h"
#include "data/u_datasets.h"

#include <cmath>

CourtSet fPlaetze()
{
    Query& q = Tdm_datasets::instance().qry_plaetze;
    q.close();
    q.open();
    CourtSet set = 0;
    for (; !q.eof(); q.next()) {
        const int court = q.field(0).asInteger();
        if (court >= 0 && court < 16)
            set |= CourtSet(1u << court);
    }
    q.close();
    return set;
}

double fStartzeit(int reservierungsnummer)
{
    // One row is read: plain Qt SQL serves both engines.
    static Query q(QStringLiteral("select Datum,Stunde,Viertelstunde from Reservierung where "
                                  "Reservierungsnummer =:preservierungsnummer order by "
                                  "Datum,Stunde,Viertelstunde"));
    q.close();
    q.setParam(QStringLiteral("preservierungsnummer"), reservierungsnummer);
    q.open();
    double start = 0;
    if (!q.eof()) {
        const long double t = (long double)q.field(0).asFloat() + (q.field(1).asInteger() - 1) / 24.0L +
                              (q.field(2).asInteger() - 1) / 96.0L;
        start = double(t);
    }
    q.close();
    return start;
}

double fRunden(double amount)
{
    int& factor = Session::Nachkommafaktor;
    if (factor != 1 && factor != 10 && factor != 100)
        factor = 100;
    // llrint follows the current rounding mode, which is round-to-nearest-even by default.
    return double(std::llrint(amount * factor)) / factor;
}

int dayOfWeek(int dayCount)
{
    // 30 December 1899 was a Saturday (7).
    return int(((dayCount % 7) + 7 + 6) % 7) + 1;
}
