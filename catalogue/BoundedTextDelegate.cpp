#include "catalogue/BoundedTextDelegate.h"

#include "app/ShownText.h"

QString BoundedTextDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    // Cut before Qt's own conversion, which may copy the whole text.
    if (value.userType() == QMetaType::QString)
        return QStyledItemDelegate::displayText(ShownText::bounded(value.toString()), locale);
    return ShownText::bounded(QStyledItemDelegate::displayText(value, locale));
}
