// The control of flow of the embedded engine: IF, the batch's variables, EXEC of stored
// procedures and of the system procedures of the application locks.
#include "statementrunner.h"

#include "dataaccess/scopeexit.h"
#include "dataaccess/sqlerror.h"
#include "servererrors.h"
#include "sqlitedb.h"
#include "statementshapes.h"

namespace da::embedded {

ResultSet StatementRunner::ifStatement(const QString& source, const Tokens& t, Span span,
                                       const std::vector<QVariant>& params) {
    auto isStarter = [](const Token& tk) { return startsStatementAfterIf(tk); };
    int depth = 0;
    int body = -1;
    for (int i = span.begin + 1; i < span.end && body < 0; ++i) {
        if (at(t, i).isSymbol("(")) ++depth;
        if (at(t, i).isSymbol(")")) --depth;
        if (depth == 0 && isStarter(at(t, i))) body = i;
    }
    if (body < 0 || body == span.begin + 1) syntaxNear(t, body < 0 ? span.end : body, span);
    // ELSE at the outer level, outside any CASE .. END.
    int elseAt = -1;
    int cases = 0;
    depth = 0;
    for (int i = body; i < span.end; ++i) {
        const Token& tk = at(t, i);
        if (tk.isSymbol("(")) ++depth;
        if (tk.isSymbol(")")) --depth;
        if (depth != 0) continue;
        if (tk.isWord("CASE")) ++cases;
        if (tk.isWord("END") && cases > 0) --cases;
        if (tk.isWord("ELSE") && cases == 0) {
            elseAt = i;
            break;
        }
    }
    const Span condition{span.begin + 1, body};
    const int conditionParams = countParams(t, condition);
    std::vector<QVariant> own(params.begin(), params.begin() + std::min<size_t>(params.size(), conditionParams));
    const bool holds =
        m_db.scalar(QStringLiteral("SELECT CASE WHEN (") + expr(t, condition) + QStringLiteral(") THEN 1 ELSE 0 END"),
                    own)
            .toInt() == 1;
    const Span thenPart{body, elseAt < 0 ? span.end : elseAt};
    const Span elsePart{elseAt < 0 ? span.end : elseAt + 1, span.end};
    const Span chosen = holds ? thenPart : elsePart;
    if (chosen.empty()) return {};
    std::vector<QVariant> rest;
    size_t skip = static_cast<size_t>(conditionParams) + (holds ? 0 : static_cast<size_t>(countParams(t, thenPart)));
    for (size_t k = skip; k < params.size(); ++k) rest.push_back(params[k]);
    return run(source, t, chosen, rest);
}

// DECLARE @v int and EXEC @v = procedure: the variables of a batch that takes an
// application lock and tests the answer. Other uses of variables are not supported.
bool StatementRunner::batchVariableStatement(const Tokens& t, Span span) {
    const Token& first = at(t, span.begin);
    if (first.isWord("DECLARE")) {
        int i = span.begin + 1;
        if (i >= span.end || at(t, i).kind != TokenKind::Variable || at(t, i).text.startsWith(QLatin1String("@@"))) {
            syntaxNear(t, i, span);
        }
        const QString name = at(t, i).text.toUpper();
        if (i + 2 != span.end || !at(t, i + 1).isWord("INT")) notSupported(QStringLiteral("DECLARE other than of one int"));
        if (m_variables.contains(name)) {
            throw SqlError(QStringLiteral("The variable name '%1' has already been declared. Variable names must be "
                                          "unique within a query batch or stored procedure.")
                               .arg(at(t, i).text));
        }
        m_variables.insert(name, QVariant());
        return true;
    }
    if ((first.isWord("EXEC") || first.isWord("EXECUTE")) && span.begin + 2 < span.end &&
        at(t, span.begin + 1).kind == TokenKind::Variable && at(t, span.begin + 2).isSymbol("=")) {
        const QString name = at(t, span.begin + 1).text.toUpper();
        if (!m_variables.contains(name)) {
            throw SqlError(QStringLiteral("Must declare the scalar variable \"%1\".").arg(at(t, span.begin + 1).text));
        }
        int i = span.begin + 3;
        const QString procedure = readLocalName(t, i, span, m_database);
        m_variables.insert(name, systemProcedure(procedure, t, {i, span.end}));
        return true;
    }
    return false;
}

// sp_getapplock and sp_releaseapplock with named arguments; the answer is their return
// status. The lock's owner is always the session.
int StatementRunner::systemProcedure(const QString& name, const Tokens& t, Span args) {
    const bool get = name.compare(QLatin1String("sp_getapplock"), Qt::CaseInsensitive) == 0;
    if (!get && name.compare(QLatin1String("sp_releaseapplock"), Qt::CaseInsensitive) != 0) {
        throw SqlError(QStringLiteral("Could not find stored procedure '%1'.").arg(name));
    }
    QHash<QString, QString> values;
    for (const Span& a : splitTopLevel(t, args)) {
        if (a.end - a.begin != 3 || at(t, a.begin).kind != TokenKind::Variable || !at(t, a.begin + 1).isSymbol("=")) {
            notSupported(QStringLiteral("%1 without named arguments").arg(name));
        }
        const Token& v = at(t, a.begin + 2);
        if (v.kind != TokenKind::String && v.kind != TokenKind::Number && !(v.kind == TokenKind::Word)) {
            syntaxNear(t, a.begin + 2, args);
        }
        values.insert(at(t, a.begin).text.toLower(), v.value);
    }
    const QString resource = values.value(QStringLiteral("@resource"));
    const QString owner = values.value(QStringLiteral("@lockowner"), QStringLiteral("Transaction"));
    if (resource.isEmpty()) {
        throw SqlError(QStringLiteral("Procedure or function '%1' expects parameter '@Resource', which was not "
                                      "supplied.")
                           .arg(name));
    }
    if (owner.compare(QLatin1String("Session"), Qt::CaseInsensitive) != 0) {
        notSupported(QStringLiteral("An application lock owned by a transaction"));
    }
    if (!get) {
        if (m_appLocks.release(resource) != 0) {
            throw SqlError(QStringLiteral("Cannot release the application lock (Database Principal: 'public', "
                                          "Resource: '%1') because it is not currently held.")
                               .arg(resource),
                           1223);
        }
        return 0;
    }
    const QString mode = values.value(QStringLiteral("@lockmode"));
    const bool exclusive = mode.compare(QLatin1String("Exclusive"), Qt::CaseInsensitive) == 0;
    if (!exclusive && mode.compare(QLatin1String("Shared"), Qt::CaseInsensitive) != 0) {
        notSupported(QStringLiteral("The lock mode '%1'").arg(mode));
    }
    bool ok = true;
    const int timeout = values.value(QStringLiteral("@locktimeout"), QStringLiteral("-1")).toInt(&ok);
    if (!ok) throw SqlError(QStringLiteral("Error converting data type varchar to int."), 8114);
    return m_appLocks.acquire(resource, exclusive, timeout);
}

ResultSet StatementRunner::execProcedure(const Tokens& t, Span span) {
    int i = span.begin + 1;
    if (i < span.end && at(t, i).isSymbol("(")) notSupported(QStringLiteral("EXEC of a text"));
    const QString name = readLocalName(t, i, span, m_database);
    if (name.startsWith(QLatin1String("sp_"), Qt::CaseInsensitive) && !m_catalogue.procedureBody(name).isValid()) {
        systemProcedure(name, t, {i, span.end});
        return {};
    }
    if (i != span.end) notSupported(QStringLiteral("EXEC with parameters"));
    const QVariant body = m_catalogue.procedureBody(name);
    if (!body.isValid()) {
        throw SqlError(QStringLiteral("Could not find stored procedure '%1'.").arg(name));
    }
    if (m_depth >= 32) {
        throw SqlError(QStringLiteral("Maximum stored procedure, function, trigger, or view nesting level exceeded "
                                      "(limit 32)."));
    }
    const QString text = body.toString();
    const Tokens bodyTokens = tokenize(text);
    Span all{0, static_cast<int>(bodyTokens.size())};
    if (all.end >= 2 && at(bodyTokens, 0).isWord("BEGIN") && at(bodyTokens, all.end - 1).isWord("END")) {
        all = {1, all.end - 1};
    }
    ++m_depth;
    const ScopeExit depth([this] { --m_depth; });
    return runStatements(text, bodyTokens, all, {});
}

}  // namespace da::embedded
