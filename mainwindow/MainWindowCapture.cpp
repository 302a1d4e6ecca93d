// MainWindowImpl: received signals: message closing, recognition display, key learning and transmission.
#include "mainwindow/MainWindowImpl.h"

#include "ir/SignalDisplay.h"

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
    // Moves the same-key markers onto the keys that carry the shown code.
}

void MainWindowImpl::selectSameIdRows()
{
    // Selects the key-list rows that carry the shown code.
}
