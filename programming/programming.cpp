#include "programming/programming.h"

#include "programming/ProtocolLookup.h"

#include <QSqlDatabase>

programming::programming(QWidget *parent) : QLabel(parent)
{
}

QString programming::doStrProtocol11(QString n_prot11)
{
    return ProtocolLookup::protocol11(QSqlDatabase::database(), n_prot11);
}

QString programming::doStrProtocol21(QString n_prot21, int ntp)
{
    return ProtocolLookup::protocol21(QSqlDatabase::database(), n_prot21, ntp);
}

QString programming::doStrProtocol41(QString n_prot41, int ntp)
{
    return ProtocolLookup::protocol41(QSqlDatabase::database(), n_prot41, ntp);
}

QString programming::doStrProtocolIRT(QString n_protIRT)
{
    return ProtocolLookup::protocolIRT(QSqlDatabase::database(), n_protIRT);
}
