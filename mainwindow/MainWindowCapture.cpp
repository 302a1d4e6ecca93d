// MainWindowImpl: received signals: message closing, recognition display, key learning and transmission.
#include "mainwindow/MainWindowImpl.h"

#include "catalogue/CurrentRow.h"
#include "catalogue/PictureGeometry.h"
#include "ir/SameKeyMarks.h"
#include "ir/SignalDisplay.h"

#include <QDebug>
#include <QItemSelectionModel>
#include <QSqlDatabase>
#include <QTimer>

namespace {
// Tab pages of tabWidget by index.
constexpr int kMainTab = 0;
constexpr int kOscillographTab = 3;
} // namespace

void MainWindowImpl::initDots1(int count)
{
    Q_UNUSED(count);
    // Reacts to the receiver thread's report of new durations.
}

void MainWindowImpl::lastMessage()
{
    receiveTimer->stop();
    captureStore.tick([this](int n) {
        processMessage(n);
        selectSameIdRows();
    });
    receiveTimer->start(50);
}

void MainWindowImpl::processMessage(int n)
{
    const ReceiveMode mode =
        actionModuleted_Signal_30kHz_56kHz->isChecked() ? ReceiveMode::Modulated : ReceiveMode::NonModulated;
    const FrameResult result = protocol.recognizeFrame(captureStore, n, mode);
    colorSignalFields(n, result.labelPattern);
    showKeyCode(Protocol::resolveKeyCode(captureStore, n));
    if (tabWidget->currentIndex() == kMainTab)
        drawMessage(n);
    else if (tabWidget->currentIndex() == kOscillographTab)
        drawMessageOscillograph(n);
}

void MainWindowImpl::showKeyCode(const QString &code)
{
    labelKeyId->setText(code);
    labelKeyId2->setText(code);
    labelKeyIdSearch->setText(code);
    refreshSameKey();
}

void MainWindowImpl::insertKey()
{
    // Carries out a key assignment or key transmission requested on the picture.
}

void MainWindowImpl::setTransmit()
{
    // Copies the checked state of actionTransmitMode into the picture widget.
}

void MainWindowImpl::drawMessage(int nmessage)
{
    if (nmessage < 0 || nmessage >= CaptureStore::kMessages)
        return;
    // Message 0 starts a new series on an empty bar.
    if (nmessage == 0)
        protocolBarPixmap.load(QStringLiteral(":/Icons/protocolbar.png"));
    SignalDisplay::drawProtocolBox(protocolBarPixmap, nmessage, captureStore.messageRecognizerId[nmessage]);
    if (!protocolBarPixmap.isNull())
        labelProtocol->setPixmap(
            protocolBarPixmap.scaled(labelProtocol->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void MainWindowImpl::drawMessageOscillograph(int nmessage)
{
    if (nmessage < 0 || nmessage >= CaptureStore::kMessages)
        return;
    // Message 0 starts a new picture at the label's size; so does a first
    // drawing that finds no picture yet.
    if (nmessage == 0 || oscillographPixmap.isNull()) {
        oscillographPixmap = QPixmap(labelOscillograph->size());
        oscillographPixmap.fill(SignalDisplay::kBackground);
    }
    if (captureStore.messageSpan == 0)
        captureStore.messageSpan = SignalDisplay::kDefaultSpan;
    SignalDisplay::Trace trace{captureStore.captureSnapshot[nmessage],
                               CaptureStore::kRowLength,
                               captureStore.messageRecognizerId[nmessage],
                               captureStore.messageAddressText[nmessage],
                               captureStore.messageCommandText[nmessage],
                               captureStore.messageSpan,
                               oscillographColors[nmessage]};
    SignalDisplay::drawOscillographRow(oscillographPixmap, nmessage, trace);
    labelOscillograph->setPixmap(oscillographPixmap);
}

void MainWindowImpl::colorSignalFields(int row, const QString &pattern)
{
    if (row < 0 || row >= kOscillographRows)
        return;
    SignalDisplay::colorFields(oscillographColors[row], kOscillographCells, pattern);
}

void MainWindowImpl::refreshSameKey()
{
    const SameKeyMarks::Keys keys = SameKeyMarks::keysWithCode(
        QSqlDatabase::database(), CurrentRow::text(ModelsTV, 5), CurrentRow::text(RCTypesTV, 0), labelKeyId->text());
    if (!keys.ok)
        qWarning() << "refreshSameKey:" << keys.error;
    const QList<QPoint> places = SameKeyMarks::markerPositions(keys.numbers, keyPositions, labelPicture->height());
    for (int i = 0; i < SameKeyMarks::kMarkers; ++i) {
        if (!sameKeyMarkers[i])
            continue;
        sameKeyMarkers[i]->move(i < places.size() ? places.at(i)
                                                  : QPoint(PictureGeometry::HiddenMarkerX, PictureGeometry::HiddenMarkerY));
    }
}

void MainWindowImpl::selectSameIdRows()
{
    const QString code = labelKeyId->text();
    QAbstractItemModel *model = KeysTV->model();
    QItemSelectionModel *selection = KeysTV->selectionModel();
    if (!model || !selection || !SameKeyMarks::isCode(code))
        return;
    while (model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    QItemSelection rows;
    int last = -1;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 3).data().toString() != code)
            continue;
        rows.select(model->index(row, 0), model->index(row, model->columnCount() - 1));
        last = row;
    }
    // Without a matching row the user's selection stays as it is.
    if (last < 0)
        return;
    selection->setCurrentIndex(model->index(last, 0), QItemSelectionModel::NoUpdate);
    selection->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    KeysTV->viewport()->update();
}
