#pragma once

#include "data/query.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// A user as a log-in finds it in Rechte.
struct LoggedInUser {
    QString benutzer;
    QString type;
    QHash<QString, bool> rights; // by the field names of rightFields
};

// The password check of both log-in windows. Name and password are compared with the stored
// values exactly as the store compares texts.
class LoginCheck {
public:
    LoginCheck();

    // The user whose name and password match; none when no row matches.
    std::optional<LoggedInUser> check(const QString& user, const QString& password);

    // The names of every Rechte row, the administrator included, for the log-in's name list.
    static QStringList userNames();

private:
    Query qry_anmelden;
};

// A successful log-in makes the user's type the session's.
void beginSession(const LoggedInUser& user);
