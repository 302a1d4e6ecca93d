#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

// The remote-control exchange file: one link master with its keys of one
// remote type and the user's own models linked to it. write() gives the
// file's bytes; read() turns bytes back into checked values, so nothing
// unchecked ever reaches the catalogue.
class ExchangeFile
{
    Q_DECLARE_TR_FUNCTIONS(ExchangeFile)

public:
    static constexpr const char *ProgramVersion = "2.5.10";

    struct Model
    {
        QString rcid, brand, type, model, documentation, correction, prot;
    };
    struct Key
    {
        QString name, id;
        QString nkey; // read: checked and mapped to a decimal 0..127
    };

    struct Document
    {
        QString version;          // the version text of the file
        bool hasMaster = false;   // the description carries a master row
        Model master;
        QString rcTypeId;
        QList<Key> keys;
        bool hasLinksGroup = false; // read: the file has its links group
        QList<Model> links;         // read: only complete links, checked
        QString linksError;         // read: why the links group is unusable
        QStringList log;            // read: keys skipped and why
    };

    // Why the document cannot be written whole, naming the model (or key)
    // and the field that holds a character XML 1.0 cannot carry; empty when
    // it can. A writer asks this first, so no text loses characters.
    static QString unwritable(const Document &document);

    // The file's bytes: UTF-8, LF line ends, 4 spaces per level. Characters
    // XML 1.0 does not allow are dropped (see unwritable()).
    static QByteArray write(const Document &document);

    // Reads and checks a file. On failure returns false and says why in
    // *error (for the log); the user is told only that the file is wrong.
    // A file with a document type declaration is refused, and so is one
    // with an element of more than XmlInput::MaxAttributes attributes or
    // nested deeper than 64 levels. The file is read as a stream into the
    // document alone, so memory follows the values kept, not the elements.
    // A brand, type, model, key name or code longer than ImportValues
    // allows refuses the file. Keys whose position on remote type 5 has no
    // key are skipped and counted in one line of the document's log. Of
    // keys with the same key number only the last is kept, in the place of
    // the first, as the catalogue would keep it.
    // A link that is incomplete is dropped; a link with a bad value sets
    // linksError (only a replace reads the links).
    static bool read(const QByteArray &bytes, Document *document, QString *error);

    // The catalogue's identity shapes: eight lower-case hexadecimal digits,
    // or the braced UUID text of older catalogues.
    static bool isRcid(const QString &text);

    // Key number of a position text "b p" (b the layer digit, one separator,
    // p the third and fourth characters; each 0 when not a number) on remote
    // type t; NoKey when p is a 4in1 position without a key, -1 when the
    // type has no positions or the key number lies beyond MaxKeyNumber.
    static int nkeyFromPosition(const QString &position, int typeId);

    // Position p of the 4in1 layout to its key number 0..42; -1 when p has
    // no key.
    static int fourInOnePosition(int p);

    // The highest key number a remote type stores (two layers).
    static constexpr int MaxKeyNumber = 127;
    static constexpr int NoKey = -2;
    static constexpr int MaxTypeId = 255;

    // The text with the characters XML 1.0 does not allow removed.
    static QString xmlCharacters(const QString &text);
};

// A file's keys and links grow in place instead of being copied one by one.
Q_DECLARE_TYPEINFO(ExchangeFile::Key, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(ExchangeFile::Model, Q_RELOCATABLE_TYPE);
