#pragma once

#include "data/recordset.h"
#include "data/store.h"

// A row being edited or inserted is posted; one the table refuses is dropped without a word, as
// the window is going away (or the desk moves on) and nobody is left to answer. False when it
// was dropped.
inline bool postOrDrop(RecordSet& records)
{
    if (records.state() != RecordSet::State::Edit && records.state() != RecordSet::State::Insert)
        return true;
    try {
        records.post();
        return true;
    } catch (const StoreError&) {
        records.cancel();
        return false;
    }
}
