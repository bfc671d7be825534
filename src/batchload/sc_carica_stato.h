// What the batch loader keeps per field and per destination table during a run; shared by the
// files of ScCarica only. Never included outside src/batchload.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batchload/sc_carica.h"
#include "db/schema_info.h"
#include "platform/numbered_error.h"

namespace tolvane {

struct ScCarica::FieldState {
    std::uint64_t serial = 0;  // line the value belongs to
    bool evaluating = false;
    int result = 0;
    Variant value;
    std::optional<NumberedError> fault;
};

struct ScCarica::Slot {
    const TableInfo* info = nullptr;
    std::vector<int> fields;         // field indexes of this table, layout order
    std::vector<int> keyFields;      // those marked as key, collection order
    std::vector<int> columnOfField;  // by field index: column of the table, -1 when missing
    std::vector<int> insertPos;      // by field index: 1-based parameter of the insert, 0 none
    std::vector<int> updatePos;      // by field index: 1-based parameter of the update, 0 none
    std::string insertSql;
    std::string updateSql;
    std::string findSql;
    int insertCount = 0;
    int updateCount = 0;
    std::vector<char> selected;  // by column: selected by the key search, so an update may write it

    // The record of the current line.
    bool isNew = false;
    std::int64_t rowid = 0;
    std::vector<Variant> values;
    std::vector<char> assigned;  // by field index
};

}  // namespace tolvane
