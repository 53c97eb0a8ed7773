#pragma once
// The farm database module: owns the connection to the customer's farm database.
#include "dataaccess/connection.h"

#include <QObject>
#include <QString>

class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    da::Connection MainConnection;
    QString ProgramPath;

    void DataModuleCreate(QObject* Sender);
};

extern TDM* DM;
