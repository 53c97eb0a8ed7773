#include "datasource.h"

TDataSource::TDataSource(QObject* parent) : QObject(parent) {}

void TDataSource::setDataSet(da::Table* table) {
    if (table == m_dataSet)
        return;
    m_dataSet = table;
    emit dataSetChanged(table);
}
