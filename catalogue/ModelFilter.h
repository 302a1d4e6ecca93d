#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The filter of the model list: what the filter panel holds, turned into the
// WHERE text of the "rcmodels" table model. A table model's filter cannot bind
// values, so every literal taken from the panel is quoted with its single
// quotes doubled: a brand such as O'NEIL matches exactly that text.
class ModelFilter
{
public:
    // Items of the database choice, by index.
    enum Part { WholeDatabase = 0, OwnModels = 1, FactoryModels = 2, MastersOnly = 3 };

    struct Panel
    {
        int database = WholeDatabase;
        QString brand; // brand field as typed
        // The catalogue's own spellings of that brand (brandSpellings()); when
        // set, a model matches one of them exactly, so the brand index is used.
        // Empty: the brand is compared as brandValue() gives it.
        QStringList brandSpellings;
        QString types; // the type box's current text: checked types joined by "," or what was typed
        QString model; // model field as typed
        QString rcid;
        QString link;
        bool advancedFilter = false;
        bool showHidden = false;
        bool showHidden1 = false;
    };

    // "(1)AND(...)..." followed by the ordering by brand and model.
    static QString filter(const Panel &panel);
    // The conditions alone, without the ordering.
    static QString conditions(const Panel &panel);

    // The brand that is matched exactly: upper case, trimmed, and when it holds
    // "(", the text inside the first parentheses ("ALPHA (NORDA)" -> "NORDA").
    static QString brandValue(const QString &text);
    // The brands stored in the catalogue that equal brand regardless of
    // letter case, letters outside ASCII included ("acme" finds "Acme" and
    // "ACME", "ø" finds "Ø"). SQLite folds only ASCII, so the stored brands
    // are compared here; they are read one index step per distinct brand,
    // not row by row. False (with the reason) when they cannot be read whole.
    static bool brandSpellings(QSqlDatabase db, const QString &brand, QStringList *out, QString *error = nullptr);

    // The types listed in the type box's text; empty when the text is empty.
    static QStringList typeValues(const QString &text);
    // The LIKE pattern of the model field: its runs of digits and of letters
    // (single characters with the advanced filter) between "%"; every other
    // character is skipped. "KD-55X" -> "%KD%55%X%" (advanced: "%K%D%5%5%X%").
    static QString modelPattern(const QString &text, bool advancedFilter);

    // An SQL text literal: value in single quotes, its quotes doubled.
    static QString quoted(const QString &value);
};
