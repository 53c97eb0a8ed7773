#include "toolkit/tools.h"

#include <stdexcept>

// Placeholder definitions: replaced by the real ones of this subsystem.

int TTools::ExecSql(const QString& SqlSt) { throw std::logic_error("ExecSql: not built yet"); }
int TTools::ExecSqlNoCount(const QString& SqlSt) { throw std::logic_error("ExecSqlNoCount: not built yet"); }
void TTools::ShowExceptMsg(const QString& Msg, const QString& ErMsg) { throw std::logic_error("ShowExceptMsg: not built yet"); }
bool TTools::IsFieldExist(const QString& TblName, const QString& FldName) { throw std::logic_error("IsFieldExist: not built yet"); }
bool TTools::IsTableExist(const QString& TblName) { throw std::logic_error("IsTableExist: not built yet"); }
bool TTools::IsDataBaseExist(const QString& DBName) { throw std::logic_error("IsDataBaseExist: not built yet"); }
bool TTools::IsSpExist(const QString& SpName) { throw std::logic_error("IsSpExist: not built yet"); }
bool TTools::IsViewExist(const QString& ViewName) { throw std::logic_error("IsViewExist: not built yet"); }
bool TTools::DropViewSafe(const QString& ViewName) { throw std::logic_error("DropViewSafe: not built yet"); }
