// MainWindowImpl: received signals: message closing, recognition display, key learning and transmission.
#include "mainwindow/MainWindowImpl.h"

#include "app/FittedFont.h"
#include "app/MessageBox.h"
#include "catalogue/CurrentRow.h"
#include "catalogue/KeyPositionTable.h"
#include "catalogue/PictureGeometry.h"
#include "catalogue/RCKeysModel.h"
#include "ir/KeyLearning.h"
#include "ir/SameKeyMarks.h"
#include "ir/SignalDisplay.h"
#include "ir/TransmitFrame.h"
#include "usb/DeviceWritePlan.h"
#include "usb/UsbRequest.h"

#include <QDebug>
#include <QFontMetrics>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLineEdit>
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
    // Messages come in order, and message 0 starts a new series.
    if (n < kOscillographRows) {
        oscillographMessages = n + 1;
        oscillographSpans[n] = captureStore.messageSpan;
    }
    if (tabWidget->currentIndex() == kMainTab)
        drawMessage(n);
    else if (tabWidget->currentIndex() == kOscillographTab)
        drawMessageOscillograph(n);
}

void MainWindowImpl::showKeyCode(const QString &code)
{
    setKeyCodeLabels(code);
    refreshSameKey();
}

void MainWindowImpl::setKeyCodeLabels(const QString &code)
{
    // A label keeps its size when its text changes, so no resize refits it.
    for (QLabel *label : {labelKeyId, labelKeyId2, labelKeyIdSearch}) {
        FittedFont::setText(label, code);
        FittedFont::refit(label);
    }
}

void MainWindowImpl::insertKey()
{
    // Three steps, each when its gesture is waiting; all three can run in one
    // tick. The modal boxes below run nested ticks: the learn request is
    // cleared and transmitReady is false before any box opens, so a nested
    // tick starts no second learn and no second frame.
    if (labelPicture->assignRequest)
        learnKey();
    if (labelPicture->keyPressed && transmitReady)
        transmitKey();
    if (labelPicture->sendRequest)
        releaseKey();
}

void MainWindowImpl::learnKey()
{
    labelPicture->assignRequest = false;
    const QString code = FittedFont::text(labelKeyId);
    // Nothing received yet, or nothing recognised: there is no code to learn.
    if (!SameKeyMarks::isCode(code))
        return;
    const int nkey = labelPicture->selectedKey;
    if (!KeyPositionTable::isKeyNumber(nkey))
        return;
    // The key double-clicked is one of the keys the panels show, which the
    // lists' choice need not be (a refresh refused while rc.db was locked).
    const QString rcid = shownRcid;
    const QString link = shownLink;
    const QString typeId = shownTypeId;
    if (link.isEmpty())
        return;
    clearStatus();
    const QString brand = CurrentRow::text(ModelsTV, 1);
    const QString model = CurrentRow::text(ModelsTV, 3);
    QSqlDatabase db = QSqlDatabase::database();
    const KeyLearning::StoredKey existing = KeyLearning::findKey(db, link, typeId, nkey);
    if (!existing.ok) {
        MessageBox::warning(this, tr("Warning"), tr("The key could not be stored: %1").arg(existing.error));
        return;
    }
    if (existing.exists) {
        QMessageBox question;
        question.setWindowTitle(tr("Confirm"));
        question.setIcon(QMessageBox::Question);
        question.setText(tr("are you sure you want to replace this key?"));
        question.setWindowIcon(windowIcon());
        question.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        MessageBox::exec(question);
        if (question.clickedButton() != question.button(QMessageBox::Yes))
            return;
        // Edits still pending in the key list go in before it is read again.
        if (keysModel)
            keysModel->submitAll();
    }
    // The panels may have changed while the question was open.
    if (shownLink != link || shownTypeId != typeId)
        return;
    const KeyLearning::Result result = KeyLearning::storeCode(db, rcid, link, typeId, nkey, code);
    switch (result.status) {
    case KeyLearning::Status::Refused:
        MessageBox::information(this, tr("Information"),
                                tr("The keys of this remote control are factory data and cannot be changed."));
        return;
    case KeyLearning::Status::Failed:
        MessageBox::warning(this, tr("Warning"), tr("The key could not be stored: %1").arg(result.error));
        return;
    case KeyLearning::Status::Inserted:
    case KeyLearning::Status::Replaced:
        break;
    }
    refreshKeys();
    // The stored key's row, with its name open for editing (a new key gets
    // its name from the user there).
    if (QAbstractItemModel *keys = KeysTV->model()) {
        while (keys->canFetchMore(QModelIndex()))
            keys->fetchMore(QModelIndex());
        for (int row = 0; row < keys->rowCount(); ++row) {
            if (keys->index(row, 4).data().toInt() == nkey) {
                const QModelIndex name = keys->index(row, 2);
                KeysTV->selectRow(row);
                KeysTV->scrollTo(name);
                KeysTV->edit(name);
                // The item editor is frameless in most styles: an empty name
                // would open unseen and the key would stay nameless.
                const auto editors = KeysTV->viewport()->findChildren<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly);
                for (QLineEdit *editor : editors) {
                    if (editor->isHidden())
                        continue;
                    editor->setFrame(true);
                    editor->setFocus(Qt::OtherFocusReason);
                }
                break;
            }
        }
    }
    refreshChangerPicture();
    refreshSameKey();
    showStatus(result.status == KeyLearning::Status::Replaced
                   ? tr("The code %1 replaced the key's former code in %2 %3.").arg(code, brand, model)
                   : tr("The code %1 was stored in %2 %3.").arg(code, brand, model));
}

void MainWindowImpl::transmitKey()
{
    transmitReady = false;
    const int nkey = labelPicture->selectedKey;
    // A key of the picture: of the model the panels show.
    const QString link = shownLink;
    const QString typeId = shownTypeId;
    QSqlDatabase db = QSqlDatabase::database();
    // Without the key there is nothing to send; the release arms transmission again.
    const KeyLearning::StoredKey key = KeyLearning::findKey(db, link, typeId, nkey);
    if (!key.ok || !key.exists)
        return;

    flashData.clear();
    const QString blob = TransmitFrame::codeBlob(db, deviceId, key.id);
    flashData = blob;
    const auto refuse = [this](const QString &text) {
        messageBox.setWindowTitle(tr("information"));
        messageBox.setIcon(QMessageBox::Critical);
        messageBox.setText(text);
        MessageBox::exec(messageBox);
        labelPicture->keyPressed = false;
        // The release that would arm it again never comes for this press.
        transmitReady = true;
    };
    if (blob == QLatin1String("FALSE")) {
        refuse(tr("cannot transmit this protocol. Please update programm."));
        return;
    }
    // The frame follows the blob's length, its count byte does not: a longer
    // frame is refused before it is built, like every other write.
    const qsizetype reports = DeviceWritePlan::frameReports(TransmitFrame::frameBytes(key.id, blob));
    if (reports > DeviceWritePlan::kMaxCount) {
        refuse(tr("Cannot transmit this key: the code of protocol %1 for this remote makes a frame of %2 reports, "
                  "one transmission carries at most %3.")
                   .arg(key.id.left(3))
                   .arg(reports)
                   .arg(DeviceWritePlan::kMaxCount));
        return;
    }
    QString note;
    transmitFrame = TransmitFrame::build(key.id, blob, &note);
    if (!note.isEmpty())
        appendLog(note);
    flashData = transmitFrame;
    usbCommand = UsbCommand::TransmitPressed;
    postUsbRequest();
}

void MainWindowImpl::releaseKey()
{
    labelPicture->sendRequest = false;
    transmitReady = true;
    usbCommand = UsbCommand::TransmitReleased;
    postUsbRequest();
    appendLog(QStringLiteral("unpressed"));
}

void MainWindowImpl::setTransmit()
{
    labelPicture->transmitMode = actionTransmitMode->isChecked();
}

void MainWindowImpl::drawMessage(int nmessage)
{
    if (nmessage < 0 || nmessage >= CaptureStore::kMessages)
        return;
    // Message 0 starts a new series on an empty bar.
    if (nmessage == 0)
        protocolBarPixmap.load(QStringLiteral(":/Icons/protocolbar.png"));
    SignalDisplay::drawProtocolBox(protocolBarPixmap, nmessage, captureStore.messageRecognizerId[nmessage]);
    fitProtocolBar();
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

void MainWindowImpl::redrawOscillograph()
{
    // Messages that came while another page was shown were not drawn, and a
    // picture keeps the size and the language it was drawn in.
    if (tabWidget->currentIndex() != kOscillographTab)
        return;
    // Each row at the span its message had; the store keeps the last one.
    const int lastSpan = captureStore.messageSpan;
    for (int n = 0; n < oscillographMessages; ++n) {
        captureStore.messageSpan = oscillographSpans[n];
        drawMessageOscillograph(n);
    }
    captureStore.messageSpan = lastSpan;
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
        QSqlDatabase::database(), CurrentRow::text(ModelsTV, 5), CurrentRow::text(RCTypesTV, 0), FittedFont::text(labelKeyId));
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
    const QString code = FittedFont::text(labelKeyId);
    QAbstractItemModel *model = KeysTV->model();
    QItemSelectionModel *selection = KeysTV->selectionModel();
    if (!model || !selection)
        return;
    QItemSelection rows;
    int last = -1;
    if (SameKeyMarks::isCode(code)) {
        while (model->canFetchMore(QModelIndex()))
            model->fetchMore(QModelIndex());
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 3).data().toString() != code)
                continue;
            rows.select(model->index(row, 0), model->index(row, model->columnCount() - 1));
            last = row;
        }
    }
    // Without a matching row the user's selection stays as it is; the list
    // is repainted either way.
    if (last >= 0) {
        selection->setCurrentIndex(model->index(last, 0), QItemSelectionModel::NoUpdate);
        selection->select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    KeysTV->viewport()->update();
}
