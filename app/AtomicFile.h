#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Writes a file whole or not at all: the bytes go to a temporary file beside
// the target, every write, the flush to disk and the close are checked, the
// size is compared, and only then is the temporary renamed over the target.
// On any failure the old file stays exactly as it was and the temporary file
// is removed. Through a symbolic link the link's target is replaced (the link
// stays), and a replaced file's owner and permission bits carry over to the
// new one. QSaveFile is not enough: it ignores errors of the final flush
// and of the sync, so a full disk can leave an empty file reported as saved.
class AtomicFile
{
    Q_DECLARE_TR_FUNCTIONS(AtomicFile)

public:
    explicit AtomicFile(const QString &path);
    ~AtomicFile(); // an uncommitted file is cancelled
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    QString path() const { return m_path; }
    QString temporaryPath() const { return m_tempPath; }

    // Creates the temporary file; false (with errorString()) when it cannot.
    bool open();
    // Appends data; false once any write failed (later calls do nothing).
    bool write(const QByteArray &data);
    bool write(const char *data, qint64 size);
    // Syncs, closes, checks the size and puts the file in place.
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void cancel();

    qint64 written() const { return m_written; }
    // The reason of the first failure, in the system's words, with the file.
    QString errorString() const { return m_error; }
    // The same reason alone, without the file.
    QString reason() const { return m_reason; }

    // The usual case: data becomes the whole content of path. On failure
    // *error (when given) holds a message naming the file and the reason.
    static bool writeWhole(const QString &path, const QByteArray &data, QString *error = nullptr);
    // Reads the whole of a regular file (CheckedFile, no size bound); a read
    // that ends early or fails is false.
    static bool readWhole(const QString &path, QByteArray *data, QString *error = nullptr);
    // Copies a regular file from to the whole of to, in pieces (CheckedFile,
    // no size bound); a failed read leaves no file.
    static bool copyWhole(const QString &from, const QString &to, QString *error = nullptr);

    // A fresh private folder beside path, named as this class names its
    // temporary files (".name.irvanta-tmp-<process>-<n>") and holding the
    // program's mark (OwnMark), so a start after a crash knows it for a
    // leftover. Empty with *error when it cannot be made.
    static QString makeTemporaryFolder(const QString &path, QString *error = nullptr);
    // The process that made a temporary file or folder of this class with
    // this name; 0 when the name is not of that form.
    static qint64 temporaryOwner(const QString &fileName);

    // For tests on machines where no small file system can be mounted: every
    // file written from now on fails with "No space left on device" once
    // this many bytes have gone into it (a negative value turns it off).
    static void setFailAfterBytesForTesting(qint64 bytes);

private:
    bool fail(int errorNumber, const QString &what);
    static QString temporaryName(const QString &fileName);

    QString m_path;
    QString m_target; // m_path with symbolic links followed
    QString m_tempPath;
    QString m_error;
    QString m_reason;
    qint64 m_written = 0;
    int m_fd = -1;
    bool m_failed = false;
};
