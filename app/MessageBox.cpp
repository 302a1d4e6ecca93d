#include "app/MessageBox.h"

#include <QAbstractButton>
#include <QFile>
#include <QMetaEnum>
#include <QMutex>
#include <QPushButton>

namespace {

struct State
{
    QMutex mutex;
    bool automatic = false;
    bool envRead = false;
    QString logPath;
    QStringList answers;
    QList<MessageBox::Record> log;
};

State &state()
{
    static State s;
    return s;
}

// Reads the child-process variables once; caller holds the mutex.
void readEnvironment(State &s)
{
    if (s.envRead)
        return;
    s.envRead = true;
    s.logPath = qEnvironmentVariable("IRVANTA_MESSAGEBOX_LOG");
    if (!s.logPath.isEmpty()) {
        s.automatic = true;
        const QString answers = qEnvironmentVariable("IRVANTA_MESSAGEBOX_ANSWERS");
        if (!answers.isEmpty())
            s.answers = answers.split(QLatin1Char(','));
    }
}

QMetaEnum buttonEnum()
{
    const QMetaObject &mo = QMessageBox::staticMetaObject;
    int index = mo.indexOfEnumerator("StandardButton");
    if (index < 0)
        index = mo.indexOfEnumerator("StandardButtons");
    return mo.enumerator(index);
}

QString escaped(QString text)
{
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

QString buttonName(QMessageBox::StandardButton button)
{
    const QMetaEnum e = buttonEnum();
    const char *key = e.valueToKey(button);
    return key ? QString::fromLatin1(key) : QString::number(int(button));
}

QString plainText(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// Picks the button an unattended run presses: the queued answer when the box
// has it, else the default button, else the most cautious one offered.
QAbstractButton *chooseButton(QMessageBox &box, const QString &answer)
{
    if (!answer.isEmpty()) {
        const QMetaEnum e = buttonEnum();
        bool ok = false;
        const int value = e.keyToValue(answer.toLatin1().constData(), &ok);
        if (ok) {
            if (QAbstractButton *b = box.button(QMessageBox::StandardButton(value)))
                return b;
        }
        for (QAbstractButton *b : box.buttons())
            if (plainText(b->text()) == plainText(answer))
                return b;
    }
    if (box.defaultButton())
        return box.defaultButton();
    for (QMessageBox::StandardButton s : {QMessageBox::Ok, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Close})
        if (QAbstractButton *b = box.button(s))
            return b;
    const QList<QAbstractButton *> buttons = box.buttons();
    return buttons.isEmpty() ? nullptr : buttons.first();
}

int run(QMessageBox &box, const QString &kind)
{
    State &s = state();
    QString queued;
    QString logPath;
    {
        QMutexLocker lock(&s.mutex);
        readEnvironment(s);
        if (!s.automatic) {
            lock.unlock();
            return box.exec();
        }
        if (!s.answers.isEmpty())
            queued = s.answers.takeFirst();
        logPath = s.logPath;
    }

    if (box.buttons().isEmpty())
        box.addButton(QMessageBox::Ok);
    QAbstractButton *pressed = chooseButton(box, queued);
    int result = QMessageBox::NoButton;
    QString answer;
    if (pressed) {
        const QMessageBox::StandardButton standard = box.standardButton(pressed);
        result = standard != QMessageBox::NoButton ? int(standard) : box.buttons().indexOf(pressed);
        answer = standard != QMessageBox::NoButton ? buttonName(standard) : plainText(pressed->text());
        // Clicking a box that is not shown records clickedButton() without a loop.
        pressed->click();
    }

    const MessageBox::Record record{kind, box.windowTitle(), box.text(), answer, box.textFormat()};
    {
        QMutexLocker lock(&s.mutex);
        s.log.append(record);
    }
    if (!logPath.isEmpty()) {
        QFile f(logPath);
        if (f.open(QIODevice::Append | QIODevice::Text)) {
            const QString line = QStringList{escaped(record.kind), escaped(record.title), escaped(record.text),
                                             escaped(record.answer)}
                                     .join(QLatin1Char('\t'));
            f.write(line.toUtf8() + '\n');
        }
    }
    return result;
}

QMessageBox::StandardButton standardBox(QMessageBox::Icon icon, const QString &kind, QWidget *parent,
                                        const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    const int result = run(box, kind);
    return box.clickedButton() ? box.standardButton(box.clickedButton()) : QMessageBox::StandardButton(result);
}

} // namespace

QMessageBox::StandardButton MessageBox::information(QWidget *parent, const QString &title, const QString &text,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    return standardBox(QMessageBox::Information, QStringLiteral("information"), parent, title, text, buttons,
                       defaultButton);
}

QMessageBox::StandardButton MessageBox::warning(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton)
{
    return standardBox(QMessageBox::Warning, QStringLiteral("warning"), parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton MessageBox::critical(QWidget *parent, const QString &title, const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return standardBox(QMessageBox::Critical, QStringLiteral("critical"), parent, title, text, buttons,
                       defaultButton);
}

QMessageBox::StandardButton MessageBox::question(QWidget *parent, const QString &title, const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return standardBox(QMessageBox::Question, QStringLiteral("question"), parent, title, text, buttons,
                       defaultButton);
}

void MessageBox::about(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::RichText);
    run(box, QStringLiteral("about"));
}

int MessageBox::exec(QMessageBox &box)
{
    if (box.textFormat() == Qt::AutoText)
        box.setTextFormat(Qt::PlainText);
    return run(box, QStringLiteral("custom"));
}

void MessageBox::setAutomatic(bool on)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    readEnvironment(s);
    s.automatic = on;
}

bool MessageBox::isAutomatic()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    readEnvironment(s);
    return s.automatic;
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton answer)
{
    setNextAnswer(buttonName(answer));
}

void MessageBox::setNextAnswer(const QString &buttonText)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    readEnvironment(s);
    s.answers.append(buttonText);
}

QList<MessageBox::Record> MessageBox::log()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return s.log;
}

QList<MessageBox::Record> MessageBox::takeLog()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    QList<Record> out;
    out.swap(s.log);
    s.answers.clear();
    return out;
}
