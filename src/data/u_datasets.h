#pragma once

#include "data/query.h"
#include "data/rowreader.h"

#include <QObject>

// The shared data module: queries that several windows use through the shared calculations.
class Tdm_datasets : public QObject {
    Q_OBJECT
public:
    explicit Tdm_datasets(QObject* parent = nullptr);
    ~Tdm_datasets() override;

    // The module created at start-up; made on first use where no start-up ran (tools, tests).
    static Tdm_datasets& instance();

    Query qry_plaetze;
    // Read straight from SQLite: the court plan asks it for every court played, once a minute.
    RowReader qry_aktuellestartzeit;
};
