#include "tools/samplekit/SampleCaptureFile.h"

#include "tools/samplekit/SampleSignals.h"

#include <QFile>
#include <QStringList>

namespace SampleCaptureFile {

namespace {

// Extra frames of the held key.
constexpr int kHeldRepeats = 3;

} // namespace

QString fileName()
{
    return QStringLiteral("sample-keys.tsv");
}

bool presses(const QList<SampleKit::SampleRemote> &remotes, QList<Press> *result, QString *error)
{
    QList<Press> out;
    for (const SampleSignals::SampleProtocol &p : SampleSignals::protocols()) {
        const SampleKit::SampleRemote *remote = nullptr;
        for (const SampleKit::SampleRemote &r : remotes) {
            if (r.kind == p.kind && r.firstTypeKeys >= 3) {
                remote = &r;
                break;
            }
        }
        if (!remote)
            continue;
        struct Key
        {
            int n;
            int frames;
        };
        // The first key held, the last one of the first type, then key 1; the
        // toggle changes with every press.
        const Key keys[] = {{0, p.frames + kHeldRepeats}, {remote->firstTypeKeys - 1, p.frames}, {1, p.frames}};
        int toggle = 0;
        for (const Key &k : keys) {
            Press press;
            press.rcid = remote->rcid;
            press.key = QString::fromLatin1(SampleKit::keyName(k.n));
            press.kind = p.kind;
            press.address = remote->address & ((1 << p.addressBits) - 1);
            press.command = SampleKit::sampleCommand(k.n, false);
            press.toggle = toggle;
            press.durations = SampleSignals::press(p.kind, press.address, press.command, k.frames, toggle);
            press.id = QStringLiteral("%1-%2-%3").arg(out.size() + 1, 2, 10, QLatin1Char('0')).arg(remote->rcid, press.key);
            toggle ^= 1;
            // What the receiver shows for the press must be what the catalogue
            // stores for the key, or the remote would find nothing.
            const QString stored = SampleKit::sampleKeyCode(p.kind, press.address, press.command, error);
            if (stored.isEmpty())
                return false;
            const QString shown = SampleSignals::resolvePress(press.durations);
            if (shown != stored) {
                if (error)
                    *error = QStringLiteral("the press %1 resolves to \"%2\", its key stores \"%3\"")
                                 .arg(press.id, shown, stored);
                return false;
            }
            out.append(press);
        }
    }
    *result = out;
    return true;
}

QByteArray text(const QList<Press> &presses)
{
    QByteArray out("id\trcid\tkey\tprotocol\tparams\tdurations\n");
    for (const Press &p : presses) {
        QStringList values;
        values.reserve(p.durations.size());
        for (int d : p.durations)
            values.append(QString::number(d));
        QString params = QStringLiteral("address=%1,command=%2").arg(p.address).arg(p.command);
        if (p.kind == SampleSignals::Kind::Rc5 || p.kind == SampleSignals::Kind::Rc6)
            params += QStringLiteral(",toggle=%1").arg(p.toggle);
        out += QStringList{p.id, p.rcid, p.key, QLatin1String(SampleSignals::protocol(p.kind).name), params,
                           values.join(QLatin1Char(' '))}
                   .join(QLatin1Char('\t'))
                   .toUtf8();
        out += '\n';
    }
    return out;
}

bool write(const QString &path, const QList<SampleKit::SampleRemote> &remotes, QString *error)
{
    QList<Press> list;
    if (!presses(remotes, &list, error))
        return false;
    QFile file(path);
    const QByteArray bytes = text(list);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace SampleCaptureFile
