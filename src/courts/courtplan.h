#pragma once

#include "data/rowreader.h"

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>

#include <map>
#include <vector>

// What the court plan knows of the hall without showing it: who plays where now, which finished
// reservations wait for their bill, the tiles' looks and places, and a court's light.
namespace CourtPlan {

inline constexpr int firstCourt = 1;
inline constexpr int lastCourt = 12;
inline constexpr int tileWidth = 108;
inline constexpr int tileHeight = 92;
// A tile stays clear of the right-hand panel (8 + 110) and of the bottom panel and caption (40 + 28).
inline constexpr int clearRight = tileWidth + 8 + 110;
inline constexpr int clearBottom = tileHeight + 40 + 28;
// Where a new court's tile stands until it is dragged.
inline constexpr QPoint defaultTilePlace{7, 78};

// The reservation the played-now check found on the court it examined last; -1 when none.
extern int aktuelleReservierungsnummer;

// The markers and labels of one tile after a running-time refresh.
struct TileTimes {
    bool players = false;
    bool notCalculated = false;
    QString start = QStringLiteral("00:00");
    QString running = QStringLiteral("00:00");
};

// The court-state statements, prepared once and re-run for every court each minute straight on
// SQLite: the refresh asks up to 36 questions a minute and needs only their first rows.
class CourtStateQueries {
public:
    CourtStateQueries();

    // True when a row of the court's unpaid reservations lies in the quarter-hour of now.
    bool wirdGespielt(int court, double now);
    // True when an unpaid reservation of today on the court has none of its rows ending after now.
    bool nichtAbgerechnet(int court, double now);
    TileTimes tileTimes(int court, double now);

private:
    RowReader qry_wirdgespielt;
    RowReader qry_nichtabgerechnete;
};

// "hh:mma/p" on the 12-hour clock: 14:00 gives "02:00p".
QString startText(double moment);
// Hours and minutes played since the start, modulo a day: "00:07".
QString runningText(double now, double start);

// A dragged tile's top-left kept on the floor of a window of the given size.
QPoint clampTile(QPoint topLeft, QSize window);

// One tile as the plan builds it from Tische and Tischfarben.
struct TileLook {
    int court = 0;
    QPoint place;
    bool typeFound = false;
    QColor colour;
    int picture = 0; // 1 tennis court, 2 squash court, otherwise none
    QString typeName;
};
inline const QColor defaultTileColour{253, 220, 153};
inline const QColor activeCourtColour{255, 0, 0};
inline const QString unknownType = QStringLiteral("unknown");

// Every court 1 to 12 in number order, or only those not in have (a court with a tile already).
std::vector<TileLook> tileLooks(const std::vector<int>& have = {});
// The look of a new court of the given type at the default place.
TileLook newTileLook(int court, int typNr);

// Writes each tile's place into its court's row.
void storeTilePlaces(const std::map<int, QPoint>& places);

// Switches the light of the court named by the text; a court without an output, text that is no
// number or a failing link do nothing.
void switchLight(const QString& courtText, bool on);

} // namespace CourtPlan
