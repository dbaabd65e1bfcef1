#pragma once

#include <QColor>
#include <QString>

class RecordSet;

// Courts and court types as rows: adding and destroying a court, numbering a new type, and the
// colours a type may not take.
namespace CourtRecords {

enum class NewCourt { Ok, NoType, NotANumber, OutOfRange };
// Checks the add-a-court inputs in the order the desk is told about them; number is set when Ok.
NewCourt checkNewCourt(const QString& typeText, const QString& numberText, int& number);
// The message for a refused input; empty for Ok.
QString message(NewCourt check);

inline const QString notInstalled = QStringLiteral("court could not be installed !");
inline const QString cannotDestroy = QStringLiteral("Cannot destroy court !");
inline const QString notFound = QStringLiteral("could not find court !");
inline const QString destroyQuestion = QStringLiteral("destroying court and its reservations?");
inline const QString reservedColours =
    QStringLiteral("Red and yellow are reservated colors !\n\nSelect another one.");

// Appends the court's row; a court of that number already there is the store's key violation.
void installCourt(int court, int typNr);
bool courtExists(int court);
// Every reservation row of the court, of every day, then the court's row, in one transaction:
// when either fails, both stay. Bill lines stay.
void destroyCourt(int court);

// The number a new court type takes: one above the highest, 1 for the first.
int nextTypNr();
// Inside the transaction that writes a new court type (RecordSet::beforeInsertWrite): takes the
// court type number lock, so that desks adding types at the same moment store them one after the
// other, and gives the row the next number when another desk has stored a type under the one it
// was given meanwhile.
void confirmTypNr(RecordSet& types);
// Pure red marks an active court and pure yellow an unbilled one: no type may paint its courts so.
bool isReservedColour(const QColor& colour);

} // namespace CourtRecords
