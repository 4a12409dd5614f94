#include "store/TableFilter.h"

#include <cmath>

namespace
{

struct Lexer {
    const QString &s;
    int i = 0;

    void skipSpace()
    {
        while (i < s.size() && s[i].isSpace())
            ++i;
    }
    bool atEnd()
    {
        skipSpace();
        return i >= s.size();
    }
    QString word()
    {
        skipSpace();
        const int start = i;
        while (i < s.size() && (s[i].isLetterOrNumber() || s[i] == u'_'))
            ++i;
        return s.mid(start, i - start);
    }
    QString op()
    {
        skipSpace();
        const int start = i;
        while (i < s.size() && (s[i] == u'=' || s[i] == u'<' || s[i] == u'>'))
            ++i;
        return s.mid(start, i - start);
    }
    bool number(double *out)
    {
        skipSpace();
        const int start = i;
        if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) ++i;
        while (i < s.size() && (s[i].isDigit() || s[i] == u'.'))
            ++i;
        bool ok = false;
        *out = s.mid(start, i - start).toDouble(&ok);
        return ok && std::isfinite(*out);
    }
};

} // namespace

std::optional<TableFilter> TableFilter::parse(const QString &text, const TableSchema &schema,
                                              QString *error)
{
    auto fail = [error](const QString &why) -> std::optional<TableFilter> {
        if (error) *error = why;
        return std::nullopt;
    };
    TableFilter f;
    Lexer lx{text};
    if (lx.atEnd()) return f;
    std::vector<Term> group;
    for (;;) {
        const QString name = lx.word();
        const int field = schema.fieldIndex(name);
        if (name.isEmpty() || field < 0)
            return fail(QStringLiteral("unknown field \"%1\"").arg(name));
        const FieldType t = schema.fields[field].type;
        if (t != FieldType::AutoInc && t != FieldType::Integer && t != FieldType::Boolean &&
            t != FieldType::DateTime)
            return fail(QStringLiteral("field \"%1\" is not numeric").arg(name));
        const QString o = lx.op();
        Op op;
        if (o == u"=")
            op = Op::Eq;
        else if (o == u"<>")
            op = Op::Ne;
        else if (o == u"<")
            op = Op::Lt;
        else if (o == u">")
            op = Op::Gt;
        else if (o == u"<=")
            op = Op::Le;
        else if (o == u">=")
            op = Op::Ge;
        else
            return fail(QStringLiteral("expected an operator after \"%1\"").arg(name));
        double value = 0;
        if (!lx.number(&value))
            return fail(QStringLiteral("expected a number after \"%1 %2\"").arg(name, o));
        group.push_back({field, op, value});
        if (lx.atEnd()) break;
        const QString joiner = lx.word();
        if (joiner.compare(u"or", Qt::CaseInsensitive) == 0) {
            f.m_anyOf.push_back(std::move(group));
            group.clear();
        } else if (joiner.compare(u"and", Qt::CaseInsensitive) != 0) {
            return fail(QStringLiteral("expected \"or\" or \"and\", found \"%1\"").arg(joiner));
        }
    }
    f.m_anyOf.push_back(std::move(group));
    return f;
}

bool TableFilter::accepts(const std::vector<TableColumn> &columns, int slot) const
{
    if (m_anyOf.empty()) return true;
    for (const std::vector<Term> &group : m_anyOf) {
        bool all = true;
        for (const Term &t : group) {
            const TableColumn &c = columns[t.field];
            if (c.nulls[slot]) {
                all = false;
                break;
            }
            const double v = c.type == FieldType::DateTime ? c.reals[slot] : double(c.ints[slot]);
            bool ok = false;
            switch (t.op) {
            case Op::Eq:
                ok = v == t.value;
                break;
            case Op::Ne:
                ok = v != t.value;
                break;
            case Op::Lt:
                ok = v < t.value;
                break;
            case Op::Gt:
                ok = v > t.value;
                break;
            case Op::Le:
                ok = v <= t.value;
                break;
            case Op::Ge:
                ok = v >= t.value;
                break;
            }
            if (!ok) {
                all = false;
                break;
            }
        }
        if (all) return true;
    }
    return false;
}
