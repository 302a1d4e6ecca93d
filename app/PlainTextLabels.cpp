#include "app/PlainTextLabels.h"

#include <QLabel>
#include <QTextDocument>

#include <algorithm>

void showLabelsAsPlainText(QWidget *root, std::initializer_list<const QLabel *> keepFormat)
{
    if (!root)
        return;
    const QList<QLabel *> labels = root->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (std::find(keepFormat.begin(), keepFormat.end(), label) == keepFormat.end())
            label->setTextFormat(Qt::PlainText);
    }
}

QString plainToolTip(const QString &text)
{
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal) : text;
}
