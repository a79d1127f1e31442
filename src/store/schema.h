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

} // namespace brimble
