// bench_modellist [--models N] [--dir DIR]
//
// Times the model list on a large catalogue written by the sample kit: a
// filter change until the first rows are painted, live filtering as the brand
// is typed, scrolling through a long list, and refreshRC() after a selection
// change, each against the bare SQLite query for the same filter. Prints the
// timings, the ratios and the longest time the window was busy in one go.
#include "app/Application.h"
#include "catalogue/ModelFilter.h"
#include "catalogue/RCModelsModel.h"
#include "mainwindow/MainWindowImpl.h"
#include "tools/samplekit/SampleKit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>

namespace {

QTextStream out(stdout);

double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

struct Case
{
    const char *name;
    int database;
    const char *brand;
    const char *types;
    const char *model;
};

// What the user sets in the filter panel; the rows are chosen to cover an
// indexed brand, scans in index order that stop early or run to the end, and
// a filter that matches nothing.
const Case kCases[] = {
    {"whole catalogue", 0, "", "", ""},
    {"one brand", 0, "corvin", "", ""},
    {"brand with apostrophe", 0, "o'hara", "", ""},
    {"two types", 0, "", "TV,DVD", ""},
    {"model pattern", 0, "", "", "tv-1"},
    {"own models", 1, "", "", ""},
    {"masters, brand and model", 3, "altora", "", "5"},
    {"nothing matches", 0, "", "", "zz-99"},
};

ModelFilter::Panel panelOf(const MainWindowImpl *w)
{
    ModelFilter::Panel panel;
    panel.database = w->comboBoxDatabase->currentIndex();
    panel.brand = w->brandLineEdit->text();
    panel.types = w->comboBoxType->currentText();
    panel.model = w->modelLineEdit->text();
    panel.rcid = w->rcidLineEdit->text();
    panel.link = w->linkLineEdit->text();
    panel.advancedFilter = w->advancedFilter;
    panel.showHidden = w->showHidden;
    panel.showHidden1 = w->showHidden1;
    return panel;
}

// The bare query: the statement the model list runs, stepped through with a
// forward-only cursor. rows < 0 reads every row.
double bareQuery(const QString &filter, int rows, int *read)
{
    QElapsedTimer t;
    t.start();
    QSqlQuery q;
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT * FROM rcmodels WHERE ") + filter))
        out << "bare query failed: " << q.lastError().text() << "\n";
    int n = 0;
    while ((rows < 0 || n < rows) && q.next()) {
        q.value(0);
        ++n;
    }
    *read = n;
    return msSince(t);
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No device is needed: the device link runs on the simulator.
    if (qEnvironmentVariableIsEmpty("IRVANTA_HID_BACKEND"))
        qputenv("IRVANTA_HID_BACKEND", "simulator");

    SampleKit::Options options;
    options.models = 100000;
    // Keys for every twentieth master keep the file near 50 MB; the key list
    // reads one master's keys by index, so their total does not matter here.
    options.keyedMasterEvery = 20;
    QString dirPath;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--models") == 0)
            options.models = QByteArray(argv[i + 1]).toInt();
        else if (qstrcmp(argv[i], "--dir") == 0)
            dirPath = QString::fromLocal8Bit(argv[i + 1]);
    }
    QTemporaryDir temp;
    if (dirPath.isEmpty())
        dirPath = temp.path();

    QElapsedTimer t;
    {
        // The catalogue is written before the program starts on it.
        QCoreApplication writer(argc, argv);
        t.start();
        QString error;
        if (!SampleKit::writeWorkingDirectory(dirPath, options, &error)) {
            out << "sample kit: " << error << "\n";
            return 1;
        }
        out << "catalogue: " << options.models << " models written in " << qRound(msSince(t)) << " ms to "
            << dirPath << "\n";
    }
    QDir::setCurrent(dirPath);

    // The program's own start: catalogue, translators, window, device link.
    t.restart();
    Application app(argc, argv);
    if (!app.started()) {
        out << "the program did not start on the catalogue\n";
        return 1;
    }
    MainWindowImpl *w = MainWindowImpl::getInstance();
    if (!QTest::qWaitForWindowExposed(w))
        out << "the window was not exposed; paint times are left out\n";
    out << "program started, window shown in " << qRound(msSince(t)) << " ms\n\n";
    if (!w->modelsModel) {
        out << "the window shows no model list\n";
        return 1;
    }

    double longest = 0; // the longest single stretch the window was busy
    QList<double> ratiosFirst, ratiosFull;

    out << qSetFieldWidth(26) << Qt::left << "filter" << qSetFieldWidth(9) << Qt::right << "listed"
        << "list" << "bare 1st" << "ratio" << "bare all" << "ratio" << "setFilt." << qSetFieldWidth(0) << "  (ms)\n";
    for (const Case &c : kCases) {
        w->removeFilters();
        w->comboBoxDatabase->setCurrentIndex(c.database);
        w->brandLineEdit->setText(QString::fromUtf8(c.brand));
        w->comboBoxType->setCurrentIndex(-1);
        w->comboBoxType->setEditText(QString::fromUtf8(c.types));
        w->modelLineEdit->setText(QString::fromUtf8(c.model));
        QApplication::processEvents();

        // Window: the list rebuilt until its first rows are painted, and the
        // whole filter change (the list, then every dependent panel).
        QList<double> lists, runs;
        for (int i = 0; i < 5; ++i) {
            t.restart();
            w->refreshModels();
            w->ModelsTV->viewport()->repaint();
            lists << msSince(t);
            QApplication::processEvents();
            t.restart();
            w->setFilters();
            w->repaint();
            runs << msSince(t);
            QApplication::processEvents();
        }
        const double window = median(lists);
        const double change = median(runs);
        longest = std::max(longest, *std::max_element(runs.begin(), runs.end()));
        const int shown = w->modelsModel->rowCount();

        const QString filter = ModelFilter::filter(panelOf(w));
        QList<double> first, full;
        int read = 0, all = 0;
        for (int i = 0; i < 5; ++i) {
            first << bareQuery(filter, std::max(shown, 1), &read);
            full << bareQuery(filter, -1, &all);
        }
        const double bareFirst = median(first), bareFull = median(full);
        ratiosFirst << window / std::max(bareFirst, 0.001);
        ratiosFull << window / std::max(bareFull, 0.001);
        out << qSetFieldWidth(26) << Qt::left << c.name << qSetFieldWidth(9) << Qt::right << all
            << QString::number(window, 'f', 2) << QString::number(bareFirst, 'f', 2)
            << QString::number(ratiosFirst.last(), 'f', 1) << QString::number(bareFull, 'f', 2)
            << QString::number(ratiosFull.last(), 'f', 2) << QString::number(change, 'f', 2) << qSetFieldWidth(0)
            << "\n";
    }
    out << "  list: refreshModels() until the list is painted; bare 1st: the same statement reading as\n"
           "  many rows as the list fetched first; bare all: reading every row of the result;\n"
           "  setFilt.: setFilters(), the list and every panel that follows the selection, painted.\n\n";

    // Live filtering: the brand typed key by key, each release filtering again.
    w->removeFilters();
    w->brandLineEdit->setFocus();
    QApplication::processEvents();
    QList<double> keys;
    for (const QChar ch : QStringLiteral("O'HARA")) {
        t.restart();
        QTest::keyClick(w->brandLineEdit, ch.toLatin1());
        w->ModelsTV->viewport()->repaint();
        keys << msSince(t);
    }
    longest = std::max(longest, *std::max_element(keys.begin(), keys.end()));
    out << "live brand filter, per key: median " << QString::number(median(keys), 'f', 2) << " ms, max "
        << QString::number(*std::max_element(keys.begin(), keys.end()), 'f', 2) << " ms ("
        << w->modelsModel->rowCount() << " rows fetched)\n";

    // Scrolling the whole catalogue: each step to the end fetches the next rows.
    w->removeFilters();
    QApplication::processEvents();
    QList<double> steps;
    QScrollBar *bar = w->ModelsTV->verticalScrollBar();
    for (int i = 0; i < 40; ++i) {
        t.restart();
        bar->setValue(bar->maximum());
        QApplication::processEvents();
        w->ModelsTV->viewport()->repaint();
        steps << msSince(t);
    }
    longest = std::max(longest, *std::max_element(steps.begin(), steps.end()));
    out << "scrolling to the end 40 times: median " << QString::number(median(steps), 'f', 2) << " ms, max "
        << QString::number(*std::max_element(steps.begin(), steps.end()), 'f', 2) << " ms, "
        << w->modelsModel->rowCount() << " rows fetched\n";

    // refreshRC() after the selection moves to another model.
    w->removeFilters();
    QApplication::processEvents();
    QList<double> refreshes;
    for (int i = 0; i < 50; ++i) {
        const int row = (i * 37) % std::max(1, w->modelsModel->rowCount());
        w->ModelsTV->setCurrentIndex(w->modelsModel->index(row, 1));
        t.restart();
        w->refreshRC();
        w->repaint();
        refreshes << msSince(t);
        QApplication::processEvents();
    }
    longest = std::max(longest, *std::max_element(refreshes.begin(), refreshes.end()));
    out << "refreshRC() after a selection change: median " << QString::number(median(refreshes), 'f', 2)
        << " ms, max " << QString::number(*std::max_element(refreshes.begin(), refreshes.end()), 'f', 2) << " ms\n\n";

    out << "filter change vs bare query: worst ratio " << QString::number(*std::max_element(ratiosFirst.begin(),
                                                                                             ratiosFirst.end()),
                                                                          'f', 1)
        << " against the first rows, " << QString::number(*std::max_element(ratiosFull.begin(), ratiosFull.end()), 'f', 2)
        << " against the whole result (goal: 3)\n";
    out << "longest busy stretch of the window: " << QString::number(longest, 'f', 1) << " ms (goal: 100)\n";
    return 0;
}
