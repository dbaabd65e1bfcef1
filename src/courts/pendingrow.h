#pragma once

#include "data/recordset.h"
#include "data/store.h"

// A pending change is stored; one the table refuses is dropped without a word, as the window
// closes (or the desk moves on) either way.
inline void postOrDrop(RecordSet* records)
{
    try {
        records->post();
    } catch (const StoreError&) {
        records->cancel();
    }
}
