#include "data/u_datasets.h"

namespace {
Tdm_datasets* created = nullptr;
}

Tdm_datasets::Tdm_datasets(QObject* parent)
    : QObject(parent)
    , qry_plaetze(QStringLiteral("select Tischnummer from Tische"))
    , qry_aktuellestartzeit(
          QStringLiteral("select Datum,Stunde,Viertelstunde from Reservierung where Reservierungsnummer "
                         "=:preservierungsnummer order by Datum,Stunde,Viertelstunde"))
{
    setObjectName(QStringLiteral("dm_datasets"));
    if (!created)
        created = this;
}

Tdm_datasets::~Tdm_datasets()
{
    if (created == this)
        created = nullptr;
}

Tdm_datasets& Tdm_datasets::instance()
{
    if (!created)
        new Tdm_datasets(); // registers itself; lives until the process ends
    return *created;
}
