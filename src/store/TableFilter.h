#pragma once
// The filter text of a table: comparisons of a numeric field with a number, joined by "or" and
// "and" ("and" binds tighter), e.g. "Layer = 3 or Layer = 7". Operators: = <> < > <= >=.
// Keywords and field names match without regard to case. Fields must be auto-increment,
// integer, boolean (0/1) or date-time. Blank text accepts every row. A null value satisfies no
// comparison.
#include "store/TableColumn.h"
#include "store/TableSchema.h"

#include <QString>

#include <optional>
#include <vector>

class TableFilter
{
public:
    // The compiled filter, or nothing with `error` set when the text does not parse or names a
    // field that is missing or not numeric.
    static std::optional<TableFilter> parse(const QString &text, const TableSchema &schema,
                                            QString *error = nullptr);

    bool acceptsAll() const { return m_anyOf.empty(); }
    bool accepts(const std::vector<TableColumn> &columns, int slot) const;

private:
    enum class Op { Eq, Ne, Lt, Gt, Le, Ge };
    struct Term {
        int field;
        Op op;
        double value;
    };
    std::vector<std::vector<Term>> m_anyOf; // OR over groups, AND inside a group
};
