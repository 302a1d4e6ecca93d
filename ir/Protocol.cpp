#include "ir/Protocol.h"

Protocol::Protocol(QObject *parent) : QObject(parent)
{
}
