#include "statementshapes.h"

#include "dataaccess/backend.h"
#include "dataaccess/sqlerror.h"
#include "serverfolder.h"
#include "servererrors.h"
#include "sqlitedb.h"
#include "statementrunner.h"

namespace da::embedded {

// The handlers of the table: StatementRunner's members behind one signature.
struct StatementHandlers {
    using Call = StatementCall;

    static ResultSet select(StatementRunner& r, const Call& c) { return r.select(c.tokens, c.span, c.params); }
    static ResultSet insert(StatementRunner& r, const Call& c) { return r.insert(c.tokens, c.span, c.params); }
    static ResultSet update(StatementRunner& r, const Call& c) { return r.update(c.tokens, c.span, c.params); }
    static ResultSet remove(StatementRunner& r, const Call& c) { return r.remove(c.tokens, c.span, c.params); }
    static ResultSet ifStatement(StatementRunner& r, const Call& c) {
        return r.ifStatement(c.source, c.tokens, c.span, c.params);
    }
    static ResultSet exec(StatementRunner& r, const Call& c) { return r.execProcedure(c.tokens, c.span); }
    static ResultSet create(StatementRunner& r, const Call& c) {
        r.m_definitions.create(c.source, c.tokens, c.span);
        return {};
    }
    static ResultSet drop(StatementRunner& r, const Call& c) {
        r.m_definitions.drop(c.tokens, c.span);
        return {};
    }
    static ResultSet alter(StatementRunner& r, const Call& c) {
        r.m_definitions.alter(c.tokens, c.span);
        return {};
    }
    static ResultSet createDatabase(StatementRunner& r, const Call& c) {
        r.m_folder.createDatabase(databaseName(r, c));
        return {};
    }
    static ResultSet dropDatabase(StatementRunner& r, const Call& c) {
        const QString name = databaseName(r, c);
        if (name.compare(r.m_database, Qt::CaseInsensitive) == 0) {
            throw SqlError(QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(name));
        }
        r.m_folder.dropDatabase(name);
        return {};
    }
    static ResultSet truncate(StatementRunner& r, const Call& c) {
        int i = c.span.begin + 2;
        const QString name = readLocalName(c.tokens, i, c.span, r.m_database);
        if (r.m_catalogue.objectType(name) != QLatin1String("table")) {
            throw SqlError(QStringLiteral("Cannot find the object \"%1\" because it does not exist or you do not have "
                                          "permissions.")
                               .arg(name));
        }
        r.m_db.exec(QStringLiteral("DELETE FROM ") + sqlName(name));
        return {};
    }
    // SET option ON|OFF: session options without effect here.
    static ResultSet setOption(StatementRunner&, const Call& c) {
        static const char* options[] = {"NOCOUNT", "ANSI_NULLS", "QUOTED_IDENTIFIER", "ANSI_PADDING", "ANSI_WARNINGS",
                                        "XACT_ABORT"};
        if (c.span.end - c.span.begin == 3) {
            for (const char* o : options) {
                if (c.tokens[static_cast<size_t>(c.span.begin + 1)].isWord(o)) return {};
            }
        }
        notSupported(QStringLiteral("The statement 'SET'"));
    }
    // RAISERROR('text', severity, state): the batch stops with the text as the error.
    static ResultSet raiseError(StatementRunner&, const Call& c) {
        const Tokens& t = c.tokens;
        const int open = c.span.begin + 1;
        if (open >= c.span.end || !t[static_cast<size_t>(open)].isSymbol("(") || matchingParen(t, open) != c.span.end - 1) {
            syntaxNear(t, open, c.span);
        }
        const auto items = splitTopLevel(t, {open + 1, c.span.end - 1});
        if (items.size() != 3 || t[static_cast<size_t>(items[0].begin)].kind != TokenKind::String) {
            notSupported(QStringLiteral("RAISERROR other than of a text, a severity and a state"));
        }
        throw SqlError(t[static_cast<size_t>(items[0].begin)].value, 50000, QStringLiteral("42000"));
    }

private:
    static QString databaseName(StatementRunner& r, const Call& c) {
        int i = c.span.begin + 2;
        const QString name = readLocalName(c.tokens, i, c.span, r.m_database);
        if (i != c.span.end) syntaxNear(c.tokens, i, c.span);
        return name;
    }
};

namespace {

using H = StatementHandlers;
using Sqlite = StatementShape::Sqlite;

// First match wins: the two-word shapes stand before the one-word ones of their first word.
const StatementShape kShapes[] = {
    {"CREATE", "DATABASE", H::createDatabase, Sqlite::Several, true, false},
    {"DROP", "DATABASE", H::dropDatabase, Sqlite::Several, true, false},
    {"SELECT", nullptr, H::select, Sqlite::OneWithoutInto, false, true},
    {"INSERT", nullptr, H::insert, Sqlite::One, false, true},
    {"UPDATE", nullptr, H::update, Sqlite::One, false, true},
    {"DELETE", nullptr, H::remove, Sqlite::One, false, true},
    {"CREATE", nullptr, H::create, Sqlite::Several, false, true},
    {"DROP", nullptr, H::drop, Sqlite::Several, false, true},
    {"ALTER", nullptr, H::alter, Sqlite::Several, false, true},
    {"IF", nullptr, H::ifStatement, Sqlite::Several, false, true},
    {"RAISERROR", nullptr, H::raiseError, Sqlite::Several, false, true},
    {"EXEC", nullptr, H::exec, Sqlite::Several, false, true},
    {"EXECUTE", nullptr, H::exec, Sqlite::Several, false, true},
    {"TRUNCATE", "TABLE", H::truncate, Sqlite::Several, false, true},
    {"SET", nullptr, H::setOption, Sqlite::Several, false, true},
};

}  // namespace

const StatementShape* findStatementShape(const Tokens& t, Span span) {
    if (span.empty()) return nullptr;
    const Token& first = t[static_cast<size_t>(span.begin)];
    for (const StatementShape& s : kShapes) {
        if (first.isWord(s.first) && (!s.second || wordAt(t, span.begin + 1, span, s.second))) return &s;
    }
    return nullptr;
}

bool startsStatementAfterIf(const Token& token) {
    for (const StatementShape& s : kShapes) {
        if (s.afterIf && token.isWord(s.first)) return true;
    }
    return false;
}

bool isOneSqliteStatement(const StatementShape& shape, const Tokens& t, Span span) {
    switch (shape.sqlite) {
    case Sqlite::One: return true;
    case Sqlite::Several: return false;
    case Sqlite::OneWithoutInto: return findTopLevelWord(t, {span.begin + 1, span.end}, "INTO") < 0;
    }
    return false;
}

}  // namespace da::embedded
