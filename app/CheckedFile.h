#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <memory>

class QSettings;

// The one way the program reads a file it did not write itself: one the user
// chose, or one found in the working directory, "images/", "Languages/" or
// "RCImages/". Only a regular file is read (a link only when it leads to
// one), and it is judged without blocking: a named pipe would hold the
// window in open() until something writes to it, and a device such as
// /dev/zero has no size and never ends. Each kind of file has its own size
// bound. A refusal names the file and says why, in the user's language.
// Qt classes that open files themselves (QSettings, QSqlDatabase) are given
// a path only after check() has passed it; pictures and translations are
// read here and handed over as bytes.
class CheckedFile
{
    Q_DECLARE_TR_FUNCTIONS(CheckedFile)

    class Source;

public:
    // Bounds by kind, far above what such a file holds in use.
    static constexpr qint64 MiB = 1024 * 1024;
    static constexpr qint64 PhotoBytes = 64 * MiB;       // a model's photo, also a chosen "+ Image"
    static constexpr qint64 PictureBytes = 64 * MiB;     // remote-type pictures and print templates
    static constexpr qint64 IconBytes = 1 * MiB;         // the window icon and language flags
    static constexpr qint64 SettingsBytes = 16 * MiB;    // config.ini
    static constexpr qint64 TranslationBytes = 4 * MiB;  // .qm files (Qt's own are about 320 KiB)
    // The catalogue: SQLite reads it page by page, so its size costs no memory.
    static constexpr qint64 Unbounded = -1;
    // Pieces in which a copy moves: never more than one in memory.
    static constexpr qint64 CopyPiece = 64 * 1024;

    enum class Result {
        Done,    // the file is as asked (and read or copied)
        Missing, // nothing at path (a dangling link too)
        Refused, // not a regular file, larger than the bound, or not readable
    };

    // Whether path is a regular file of at most maxBytes (Unbounded: any
    // size). Anything else than Done sets *error naming the file and why.
    static Result check(const QString &path, qint64 maxBytes, QString *error = nullptr);

    // The whole of path into *data (empty unless Done).
    static Result read(const QString &path, qint64 maxBytes, QByteArray *data, QString *error = nullptr);

    // Copies from (checked as above) to the whole of to, piece by piece, whole
    // or not at all. A write failure is Refused as well, with the system's
    // words naming the target.
    static Result copy(const QString &from, const QString &to, qint64 maxBytes, QString *error = nullptr);

    // A file checked as above and held open, to read only the pieces a
    // format needs of it (a translation's own name out of a large file).
    class Pieces
    {
    public:
        Pieces();
        Pieces(const Pieces &) = delete;
        Pieces &operator=(const Pieces &) = delete;
        ~Pieces();

        Result open(const QString &path, qint64 maxBytes, QString *error = nullptr);
        qint64 size() const;
        // Exactly size bytes at offset, or false with *error naming the
        // file and why (it gives fewer when it shrank after open()).
        bool readAt(qint64 offset, char *data, qint64 size, QString *error = nullptr);

    private:
        std::unique_ptr<Source> m_source;
        QString m_path;
    };

    // Bytes read through this class since the program started, by every
    // thread: what reading outside files has cost.
    static qint64 bytesRead();

    // An INI settings file for QSettings, which opens it itself: the file
    // at path when check() passes it or nothing is there; otherwise settings
    // that read nothing (the program's defaults), with *error saying why.
    static std::unique_ptr<QSettings> settings(const QString &path, QString *error = nullptr);

    // QSettings::sync() for settings that only read: QSettings opens its file
    // again whenever the file's size or time changed, and by then a pipe or
    // a link to a device may stand there. Only a file check() passes (or
    // none at all) is read again; otherwise the settings keep what they
    // hold and false is returned.
    static bool sync(QSettings &settings);

    // Why a file was refused, in the words check() uses: "Cannot read the
    // file <path>: <reason>".
    static QString message(const QString &path, const QString &reason);

private:
    static QString kindReason(unsigned mode);
    static QString sizeReason(qint64 maxBytes);
};
