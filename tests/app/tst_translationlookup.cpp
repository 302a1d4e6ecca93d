// One message looked up in a .qm file piece by piece: the same answer as
// QTranslator, a read that fails is never "no translation", and the cost
// is a few pieces whatever the file's size.
#include "FifoWatchdog.h"
#include "PaddedTranslation.h"
#include "TestSupport.h"
#include "app/CheckedFile.h"
#include "app/TranslationLookup.h"

#include <QFile>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

QString programQm()
{
    return TestSupport::binaryDir() + QStringLiteral("/languages/German.qm");
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A reader over bytes in memory that counts its calls and bytes.
struct MemoryFile
{
    QByteArray bytes;
    int calls = 0;
    qint64 read = 0;
    int failAt = -1; // the call that fails, if any

    TranslationLookup::ReadAt reader()
    {
        return [this](qint64 offset, char *data, qint64 size) {
            if (calls++ == failAt)
                return false;
            if (offset < 0 || size < 0 || offset + size > bytes.size())
                return false;
            std::memcpy(data, bytes.constData() + offset, size_t(size));
            read += size;
            return true;
        };
    }
};

struct Message
{
    QByteArray context;
    QByteArray source;
};

// Every message of a .ts file without comment and not plural.
QList<Message> messagesOf(const QString &ts)
{
    QFile file(ts);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QList<Message> messages;
    QByteArray context;
    Message current;
    bool plain = true;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("message")) {
                current = Message{context, {}};
                plain = xml.attributes().value(QLatin1String("numerus")) != QLatin1String("yes");
            } else if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText().toUtf8();
            } else if (xml.name() == QLatin1String("source")) {
                current.source = xml.readElementText().toUtf8();
            } else if (xml.name() == QLatin1String("comment")) {
                plain = false;
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message") && plain) {
            messages.append(current);
        }
    }
    return messages;
}

} // namespace

class TestTranslationLookup : public QObject
{
    Q_OBJECT

private slots:
    // Every message of the program's German file, and some it lacks, give
    // what QTranslator gives.
    void sameAsQTranslator()
    {
        const QList<Message> messages =
            messagesOf(qEnvironmentVariable("IRVANTA_SOURCE_DIR") + QStringLiteral("/translations/German.ts"));
        QVERIFY(messages.size() > 100);
        QTranslator translator;
        QVERIFY(translator.load(programQm()));
        QList<Message> asked = messages;
        asked.append(Message{"MainWindowImpl", "No such text"});
        asked.append(Message{"NoSuchContext", "Help"});
        asked.append(Message{"MainWindowImp", "Help"});
        int found = 0;
        for (const Message &m : std::as_const(asked)) {
            QString text;
            const auto result = TranslationLookup::find(programQm(), CheckedFile::TranslationBytes,
                                                        m.context.constData(), m.source.constData(), &text);
            const QString expected = translator.translate(m.context.constData(), m.source.constData());
            QVERIFY2(result != TranslationLookup::Result::ReadFailed, m.source.constData());
            QCOMPARE(text, result == TranslationLookup::Result::Found ? expected : QString());
            if (result == TranslationLookup::Result::Found)
                ++found;
            else
                QVERIFY2(expected.isEmpty(), m.source.constData());
        }
        QVERIFY(found > 100);
        QString name;
        QCOMPARE(TranslationLookup::find(programQm(), CheckedFile::TranslationBytes, "MainWindowImpl", "LanguageName",
                                         &name),
                 TranslationLookup::Result::Found);
        QCOMPARE(name, QStringLiteral("Deutsch"));
    }

    // A read that fails at any point is a failure, never "no translation".
    void everyFailedReadIsReported()
    {
        MemoryFile file{contents(programQm())};
        QVERIFY(!file.bytes.isEmpty());
        QString text;
        QCOMPARE(TranslationLookup::find(file.reader(), file.bytes.size(), "MainWindowImpl", "Help", &text),
                 TranslationLookup::Result::Found);
        const int calls = file.calls;
        QVERIFY(calls > 3);
        for (int failAt = 0; failAt < calls; ++failAt) {
            file.calls = 0;
            file.failAt = failAt;
            QCOMPARE(TranslationLookup::find(file.reader(), file.bytes.size(), "MainWindowImpl", "Help", &text),
                     TranslationLookup::Result::ReadFailed);
            QVERIFY(text.isEmpty());
        }
    }

    // A cut or spoiled file gives no translation (and is read within itself).
    void brokenFiles()
    {
        const QByteArray whole = contents(programQm());
        QString text;
        for (qsizetype cut = 0; cut < whole.size(); cut += 97) {
            MemoryFile file{whole.left(cut)};
            const auto result =
                TranslationLookup::find(file.reader(), file.bytes.size(), "MainWindowImpl", "LanguageName", &text);
            // The name's record lies before the end of some cuts: then it is found whole.
            QVERIFY(result != TranslationLookup::Result::ReadFailed);
            if (result == TranslationLookup::Result::Found)
                QCOMPARE(text, QStringLiteral("Deutsch"));
        }
        MemoryFile notQm{QByteArray(4096, 'x')};
        QCOMPARE(TranslationLookup::find(notQm.reader(), notQm.bytes.size(), "MainWindowImpl", "LanguageName", &text),
                 TranslationLookup::Result::None);
        QCOMPARE(notQm.calls, 1);
    }

    // A file whose hash table is all one hash, its records none of them the
    // one asked for, and a file of empty sections: a bounded number of reads.
    void hostileFilesCostLittle()
    {
        const char magic[16] = {'\x3c', '\xb8', '\x64', '\x18', '\xca', '\xef', '\x9c', '\x95',
                                '\xcd', '\x21', '\x1c', '\xbf', '\x60', '\xa1', '\xbd', '\xdd'};
        auto be32 = [](quint32 v) {
            const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
            return QByteArray(b, 4);
        };
        // The hash of "LanguageName", as QTranslator files it.
        quint32 h = 0;
        for (const char *k = "LanguageName"; *k; ++k) {
            h = (h << 4) + quint32(*k);
            const quint32 g = h & 0xf0000000u;
            if (g)
                h ^= g >> 24;
            h &= ~g;
        }
        // Record: source "LanguageName", context "Other", a translation.
        const QByteArray record = QByteArray("\x06") + be32(12) + "LanguageName" + "\x07" + be32(5) + "Other" +
                                  "\x03" + be32(2) + QByteArray("\0x", 2) + "\x01";
        constexpr int entries = 100000;
        QByteArray hashes;
        for (int i = 0; i < entries; ++i)
            hashes += be32(h) + be32(0);
        MemoryFile collisions{QByteArray(magic, 16) + "\x42" + be32(quint32(hashes.size())) + hashes + "\x69" +
                              be32(quint32(record.size())) + record};
        QString text;
        QCOMPARE(TranslationLookup::find(collisions.reader(), collisions.bytes.size(), "MainWindowImpl",
                                         "LanguageName", &text),
                 TranslationLookup::Result::None);
        QVERIFY2(collisions.calls < 400, qPrintable(QString::number(collisions.calls)));
        // The same record in its own context is found: the table is read right.
        QCOMPARE(TranslationLookup::find(collisions.reader(), collisions.bytes.size(), "Other", "LanguageName", &text),
                 TranslationLookup::Result::Found);
        QCOMPARE(text, QStringLiteral("x"));

        MemoryFile empties{QByteArray(magic, 16) + QByteArray(5 * 1000000, '\0')};
        empties.calls = 0;
        QCOMPARE(TranslationLookup::find(empties.reader(), empties.bytes.size(), "MainWindowImpl", "LanguageName",
                                         &text),
                 TranslationLookup::Result::None);
        QVERIFY2(empties.calls < 100, qPrintable(QString::number(empties.calls)));
    }

    // A file as large as the bound costs a few pieces, not its size.
    void largeFileReadInPieces()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("German.qm"));
        QVERIFY(writePaddedTranslation(contents(programQm()), path, CheckedFile::TranslationBytes));
        QString text;
        const qint64 before = CheckedFile::bytesRead();
        QCOMPARE(TranslationLookup::find(path, CheckedFile::TranslationBytes, "MainWindowImpl", "Help", &text),
                 TranslationLookup::Result::Found);
        QCOMPARE(text, QStringLiteral("Hilfe"));
        const qint64 read = CheckedFile::bytesRead() - before;
        QVERIFY2(read > 0 && read < 16 * 1024, qPrintable(QString::number(read)));
        // QTranslator takes the padded file as it is.
        QTranslator translator;
        QVERIFY(translator.load(path));
        QCOMPARE(translator.translate("MainWindowImpl", "Help"), QStringLiteral("Hilfe"));
    }

    // Through the checked reader: nothing there is no problem; a pipe is
    // not waited on, a device and a file past the bound not read.
    void checkedFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addRow("missing") << "missing" << "";
        QTest::addRow("named pipe") << "pipe" << "not a regular file but a named pipe";
        QTest::addRow("link to a device") << "device" << "not a regular file but a device";
        QTest::addRow("past the bound") << "huge" << "larger than 4 MiB";
    }
    void checkedFiles()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("German.qm"));
        std::unique_ptr<FifoWatchdog> pipe;
        if (kind == QLatin1String("pipe")) {
            pipe = std::make_unique<FifoWatchdog>(path);
            QVERIFY(pipe->made());
        } else if (kind == QLatin1String("device")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        } else if (kind == QLatin1String("huge")) {
            QVERIFY(writePaddedTranslation(contents(programQm()), path, CheckedFile::TranslationBytes + 1));
        }
        QString text = QStringLiteral("left over");
        QString problem = QStringLiteral("left over");
        const auto result = TranslationLookup::find(path, CheckedFile::TranslationBytes, "MainWindowImpl",
                                                    "LanguageName", &text, &problem);
        QVERIFY(!pipe || !pipe->fired());
        QVERIFY(text.isEmpty());
        if (reason.isEmpty()) {
            QCOMPARE(result, TranslationLookup::Result::None);
            QVERIFY(problem.isEmpty());
        } else {
            QCOMPARE(result, TranslationLookup::Result::ReadFailed);
            QCOMPARE(problem, QStringLiteral("Cannot read the file %1: %2").arg(path, reason));
        }
    }
};

QTEST_GUILESS_MAIN(TestTranslationLookup)
#include "tst_translationlookup.moc"
