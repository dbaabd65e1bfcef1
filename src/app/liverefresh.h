#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

// Brings what another desk changed into the windows this desk shows, as soon as the server tells
// of it: the scheduler's week, the reservation dialog's day, the reservation list, the court
// plan's markers, the billing list and the open lines of the daily account. Changes that arrive together are
// shown in one go; none is shown while this desk's own write is under way, which reads the tables itself.
// Windows that are hidden read afresh when they are shown, as they always do.
class LiveRefresh : public QObject {
    Q_OBJECT
public:
    explicit LiveRefresh(QObject* parent = nullptr);

    // Refreshes now what the changes heard so far touch.
    void refreshNow();

private:
    void heard(const QString& channel, const QString& payload);

    QTimer pending_;
    QSet<QString> channels_;
    // The days of the bookings changed; 0 stands for a change of no one day.
    QSet<int> days_;
};
