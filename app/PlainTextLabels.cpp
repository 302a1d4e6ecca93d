#include "app/PlainTextLabels.h"

#include <QLabel>
#include <QString>
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

QString plainTextTip(const QString &text, Qt::WhiteSpaceMode mode)
{
    if (text.isEmpty() || !Qt::mightBeRichText(text))
        return text;
    return Qt::convertFromPlainText(text, mode);
}
