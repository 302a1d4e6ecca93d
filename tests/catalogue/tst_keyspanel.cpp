// The keys and links panels and the remote-type picture in the real main
// window, on a fixture catalogue: what double clicks select at the label's
// real height, where the circles and markers land, which actions the model
// enables, and that the links list follows catalogue changes.
#include "CostlyDocumentations.h"
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "catalogue/DocumentationText.h"
#include "catalogue/RCModelsModel.h"
#include "catalogue/RCTypesModel.h"
#include "catalogue/RemoteTypeQuery.h"
#include "mainwindow/MainWindowImpl.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>

namespace {

// The formulas, written out here so that the window is checked against them.
int px(int units, int height)
{
    return units * height / 2261;
}
int units(int pixels, int height)
{
    return pixels * 2260 / height;
}
// Smallest pixel whose unit is at least u, largest whose unit is at most u.
int firstPixelAtLeast(int u, int height)
{
    int p = 0;
    while (units(p, height) < u)
        ++p;
    return p;
}
int lastPixelAtMost(int u, int height)
{
    return firstPixelAtLeast(u + 1, height) - 1;
}

bool reddish(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 170 && qBlue(c) < 170;
}
bool greenish(QRgb c)
{
    return qGreen(c) > 200 && qRed(c) < 170 && qBlue(c) < 170;
}
bool white(QRgb c)
{
    return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245;
}

} // namespace

class TestKeysPanel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_previousDir;
    QSqlDatabase m_db;
    MainWindowImpl *w = nullptr;

    void exec(const QString &sql)
    {
        QSqlQuery q(m_db);
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }

    // The lists as the filter and the settings would show them: every model,
    // remote types 1 and 3.
    void showAllModels()
    {
        auto *types = new RCTypesModel(w->RCTypesTV);
        types->setQuery(RemoteTypeQuery::selectTypes({QStringLiteral("1"), QStringLiteral("3")}));
        w->RCTypesTV->setModel(types);
        auto *model = new RCModelsModel(w->ModelsTV);
        model->setTable(QStringLiteral("rcmodels"));
        model->setSort(1, Qt::AscendingOrder);
        QVERIFY(model->select());
        w->ModelsTV->setModel(model);
    }
    static bool selectRow(QAbstractItemView *view, const QString &value)
    {
        const QAbstractItemModel *m = view->model();
        for (int row = 0; m && row < m->rowCount(); ++row) {
            if (m->index(row, 0).data().toString() == value) {
                view->setCurrentIndex(m->index(row, 1));
                return true;
            }
        }
        return false;
    }
    // What refreshRC() runs for these panels, in its order.
    void refreshPanels()
    {
        w->refreshChangerPosition();
        w->refreshKeys();
        w->refreshLinks();
        w->refreshChangerPicture();
    }
    void select(const QString &rcid, int type)
    {
        QVERIFY(selectRow(w->ModelsTV, rcid));
        QVERIFY(selectRow(w->RCTypesTV, QString::number(type)));
        refreshPanels();
    }
    // The window at a height; the picture is redrawn at the label's new height.
    void resizeTo(int height)
    {
        w->resize(1280, height);
        QTRY_COMPARE(w->height(), height);
        w->refreshChangerPicture();
        QCOMPARE(w->labelPicture->width(), w->labelPicture->height() * 582 / 2261);
    }
    void resetGesture()
    {
        w->labelPicture->assignRequest = false;
        w->labelPicture->selectedKey = -10;
    }
    QStringList linksShown()
    {
        QStringList out;
        const QAbstractItemModel *m = w->LinksTV->model();
        for (int row = 0; m && row < m->rowCount(); ++row)
            out << m->index(row, 0).data().toString() + QLatin1Char(':') + m->index(row, 1).data().toString();
        return out;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir dir(m_dir.path());
        QVERIFY(dir.mkpath(QStringLiteral("images")));
        // A plain white picture for type 3; type 1 has no picture at all.
        QImage picture(582, 2261, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QVERIFY(picture.save(dir.filePath(QStringLiteral("images/4-3.png"))));
        QFile ini(dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Settings]\ncustomerId=4\ndefaultCustomerId=4\nrcTypes=1_3\nsettingsFullVersion=true\n"
                  "[Debug]\nshowDocumentationIcon=true\n");
        ini.close();

        m_previousDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        MessageBox::setAutomatic(true);
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        exec(QStringLiteral("INSERT INTO rctypes VALUES (1,'One',16,''),(3,'Three',40,'')"));
        exec(QStringLiteral("INSERT INTO rccustomers VALUES (1,4,4),(3,4,4)"));
        exec(QStringLiteral("INSERT INTO rctypekeys VALUES (3,4,10,300,1000,0),(3,4,66,300,1000,1),"
                            "(3,4,11,420,1000,0),(3,4,120,200,2100,0),(3,4,130,1,1,0),(3,4,-1,1,1,0),"
                            "(1,4,11,420,1000,0),(1,4,5,150,600,0)"));
        exec(QStringLiteral("INSERT INTO rcmodels (Rcid,Brand,Type,Model,Documentation,Link,Own) VALUES "
                            "('aaaa0001','ALFA','TV','M1','Notes','aaaa0001',1),"
                            "('aaaa0002','ALFA','TV','M2','','aaaa0001',1),"
                            "('bbbb0001','BETA','TV','F1','','bbbb0001',0)"));
        exec(QStringLiteral("INSERT INTO rckeys VALUES ('aaaa0001',3,'K10','C10',10),('aaaa0001',3,'K66','C66',66),"
                            "('aaaa0001',3,'K120','C120',120),('aaaa0001',3,'K200','C200',200),"
                            "('aaaa0001',1,'K5','C5',5),('bbbb0001',3,'F10','F10',10)"));
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void init()
    {
        w = new MainWindowImpl;
        // The key timer would consume the gestures these tests look at.
        w->insertKeyTimer->stop();
        w->receiveTimer->stop();
        // The settings of config.ini, set here as loading them would.
        w->customerId = QStringLiteral("4");
        w->defaultCustomerId = QStringLiteral("4");
        w->showDocumentationIcon = true;
        w->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->tabWidget->setCurrentIndex(0);
        showAllModels();
        resizeTo(900);
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
        MessageBox::takeLog();
    }

    void doubleClickEdges_data()
    {
        QTest::addColumn<int>("windowHeight");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        for (int h : {700, 900, 1200}) {
            QTest::addRow("key 10, window %d", h) << h << 10 << 300 << 1000;
            QTest::addRow("key 11, window %d", h) << h << 11 << 420 << 1000;
        }
    }
    void doubleClickEdges()
    {
        QFETCH(int, windowHeight);
        QFETCH(int, key);
        QFETCH(int, x);
        QFETCH(int, y);
        select(QStringLiteral("aaaa0001"), 3);
        resizeTo(windowHeight);
        const int h = w->labelPicture->height();
        const int cx = firstPixelAtLeast(x, h), cy = firstPixelAtLeast(y, h);
        const struct
        {
            QPoint at;
            bool hit;
        } cases[] = {
            {{firstPixelAtLeast(x - 29, h), cy}, true},      {{firstPixelAtLeast(x - 29, h) - 1, cy}, false},
            {{lastPixelAtMost(x + 29, h), cy}, true},        {{lastPixelAtMost(x + 29, h) + 1, cy}, false},
            {{cx, firstPixelAtLeast(y - 29, h)}, true},      {{cx, firstPixelAtLeast(y - 29, h) - 1}, false},
            {{cx, lastPixelAtMost(y + 29, h)}, true},        {{cx, lastPixelAtMost(y + 29, h) + 1}, false},
        };
        for (const auto &c : cases) {
            resetGesture();
            QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier, c.at);
            const QByteArray where = QStringLiteral("(%1,%2) at height %3").arg(c.at.x()).arg(c.at.y()).arg(h).toLatin1();
            QVERIFY2(w->labelPicture->assignRequest == c.hit, where.constData());
            QVERIFY2(w->labelPicture->selectedKey == (c.hit ? key : -10), where.constData());
        }
    }

    void factoryModelAssignsNothing()
    {
        select(QStringLiteral("bbbb0001"), 3);
        QVERIFY(w->labelPicture->busy);
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier,
                           QPoint(px(300, w->labelPicture->height()), px(1000, w->labelPicture->height())));
        QVERIFY(!w->labelPicture->assignRequest);
        select(QStringLiteral("aaaa0001"), 3);
        QVERIFY(!w->labelPicture->busy);
    }

    void shiftCheckBoxSwitchesLayer()
    {
        select(QStringLiteral("aaaa0001"), 3);
        const int h = w->labelPicture->height();
        const QPoint key(firstPixelAtLeast(300, h), firstPixelAtLeast(1000, h));
        QTest::mouseClick(w->shiftCheckBox, Qt::LeftButton);
        QVERIFY(w->shiftCheckBox->isChecked());
        QVERIFY(w->labelPicture->shift);
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier, key);
        QCOMPARE(w->labelPicture->selectedKey, 66);
        QTest::mouseClick(w->shiftCheckBox, Qt::LeftButton);
        QVERIFY(!w->shiftCheckBox->isChecked());
        QVERIFY(!w->labelPicture->shift);
        resetGesture();
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier, key);
        QCOMPARE(w->labelPicture->selectedKey, 10);
    }

    void otherTypeNeverSelectsTheOldKey()
    {
        select(QStringLiteral("aaaa0001"), 3);
        const int h = w->labelPicture->height();
        const QPoint key10(firstPixelAtLeast(300, h), firstPixelAtLeast(1000, h));
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier, key10);
        QCOMPARE(w->labelPicture->selectedKey, 10);

        // Type 1 has key 11 but not key 10, and no picture file at all.
        select(QStringLiteral("aaaa0001"), 1);
        QVERIFY(!w->labelPicture->assignRequest);
        QCOMPARE(w->labelPicture->selectedKey, -10);
        QVERIFY(w->labelPicture->pixmap().isNull());
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier, key10);
        QVERIFY(!w->labelPicture->assignRequest);
        QCOMPARE(w->labelPicture->selectedKey, -10);
        QTest::mouseDClick(w->labelPicture, Qt::LeftButton, Qt::NoModifier,
                           QPoint(firstPixelAtLeast(420, h), firstPixelAtLeast(1000, h)));
        QCOMPARE(w->labelPicture->selectedKey, 11);
        QCOMPARE(w->labelPicture->rcTypeId, 1);
        QCOMPARE(w->labelPicture->rcid, QStringLiteral("aaaa0001"));
    }

    void circlesWhereTheFormulasPutThem_data()
    {
        QTest::addColumn<int>("windowHeight");
        QTest::addRow("700") << 700;
        QTest::addRow("1200") << 1200;
    }
    void circlesWhereTheFormulasPutThem()
    {
        QFETCH(int, windowHeight);
        select(QStringLiteral("aaaa0001"), 3);
        resizeTo(windowHeight);
        const QImage image = w->labelPicture->pixmap().toImage();
        const int h = w->labelPicture->height();
        QCOMPARE(image.height(), h);
        struct Circle
        {
            int x, y, shift;
            bool (*colour)(QRgb);
        };
        // Keys 10 (normal), 66 (shift), 120 (drawn though never hit); key 11
        // has a hot-spot but the model lacks it; key 200 has no hot-spot.
        const Circle circles[] = {{300, 1000, 0, reddish}, {300, 1000, 1, greenish}, {200, 2100, 0, reddish},
                                  {420, 1000, 0, white}};
        for (const Circle &c : circles) {
            const int cx = c.shift ? c.x + 25 : c.x - 25;
            const QRect box(px(cx - 15, h), px(c.y - 40, h), h * 30 / 2261, h * 30 / 2261);
            const QRgb centre = image.pixel(box.center());
            QVERIFY2(c.colour(centre), qPrintable(QStringLiteral("circle of (%1,%2,%3) at %4,%5: %6")
                                                      .arg(c.x).arg(c.y).arg(c.shift).arg(box.center().x())
                                                      .arg(box.center().y()).arg(centre, 0, 16)));
            QVERIFY(white(image.pixel(box.left() - 2, box.center().y())));
            QVERIFY(white(image.pixel(box.right() + 2, box.center().y())));
            QVERIFY(white(image.pixel(box.center().x(), box.top() - 2)));
        }
    }

    void markerOnChosenKey()
    {
        select(QStringLiteral("aaaa0001"), 3);
        const int h = w->labelPicture->height();
        QCOMPARE(w->sameKeyMarkers[0]->size(), QSize(h * 40 / 2261, h * 40 / 2261));
        const QAbstractItemModel *keys = w->KeysTV->model();
        QVERIFY(keys);
        QCOMPARE(keys->rowCount(), 4);
        const auto choose = [&](int nkey) {
            for (int row = 0; row < keys->rowCount(); ++row)
                if (keys->index(row, 4).data().toInt() == nkey)
                    w->KeysTV->setCurrentIndex(keys->index(row, 2));
            w->refreshID();
        };
        choose(120);
        QCOMPARE(w->labelKeyId->text(), QStringLiteral("C120"));
        QCOMPARE(w->sameKeyMarkers[0]->pos(), QPoint(px(200 - 42, h), px(2100 - 42, h)));
        QCOMPARE(w->sameKeyMarkers[1]->pos(), QPoint(-50, -50));
        choose(66);
        QCOMPARE(w->sameKeyMarkers[0]->pos(), QPoint(px(300 + 8, h), px(1000 - 42, h)));
        // A key number without a hot-spot has nothing to frame.
        choose(200);
        QCOMPARE(w->labelKeyId->text(), QStringLiteral("C200"));
        QCOMPARE(w->sameKeyMarkers[0]->pos(), QPoint(-50, -50));
    }

    void layoutFollowsTheWindow()
    {
        select(QStringLiteral("aaaa0001"), 3);
        for (int height : {700, 1100}) {
            resizeTo(height);
            const QRect picture = w->labelPicture->geometry();
            QCOMPARE(picture.width(), picture.height() * 582 / 2261);
            QCOMPARE(w->ledLabel->geometry(), QRect(picture.x() + picture.width() / 2 - 20, picture.y() - 10, 40, 20));
            QCOMPARE(w->labelProtocol->height(), w->labelProtocol->width() / 12);
            QCOMPARE(w->sameKeyMarkers[2]->width(), picture.height() * 40 / 2261);
        }
    }

    void pictureKeepsItsShapeWhenOnlyTheLayoutMoves()
    {
        // A fresh window, shown and laid out without a resize of its own: the
        // picture label still gets the width of its height, so clicks and
        // circles use one scale.
        delete w;
        w = new MainWindowImpl;
        w->insertKeyTimer->stop();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTRY_COMPARE(w->labelPicture->width(), w->labelPicture->height() * 582 / 2261);
        // The layout alone gives the label another height (the tab widget is
        // held 100 pixels lower), with the window's size unchanged.
        const QSize before = w->size();
        const int height = w->labelPicture->height();
        w->tabWidget->setMinimumHeight(w->tabWidget->height() - 100);
        w->tabWidget->setMaximumHeight(w->tabWidget->height() - 100);
        QTRY_VERIFY(w->labelPicture->height() != height);
        QCOMPARE(w->size(), before);
        QTRY_COMPARE(w->labelPicture->width(), w->labelPicture->height() * 582 / 2261);
        QCOMPARE(w->sameKeyMarkers[0]->width(), w->labelPicture->height() * 40 / 2261);
    }

    void pictureCachedAtItsHeightWhateverTheLabelWidth()
    {
        select(QStringLiteral("aaaa0001"), 3);
        const int h = w->labelPicture->height();
        // A label whose width lags behind its height (before the layout caught up).
        w->pictureCache.clear();
        w->labelPicture->setFixedWidth(60);
        QCOMPARE(w->labelPicture->height(), h);
        w->refreshChangerPicture();
        QCOMPARE(w->pictureCache.value(QStringLiteral("4-3")).size(), QSize(h * 582 / 2261, h));
        QCOMPARE(w->changerPixmap.height(), h);
    }

    void modelActions_data()
    {
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<int>("keys");
        // print, delete, edit, link, convert, images
        QTest::addColumn<QList<bool>>("enabled");
        QTest::addColumn<bool>("icon");
        QTest::addRow("own master") << "aaaa0001" << 4 << QList<bool>{true, true, true, true, true, true} << true;
        QTest::addRow("own linked: the master's keys") << "aaaa0002" << 4
                                                       << QList<bool>{true, true, true, true, false, true} << false;
        QTest::addRow("factory") << "bbbb0001" << 1 << QList<bool>{true, false, false, true, false, false} << false;
        QTest::addRow("none") << "" << 0 << QList<bool>{false, false, false, false, false, false} << false;
    }
    void modelActions()
    {
        QFETCH(QString, rcid);
        QFETCH(int, keys);
        QFETCH(QList<bool>, enabled);
        QFETCH(bool, icon);
        if (rcid.isEmpty()) {
            QVERIFY(selectRow(w->RCTypesTV, QStringLiteral("3")));
            w->ModelsTV->setCurrentIndex(QModelIndex());
            refreshPanels();
        } else {
            select(rcid, 3);
        }
        QCOMPARE(w->KeysTV->model()->rowCount(), keys);
        QCOMPARE((QList<bool>{w->actionPrint->isEnabled(), w->actionDeleteRemoteControl->isEnabled(),
                              w->actionEditRemoteControl->isEnabled(), w->actionNewRemoteControlLink->isEnabled(),
                              w->actionConvertRemoteControl->isEnabled(), w->pushButtonAdd->isEnabled()}),
                 enabled);
        QCOMPARE(!w->tabWidget->tabIcon(2).isNull(), icon);
        QCOMPARE(w->documentationLabel->text(), rcid == QLatin1String("aaaa0001") ? QStringLiteral("Notes") : QString());
        QCOMPARE(w->dev1Add->isEnabled(), keys >= 2);
        QCOMPARE(w->labelPicture->busy, rcid != QLatin1String("aaaa0001") && rcid != QLatin1String("aaaa0002"));
    }

    // The documentation label keeps formatting, fetches and draws nothing
    // the markup names, and shows a text too deep, too large or too costly
    // to lay out for rich text as plain text at once. The layout asks the
    // label for its narrowest width (every word on a line of its own).
    void documentationShowsSafely_data()
    {
        QTest::addColumn<QString>("documentation");
        QTest::addColumn<bool>("rich");
        QTest::addColumn<int>("boundMs");
        const int bound = CostlyDocumentations::kPlainMs;
        QTest::addRow("formatted") << "<p>Press <b>Power</b></p><ul><li>one</li><li>two</li></ul>" << true << bound;
        QTest::addRow("local picture") << "<b>Power</b><img src=\"%PICTURE%\" width=\"40\" height=\"40\">"
                                       << true << bound;
        QTest::addRow("picture on /dev/zero") << "<b>Power</b><img src=\"/dev/zero\">" << true << bound;
        QTest::addRow("picture on a FIFO") << "<b>Power</b><img src=\"%FIFO%\">" << true << bound;
        QTest::addRow("20 nested tables") << QStringLiteral("<table><tr><td>").repeated(20) + "Power"
                                                 + QStringLiteral("</td></tr></table>").repeated(20)
                                          << false << bound;
        QTest::addRow("3000 nested tables") << QStringLiteral("<table><tr><td>").repeated(3000) + "Power"
                                                   + QStringLiteral("</td></tr></table>").repeated(3000)
                                            << false << bound;
        QTest::addRow("20000 nested lists") << QStringLiteral("<ul><li>").repeated(20000) + "Power"
                                                   + QStringLiteral("</li></ul>").repeated(20000)
                                            << false << bound;
        QTest::addRow("font-size 100000pt") << "<span style=\"font-size:100000pt\">Power</span>" << false << bound;
        for (const CostlyDocumentations::Row &row : CostlyDocumentations::rows())
            QTest::addRow("%s", row.name) << row.text << row.rich << row.boundMs;
    }
    void documentationShowsSafely()
    {
        QFETCH(QString, documentation);
        QFETCH(bool, rich);
        QFETCH(int, boundMs);
        QDir dir(m_dir.path());
        const QString fifo = dir.filePath(QStringLiteral("pipe"));
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString picture = dir.filePath(QStringLiteral("red.png"));
        QImage red(40, 40, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(picture));
        documentation.replace(QLatin1String("%FIFO%"), fifo).replace(QLatin1String("%PICTURE%"), picture);
        auto restore = qScopeGuard([this] { exec(QStringLiteral("UPDATE rcmodels SET Documentation='Notes' WHERE Rcid='aaaa0001'")); });
        QSqlQuery q(m_db);
        QVERIFY(q.prepare(QStringLiteral("UPDATE rcmodels SET Documentation=? WHERE Rcid='aaaa0001'")));
        q.addBindValue(documentation);
        QVERIFY(q.exec());
        showAllModels();
        w->tabWidget->setCurrentIndex(2);

        QElapsedTimer timer;
        timer.start();
        select(QStringLiteral("aaaa0001"), 3);
        QLabel *label = w->documentationLabel;
        const QSize narrowest = label->minimumSizeHint();
        QVERIFY(label->heightForWidth(narrowest.width()) > 0);
        QVERIFY(label->heightForWidth(0) > 0);
        const QImage shot = label->grab().toImage();
        // These took seconds, minutes, or never ended.
        QVERIFY2(timer.elapsed() < boundMs, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(label->textFormat(), rich ? Qt::RichText : Qt::PlainText);
        if (rich)
            QVERIFY2(label->text().contains(QLatin1String("<b>Power</b>")), qPrintable(label->text()));
        else
            QVERIFY(label->text().startsWith(documentation.left(200)));
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb c = shot.pixel(x, y);
                QVERIFY2(!(qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60), "the picture was drawn");
            }
        }
    }

    void refreshesDoNotPileUpModels()
    {
        w->tabWidget->setCurrentIndex(2);
        for (int i = 0; i < 20; ++i)
            select(i % 2 ? QStringLiteral("aaaa0001") : QStringLiteral("bbbb0001"), 3);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QAbstractItemView *view : {static_cast<QAbstractItemView *>(w->KeysTV),
                                        static_cast<QAbstractItemView *>(w->LinksTV)}) {
            QCOMPARE(view->findChildren<QAbstractItemModel *>(Qt::FindDirectChildrenOnly).size(), 1);
            QCOMPARE(view->findChildren<QItemSelectionModel *>(Qt::FindDirectChildrenOnly).size(), 1);
        }
    }

    void linksListFollowsCatalogueChanges()
    {
        select(QStringLiteral("aaaa0002"), 3);
        // Not shown while another tab is current.
        QCOMPARE(linksShown(), QStringList());
        w->tabWidget->setCurrentIndex(2);
        QCOMPARE(linksShown(), (QStringList{"aaaa0001:ALFA", "aaaa0002:ALFA"}));

        // Each change is followed by the refresh every catalogue change runs.
        exec(QStringLiteral("INSERT INTO rcmodels (Rcid,Brand,Type,Model,Documentation,Link,Own) VALUES "
                            "('aaaa0003','AAA','TV','M3','','aaaa0001',1)"));
        showAllModels();
        select(QStringLiteral("aaaa0002"), 3);
        QCOMPARE(linksShown(), (QStringList{"aaaa0001:ALFA", "aaaa0003:AAA", "aaaa0002:ALFA"}));

        exec(QStringLiteral("UPDATE rcmodels SET Brand='ZULU' WHERE Rcid='aaaa0003'"));
        select(QStringLiteral("aaaa0001"), 3);
        QCOMPARE(linksShown(), (QStringList{"aaaa0001:ALFA", "aaaa0002:ALFA", "aaaa0003:ZULU"}));

        exec(QStringLiteral("DELETE FROM rcmodels WHERE Rcid='aaaa0003'"));
        showAllModels();
        select(QStringLiteral("aaaa0001"), 3);
        QCOMPARE(linksShown(), (QStringList{"aaaa0001:ALFA", "aaaa0002:ALFA"}));

        // Away and back: the tab change fills it again.
        w->tabWidget->setCurrentIndex(0);
        exec(QStringLiteral("UPDATE rcmodels SET Hidden=1 WHERE Rcid='aaaa0002'"));
        w->tabWidget->setCurrentIndex(2);
        QCOMPARE(linksShown(), (QStringList{"aaaa0001:ALFA"}));
        exec(QStringLiteral("UPDATE rcmodels SET Hidden=0 WHERE Rcid='aaaa0002'"));

        select(QStringLiteral("bbbb0001"), 3);
        QCOMPARE(linksShown(), (QStringList{"bbbb0001:BETA"}));
        QCOMPARE(w->lastLinksLink, QStringLiteral("bbbb0001"));
    }

    void linksListFollowsInPlaceEdits()
    {
        w->tabWidget->setCurrentIndex(2);
        select(QStringLiteral("aaaa0002"), 3);
        QCOMPARE(linksShown(), (QStringList{"aaaa0001:ALFA", "aaaa0002:ALFA"}));

        // A brand typed into the model list is written at once; the links
        // list shows the stored, upper-case name without a new selection.
        QAbstractItemModel *models = w->ModelsTV->model();
        const QModelIndex brand = w->ModelsTV->currentIndex().siblingAtColumn(1);
        QCOMPARE(models->index(brand.row(), 0).data().toString(), QStringLiteral("aaaa0002"));
        QVERIFY(models->setData(brand, QStringLiteral("omega")));
        QCOMPARE(linksShown(), (QStringList{"aaaa0001:ALFA", "aaaa0002:OMEGA"}));
        exec(QStringLiteral("UPDATE rcmodels SET Brand='ALFA' WHERE Rcid='aaaa0002'"));
    }
};

QTEST_MAIN(TestKeysPanel)
#include "tst_keyspanel.moc"
