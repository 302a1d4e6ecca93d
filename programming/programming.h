#pragma once

#include <QLabel>
#include <QString>

// The protocol code look-ups as a label of the main form (hidden), so that
// they can be reached by name through the meta-object. Each slot answers the
// code string of the first matching row on the default connection, or "FALSE".
class programming : public QLabel
{
    Q_OBJECT
public:
    explicit programming(QWidget *parent = nullptr);

public slots:
    QString doStrProtocol11(QString n_prot11);
    QString doStrProtocol21(QString n_prot21, int ntp);
    QString doStrProtocol41(QString n_prot41, int ntp);
    QString doStrProtocolIRT(QString n_protIRT);
};
