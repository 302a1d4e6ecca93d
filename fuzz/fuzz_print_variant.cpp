// Arbitrary model documentation through the key sheet's reading of "key=value"
// lines and the template names built from the print variant. Checks what the
// rest of the program relies on: parts hold no line breaks or tabs and are
// trimmed, the variant is the last "print" line, and a variant that reaches a
// file name keeps the name inside "images/".
#include "printing/KeySheetLayout.h"

#include <QString>
#include <QtGlobal>

#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

bool clean(const QString &text)
{
    return text == text.trimmed() && !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')) &&
           !text.contains(QLatin1Char('\t'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    static const auto previous = qInstallMessageHandler(quiet); // the reader logs every pair
    Q_UNUSED(previous);
    const QString documentation = QString::fromUtf8(reinterpret_cast<const char *>(bytes), qsizetype(size));

    QString last;
    for (const KeySheetLayout::Pair &pair : KeySheetLayout::documentationPairs(documentation)) {
        if (!clean(pair.key) || !clean(pair.value))
            std::abort();
        if (pair.key == QLatin1String("print"))
            last = pair.value;
    }
    const QString variant = KeySheetLayout::printVariant(documentation);
    if (variant != last)
        std::abort();

    for (int named : {0, 1})
        for (const KeySheetLayout::Candidate &c :
             KeySheetLayout::templateCandidates(named, QStringLiteral("4"), QStringLiteral("1"), variant)) {
            if (!c.fileName.startsWith(QLatin1String("images/print")) || c.fileName.count(QLatin1Char('/')) != 1 ||
                c.fileName.contains(QLatin1String("..")))
                std::abort();
        }
    return 0;
}
