#pragma once

#include <QSqlDatabase>
#include <QStringList>

// The lists of the filter panel: brands offered for completion and the device
// types of the type box. A catalogue without the optional brand table still
// offers the brands its models use; empty and NULL names are left out.
class CatalogueLists
{
public:
    // Brands of the models and of "rcbrands", sorted, each once.
    static QStringList brands(QSqlDatabase db, QString *error = nullptr);
    // Distinct device types of the models, sorted.
    static QStringList types(QSqlDatabase db, QString *error = nullptr);
};
