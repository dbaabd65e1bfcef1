#include "users/login.h"

#include "data/rights.h"
#include "data/session.h"

LoginCheck::LoginCheck()
    : qry_anmelden(QStringLiteral("select * from Rechte where Benutzer=:puser and Passwort=:ppasswort"))
{
}

std::optional<LoggedInUser> LoginCheck::check(const QString& user, const QString& password)
{
    qry_anmelden.close();
    qry_anmelden.setParam(QStringLiteral("puser"), user);
    qry_anmelden.setParam(QStringLiteral("ppasswort"), password);
    qry_anmelden.open();
    std::optional<LoggedInUser> found;
    if (!qry_anmelden.eof()) {
        LoggedInUser u;
        u.benutzer = qry_anmelden.field(QStringLiteral("Benutzer")).asString();
        u.type = qry_anmelden.field(QStringLiteral("Type")).asString();
        for (const QString& right : rightFields)
            u.rights.insert(right, qry_anmelden.field(right).asBoolean());
        found = u;
    }
    qry_anmelden.close();
    return found;
}

QStringList LoginCheck::userNames()
{
    Query qry_user(QStringLiteral("select * from Rechte"));
    qry_user.open();
    QStringList names;
    for (; !qry_user.eof(); qry_user.next())
        names << qry_user.field(QStringLiteral("Benutzer")).asString();
    qry_user.close();
    return names;
}

void beginSession(const LoggedInUser& user)
{
    Session::Benutzertyp = user.type;
}
