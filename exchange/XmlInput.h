#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QXmlStreamReader>

#include <memory>

// An XML file's bytes as Qt's stream reader is to read them, looked over
// before it does. Qt compares each attribute of an element with every one
// before it, so one element of 50,000 attributes holds the reader for
// seconds: such an element, and a document type declaration, are refused
// here by a scan whose time grows with the file's size alone.
//
// The scan must see the characters the reader sees. A file the reader takes
// as UTF-8 (the program's own form) is scanned and read as its bytes; one in
// another encoding (a byte-order mark, a declared encoding) is decoded here
// once and the reader gets that text, so the two never differ.
class XmlInput
{
    Q_DECLARE_TR_FUNCTIONS(XmlInput)

public:
    // Far above what the exchange format uses: it has no attributes.
    static constexpr int MaxAttributes = 64;

    explicit XmlInput(const QByteArray &bytes);

    // Why the file is refused before the reader sees it; empty when it is not.
    QString refusal() const { return m_refusal; }

    // A reader of the scanned characters, without namespace processing (the
    // format has no namespaces, and resolving prefixes costs a search of
    // every declaration in scope). Only when refusal() is empty.
    std::unique_ptr<QXmlStreamReader> reader() const;

private:
    template <typename Char>
    void scan(const Char *text, qsizetype size);

    QByteArray m_bytes; // read as UTF-8 when m_decoded is false
    QString m_text;
    bool m_decoded = false;
    QString m_refusal;
};
