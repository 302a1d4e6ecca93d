#pragma once

#include <QTextDocument>

// A text document that fetches nothing its markup names: no file, device,
// network or data address. Pictures are drawn as nothing (an empty answer
// would make Qt load the named file itself), style sheets are empty.
class ResourceFreeDocument : public QTextDocument
{
    Q_OBJECT
public:
    explicit ResourceFreeDocument(QObject *parent = nullptr);

protected:
    QVariant loadResource(int type, const QUrl &name) override;
};
