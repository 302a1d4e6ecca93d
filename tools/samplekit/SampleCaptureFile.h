#pragma once

#include "tools/samplekit/SampleKit.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

// The capture file of the sample directory, "sample-keys.tsv": key presses
// of sample remotes, one remote per sample protocol, for the simulator to
// replay into its receiver. UTF-8, a header line naming the TAB-separated
// columns, one row per press:
//
//     id  rcid  key  protocol  params  durations
//
// id names the row, rcid the model whose keys the remote sends, key the name
// of the pressed key in its key list, protocol and params (address=..,
// command=.., and toggle=.. where the protocol has one) what was sent; durations are microseconds, marks
// positive and spaces negative, the press's frames with their natural gaps.
// Each remote's first key is held longer (more repeats), and the toggle bit
// changes between presses as on a real handset.
namespace SampleCaptureFile {

QString fileName();

struct Press
{
    QString id;
    QString rcid;
    QString key;
    SampleSignals::Kind kind;
    int address;
    int command;
    int toggle;
    QVector<int> durations;
};

// The presses of the file for these keyed masters (none without them).
// Every press is resolved as the program would resolve it and must give the
// code that the catalogue stores for its key; false, with error saying which,
// when one does not.
bool presses(const QList<SampleKit::SampleRemote> &remotes, QList<Press> *result, QString *error);

QByteArray text(const QList<Press> &presses);

bool write(const QString &path, const QList<SampleKit::SampleRemote> &remotes, QString *error);

} // namespace SampleCaptureFile
