#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QSqlDatabase;

// What one desk tells the others of a write they must see, and hears of theirs. On the server each
// change goes out on its channel inside the writing transaction (Store::notify), so the others hear
// of it once it is committed and never of one rolled back; SQLite has one desk and no channel.
namespace Changes {

// Channels, each for what the windows show of it. The payload of "reservierung" is the day count
// of the changed bookings, empty where several days changed.
inline constexpr const char* reservierung = "reservierung"; // bookings and cancellations
inline constexpr const char* abrechnung = "abrechnung";     // bills and daily accounts
inline constexpr const char* tische = "tische";             // courts and court types
inline constexpr const char* kennzahlen = "kennzahlen";     // the parameters
inline constexpr const char* mitglieder = "mitglieder";     // members and their discounts
inline constexpr const char* licht = "licht";               // court lights

QStringList channels();
// The channel a write to a table goes out on; empty for tables no other desk shows.
QString channelOf(const QString& table);
// The channel a statement that writes (insert, update, delete) goes out on; empty for a select.
QString channelOfStatement(const QString& sql);
// The payload of a row written to a table: its day for a booking, else empty.
QString payloadOf(const QString& table, int datum);

} // namespace Changes

// Hears the other desks' changes on the store's server connection; a change of this desk's own
// is not heard, its windows refresh themselves as they always did. The store subscribes each
// connection it opens, again after a lost one.
class ChangeListener : public QObject {
    Q_OBJECT
public:
    static ChangeListener& instance();
    // Subscribes the open server connection to every channel. A connection that replaces a lost
    // one missed what was told meanwhile: every channel is then heard once, with no payload, after
    // the action in hand.
    void listenOn(const QSqlDatabase& db, bool afterLoss = false);

signals:
    void heard(const QString& channel, const QString& payload);

private:
    ChangeListener() = default;
};
