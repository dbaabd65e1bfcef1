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

namespace {

// The first quarter's moment: day, hour 1-24 and quarter 1-4 summed in long double, as the
// reservation's start has always been computed.
double startOf(double datum, int stunde, int viertelstunde)
{
    return double((long double)datum + (stunde - 1) / 24.0L + (viertelstunde - 1) / 96.0L);
}

} // namespace

double fStartzeit(int reservierungsnummer)
{
    RowReader& q = Tdm_datasets::instance().qry_aktuellestartzeit;
    q.close();
    q.setParam(QStringLiteral("preservierungsnummer"), reservierungsnummer);
    q.open();
    const double start = q.eof() ? 0 : startOf(q.number(0), q.integer(1), q.integer(2));
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
