#pragma once

#include <QString>

#include <functional>

// One message looked up in a compiled translation (.qm) without reading the
// whole file: the section headers, a few entries of the sorted hash table
// and the candidate records, each piece bounded. The language menu needs
// only each language's own name; reading every file whole to get it made
// the start as slow as the files were large.
namespace TranslationLookup {

// Reads exactly size bytes at offset into data; false when it cannot.
using ReadAt = std::function<bool(qint64 offset, char *data, qint64 size)>;

enum class Result {
    Found,      // *translation holds the message's translation
    None,       // no translation (not a .qm, no such message, or untranslated)
    ReadFailed, // readAt failed: the answer is unknown
};

// The first translation of sourceText in context (no comment, not plural)
// in a .qm file of fileSize bytes, as QTranslator would give it.
Result find(const ReadAt &readAt, qint64 fileSize, const char *context, const char *sourceText,
            QString *translation);

// The same in the file at path, read through CheckedFile within maxBytes.
// ReadFailed also for a file the checked reader refused, with *problem
// saying why; a missing file is None.
Result find(const QString &path, qint64 maxBytes, const char *context, const char *sourceText,
            QString *translation, QString *problem = nullptr);

} // namespace TranslationLookup
