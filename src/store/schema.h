#pragma once

#include <QString>
#include <span>

namespace brimble {

enum class ColumnKind { Key, Integer, YesNo, DateTime, Text, Memo };

struct ColumnDef {
    const char* name;
    ColumnKind kind;
    int width; // characters, for Text; 0 otherwise
};

// The memo table, column by column in the stored order.
std::span<const ColumnDef> bmColumns();
// The settings table.
std::span<const ColumnDef> configColumns();
std::span<const ColumnDef> columnsOf(const QString& table);

// SQL that creates both tables as the delivered file has them.
QString schemaSql();

// An index over every column of `bm` but the memo body. Views read their snapshot from it, so
// that opening one reads no body: a body lies between the other columns of its row, and
// reading past it means reading every page it fills.
inline constexpr const char* kRowsIndex = "bm_rows";
QString rowsIndexSql();

} // namespace brimble
