#include "app/ShownText.h"

#include "app/QuotedValue.h"

namespace ShownText {

QString bounded(const QString &text)
{
    return QuotedValue::cut(text, kMaxChars);
}

} // namespace ShownText
