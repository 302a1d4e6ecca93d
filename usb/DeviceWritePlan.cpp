#include "usb/DeviceWritePlan.h"

#include "ir/Misc.h"
#include "usb/HidReport.h"

namespace DeviceWritePlan {

namespace {

constexpr int kRemote1HalfBytes = 1024;
constexpr int kRemote1MaxPage = 128;
constexpr int kRemote1ImageChars = 4 * kRemote1HalfBytes;
constexpr int kRemote2ReportSize = 8;
constexpr int kCapacityUnit = 64;
constexpr int kMacroChars = 256;
constexpr int kMacroGroupReports = 8;

Step command(quint8 c, quint8 a)
{
    QByteArray b(1, char(c));
    b.append(char(a));
    return {Step::Command, b, 0};
}

Step command(quint8 c, quint8 a, quint8 b)
{
    QByteArray bytes(1, char(c));
    bytes.append(char(a));
    bytes.append(char(b));
    return {Step::Command, bytes, 0};
}

Step data(const QByteArray &bytes)
{
    return {Step::Data, bytes, 0};
}

Step sleep(int ms)
{
    return {Step::Sleep, QByteArray(), ms};
}

Plan refuse(const QString &why)
{
    Plan p;
    p.refusal = why;
    return p;
}

QString imageProblem(const QString &image)
{
    if (image.isEmpty())
        return QStringLiteral("the image is empty");
    return hexProblem(image);
}

} // namespace

quint8 hexByte(const QString &text, int index)
{
    const qsizetype pos = 2 * qsizetype(index);
    // Past the end, or a last character without its partner: no pair.
    if (index < 0 || pos + 1 >= text.size())
        return 0;
    const int high = Misc::hexValue(text.at(pos));
    const int low = Misc::hexValue(text.at(pos + 1));
    if (high < 0 || low < 0)
        return 0;
    return static_cast<quint8>(high * 16 + low);
}

QByteArray hexBytes(const QString &text, int first, int count)
{
    QByteArray out(qMax(0, count), '\0');
    for (int i = 0; i < count; ++i)
        out[i] = static_cast<char>(hexByte(text, first + i));
    return out;
}

QString hexProblem(const QString &text)
{
    if (text.size() % 2 != 0)
        return QStringLiteral("odd length %1: not whole bytes").arg(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (Misc::hexValue(text.at(i)) < 0)
            return QStringLiteral("character %1 at position %2 is not a hex digit").arg(text.at(i)).arg(i);
    }
    return QString();
}

Plan transmitFrame(const QString &frame)
{
    const qsizetype count = frameReports(frame.size() / 2);
    if (count > kMaxCount)
        return refuse(QStringLiteral("the frame has %1 reports of %2 bytes, its count byte holds at most %3")
                          .arg(count)
                          .arg(kFrameReportBytes)
                          .arg(kMaxCount));
    Plan p;
    p.steps << command(HidCommand::kTransmitFrame, static_cast<quint8>(count));
    for (int r = 0; r < count; ++r) {
        QByteArray bytes = hexBytes(frame, r * kFrameReportBytes, kFrameReportBytes);
        if (r == 0 && (quint8(bytes[0]) & 0x7F) == 0x7A) {
            const quint8 b = quint8(bytes[1]);
            if (b <= 0x03 || (b >= 0x81 && b <= 0x83))
                bytes[1] = static_cast<char>(b + 4);
        }
        p.steps << data(bytes);
    }
    return p;
}

Plan remote1SlotWrite(int pageSize, int reportSize, int firstHalfPage, int secondHalfPage, const QString &image)
{
    if (pageSize < 1 || pageSize > kRemote1MaxPage || kRemote1HalfBytes % pageSize != 0)
        return refuse(QStringLiteral("page size %1 is not one of 1 to %2 that divide the 1024-byte halves")
                          .arg(pageSize)
                          .arg(kRemote1MaxPage));
    if (reportSize < 1 || pageSize % reportSize != 0)
        return refuse(QStringLiteral("report size %1 does not divide the page size %2").arg(reportSize).arg(pageSize));
    if (const QString why = imageProblem(image); !why.isEmpty())
        return refuse(why);
    if (image.size() > kRemote1ImageChars)
        return refuse(QStringLiteral("the image has %1 characters, a slot takes %2")
                          .arg(image.size())
                          .arg(kRemote1ImageChars));
    Plan p;
    const int pagesPerHalf = kRemote1HalfBytes / pageSize;
    const int reportsPerPage = pageSize / reportSize;
    int byte = 0; // runs on through both halves
    p.steps << command(HidCommand::kProgrammingMode, HidCommand::kModeOn);
    for (int firstPage : {firstHalfPage, secondHalfPage}) {
        for (int k = 0; k < pagesPerHalf; ++k) {
            p.steps << command(HidCommand::kWritePage1, static_cast<quint8>(firstPage + k));
            for (int r = 0; r < reportsPerPage; ++r, byte += reportSize)
                p.steps << data(hexBytes(image, byte, reportSize));
        }
    }
    p.steps << command(HidCommand::kProgrammingMode, HidCommand::kModeOff);
    return p;
}

Plan remote1SlotClear(int pageSize, int reportSize, int firstHalfPage, int clearSleepMs)
{
    if (pageSize < 1 || pageSize > kRemote1MaxPage)
        return refuse(QStringLiteral("page size %1 is not one of 1 to %2").arg(pageSize).arg(kRemote1MaxPage));
    if (reportSize < 1 || pageSize % reportSize != 0)
        return refuse(QStringLiteral("report size %1 does not divide the page size %2").arg(reportSize).arg(pageSize));
    Plan p;
    const int reportsPerPage = pageSize / reportSize;
    const quint8 page = static_cast<quint8>(firstHalfPage);
    p.steps << command(HidCommand::kProgrammingMode, HidCommand::kModeOn);
    p.steps << command(HidCommand::kReadPage1, page) << Step{Step::Read, QByteArray(), reportsPerPage};
    p.steps << command(HidCommand::kWritePage1, page);
    for (int r = 0; r < reportsPerPage; ++r)
        p.steps << data(QByteArray(reportSize, '\0'));
    p.steps << command(HidCommand::kProgrammingMode, HidCommand::kModeOff) << sleep(clearSleepMs);
    return p;
}

Plan remote2SlotWrite(int pageSize, int reportSize, int slot, int capacity, const QString &image, int pageSleepMs)
{
    if (reportSize != kRemote2ReportSize)
        return refuse(QStringLiteral("report size %1, the remote's pages are written in reports of %2")
                          .arg(reportSize)
                          .arg(kRemote2ReportSize));
    if (pageSize < 1 || pageSize % reportSize != 0)
        return refuse(QStringLiteral("page size %1 is not a whole number of reports").arg(pageSize));
    if (const QString why = imageProblem(image); !why.isEmpty())
        return refuse(why);
    if (image.size() > qsizetype(capacity) * 2 * kCapacityUnit)
        return refuse(QStringLiteral("not enough flash: the image has %1 characters, slot %2 takes %3")
                          .arg(image.size())
                          .arg(slot + 1)
                          .arg(capacity * 2 * kCapacityUnit));
    const int pageChars = 2 * pageSize;
    const int pages = int((image.size() + pageChars - 1) / pageChars);
    if (pages > kMaxCount)
        return refuse(QStringLiteral("the image takes %1 pages of %2 bytes, the page count byte holds at most %3")
                          .arg(pages)
                          .arg(pageSize)
                          .arg(kMaxCount));
    const QString padded = image + QString(pages * pageChars - image.size(), QLatin1Char('0'));
    const int reportsPerPage = pageSize / reportSize;
    Plan p;
    p.steps << command(HidCommand::kProgrammingMode, HidCommand::kModeOn);
    p.steps << command(HidCommand::kWritePages2, static_cast<quint8>(slot), static_cast<quint8>(pages));
    int byte = 0;
    for (int page = 0; page < pages; ++page) {
        for (int r = 0; r < reportsPerPage; ++r, byte += reportSize)
            p.steps << data(hexBytes(padded, byte, reportSize));
        p.steps << sleep(pageSleepMs);
    }
    p.steps << command(HidCommand::kProgrammingMode, HidCommand::kModeOff);
    return p;
}

Plan remote2MacroWrite(int reportSize, const QString &block, int pageSleepMs)
{
    if (block.size() > kMacroChars)
        return refuse(QStringLiteral("Too many macro keys"));
    if (reportSize != kRemote2ReportSize)
        return refuse(QStringLiteral("report size %1, the macro page is written in reports of %2")
                          .arg(reportSize)
                          .arg(kRemote2ReportSize));
    if (const QString why = hexProblem(block); !why.isEmpty())
        return refuse(why);
    Plan p;
    p.steps << command(HidCommand::kProgrammingMode, HidCommand::kModeOn);
    p.steps << command(HidCommand::kWritePages2, HidCommand::kMacroPage);
    int byte = 0;
    for (int group = 0; group < 2; ++group) {
        for (int r = 0; r < kMacroGroupReports; ++r, byte += reportSize)
            p.steps << data(hexBytes(block, byte, reportSize));
        p.steps << sleep(pageSleepMs);
    }
    p.steps << command(HidCommand::kProgrammingMode, HidCommand::kModeOff);
    return p;
}

} // namespace DeviceWritePlan
