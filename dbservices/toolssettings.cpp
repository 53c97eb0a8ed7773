// The settings table: one value written or read back per call, each call reading the
// whole table afresh. Nothing is caught here.
#include "toolkit/tools.h"

#include "dbservices/settings.h"

void TTools::WriteInformation(const QString& Section, const QString& KeyName, const QString& KeyValue,
                              const QString& Discription) {
    settings::InfoTable(ServerConnection).write(Section, KeyName, KeyValue, Discription);
}

void TTools::ReadInformation(const QString& Section, const QString& KeyName, QString& KeyValue) {
    settings::InfoTable info(ServerConnection);
    // A read that fails from here on leaves the empty text with the caller.
    KeyValue.clear();
    KeyValue = info.read(Section, KeyName);
}

QString TTools::FReadInformation(const QString& Section, const QString& KeyName) {
    return settings::InfoTable(ServerConnection).read(Section, KeyName);
}
