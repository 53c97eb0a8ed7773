#pragma once
// The query each database service makes for itself: on the given connection, closed,
// its SQL text cleared and the one statement added. The caller owns it.
#include "dataaccess/query.h"

#include <memory>

inline std::unique_ptr<da::Query> serviceQuery(da::Connection* connection, const QString& sql) {
    auto query = std::make_unique<da::Query>(connection);
    query->close();
    query->clearSql();
    query->addSql(sql);
    return query;
}
