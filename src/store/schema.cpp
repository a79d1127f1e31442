#include "store/schema.h"

#include <QStringList>
#include <array>

namespace brimble {

namespace {

constexpr std::array<ColumnDef, 21> kBm{{
    {"idx", ColumnKind::Key, 0},
    {"datetime", ColumnKind::DateTime, 0},
    {"topic", ColumnKind::Text, 50},
    {"memo", ColumnKind::Memo, 0},
    {"fontcolor", ColumnKind::Integer, 0},
    {"fontsize", ColumnKind::Integer, 0},
    {"fontstyle", ColumnKind::Text, 50},
    {"fontname", ColumnKind::Text, 50},
    {"fontcharset", ColumnKind::Integer, 0},
    {"bgcolor", ColumnKind::Integer, 0},
    {"repeatminute", ColumnKind::Integer, 0},
    {"repeathour", ColumnKind::Integer, 0},
    {"repeatday", ColumnKind::YesNo, 0},
    {"repeated", ColumnKind::YesNo, 0},
    {"repeatcount", ColumnKind::Integer, 0},
    {"done", ColumnKind::YesNo, 0},
    {"popped", ColumnKind::YesNo, 0},
    {"top", ColumnKind::Integer, 0},
    {"left", ColumnKind::Integer, 0},
    {"tinggi", ColumnKind::Integer, 0},
    {"lebar", ColumnKind::Integer, 0},
}};

constexpr std::array<ColumnDef, 11> kConfig{{
    {"pfontname", ColumnKind::Text, 50},
    {"pfontcolor", ColumnKind::Integer, 0},
    {"pfontsize", ColumnKind::Integer, 0},
    {"pfontstyle", ColumnKind::Text, 50},
    {"pfontcharset", ColumnKind::Integer, 0},
    {"pbgcolor", ColumnKind::Integer, 0},
    {"selcolor", ColumnKind::Integer, 0},
    {"popcolortype", ColumnKind::Integer, 0},
    {"autorun", ColumnKind::YesNo, 0},
    {"formtile", ColumnKind::YesNo, 0},
    {"repeatsecond", ColumnKind::Integer, 0},
}};

QString columnSql(const ColumnDef& c) {
    const QString name = QStringLiteral("\"%1\"").arg(QLatin1String(c.name));
    switch (c.kind) {
    case ColumnKind::Key:
        return name + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT");
    case ColumnKind::Integer:
        return name + QStringLiteral(" INTEGER");
    case ColumnKind::YesNo:
        return name + QStringLiteral(" INTEGER NOT NULL DEFAULT 0 CHECK (%1 IN (0, 1))").arg(name);
    case ColumnKind::DateTime:
        return name + QStringLiteral(" REAL");
    case ColumnKind::Text:
        return name + QStringLiteral(" TEXT CHECK (length(%1) <= %2)").arg(name).arg(c.width);
    case ColumnKind::Memo:
        return name + QStringLiteral(" TEXT");
    }
    return name;
}

QString tableSql(const char* table, std::span<const ColumnDef> columns) {
    QStringList parts;
    for (const auto& c : columns)
        parts << columnSql(c);
    return QStringLiteral("CREATE TABLE \"%1\" (%2);").arg(QLatin1String(table), parts.join(", "));
}

} // namespace

std::span<const ColumnDef> bmColumns() { return kBm; }
std::span<const ColumnDef> configColumns() { return kConfig; }

std::span<const ColumnDef> columnsOf(const QString& table) {
    if (table == QLatin1String("bm"))
        return kBm;
    if (table == QLatin1String("config"))
        return kConfig;
    return {};
}

QString schemaSql() { return tableSql("bm", kBm) + tableSql("config", kConfig) + rowsIndexSql(); }

QString rowsIndexSql() {
    QStringList names;
    for (const auto& c : kBm)
        if (c.kind != ColumnKind::Memo)
            names << QStringLiteral("\"%1\"").arg(QLatin1String(c.name));
    return QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"bm\" (%2);")
        .arg(QLatin1String(kRowsIndex), names.join(QStringLiteral(", ")));
}

} // namespace brimble
