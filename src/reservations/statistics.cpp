#include "reservations/statistics.h"

#include "data/query.h"

#include <cmath>

namespace CourtStatistics {

QList<CourtShare> courtShares()
{
    Query total(QStringLiteral("select count(Viertelstunde) gesamt from Reservierung"));
    total.open();
    const qint64 gesamt = total.field(QStringLiteral("gesamt")).asLargeInt();
    total.close();
    QList<CourtShare> shares;
    if (gesamt == 0)
        return shares;
    // 100.0 keeps the division real whatever type the engine gives the bound total.
    Query perCourt(QStringLiteral("select count(Viertelstunde)*100.0/:pgesamt platzsumme,Platz "
                                  "from Reservierung group by Platz order by Platz"));
    perCourt.setParam(QStringLiteral("pgesamt"), double(gesamt));
    for (perCourt.open(); !perCourt.eof(); perCourt.next())
        shares << CourtShare{perCourt.field(QStringLiteral("Platz")).asInteger(),
                             perCourt.field(QStringLiteral("platzsumme")).asFloat()};
    return shares;
}

QString mark(double share, double sumOfShares)
{
    const double percent = sumOfShares > 0 ? share * 100.0 / sumOfShares : 0.0;
    // One decimal at most, dropped when it is zero; a value that rounds to zero shows no sign.
    const double rounded = std::round(percent * 10.0) / 10.0;
    QString text = QString::number(rounded == 0 ? 0.0 : rounded, 'f', 1);
    if (text.endsWith(QLatin1String(".0")))
        text.chop(2);
    return text + QLatin1Char('%');
}

} // namespace CourtStatistics
