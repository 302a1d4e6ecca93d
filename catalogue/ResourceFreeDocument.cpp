#include "catalogue/ResourceFreeDocument.h"

#include <QImage>

ResourceFreeDocument::ResourceFreeDocument(QObject *parent) : QTextDocument(parent) {}

QVariant ResourceFreeDocument::loadResource(int type, const QUrl &name)
{
    Q_UNUSED(name);
    if (type == QTextDocument::ImageResource) {
        QImage nothing(1, 1, QImage::Format_ARGB32);
        nothing.fill(Qt::transparent);
        return nothing;
    }
    return QString();
}
