#pragma once
// The link between a table and the controls that show it: a form component naming the
// table its data-aware controls read and write.
#include <QObject>

namespace da {
class Table;
}

class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject* parent = nullptr);

    void setDataSet(da::Table* table);
    da::Table* dataSet() const { return m_dataSet; }

signals:
    void dataSetChanged(da::Table* table);

private:
    da::Table* m_dataSet = nullptr;
};
