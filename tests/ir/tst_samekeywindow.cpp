// Same-key marking in the real main window on a fixture catalogue: the three
// markers go onto the keys that carry the shown code, on either layer of the
// picture, and the key list selects every row with it.
#include "TestSupport.h"
#include "app/MessageBox.h"
#include "catalogue/RCModelsModel.h"
#include "catalogue/RCTypesModel.h"
#include "catalogue/RemoteTypeQuery.h"
#include "mainwindow/MainWindowImpl.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QSqlQuery>
#include <QtTest>

namespace {

int px(int units, int height)
{
    return units * height / 2261;
}

// The marker's top-left corner written out: 42 units above and left of the
// key's centre on the normal layer, 8 units right of it on the shift layer.
QPoint markerAt(int x, int y, bool shift, int height)
{
    return QPoint(px(shift ? x + 8 : x - 42, height), px(y - 42, height));
}

// The marker icon is an orange ring; the picture is white with red and green
// circles, none of them orange.
bool orange(QRgb c)
{
    return qAlpha(c) > 200 && qRed(c) > 200 && qGreen(c) > 90 && qGreen(c) < 210 && qBlue(c) < 90;
}

// Bounding box of the orange pixels inside area.
QRect orangeBox(const QImage &image, const QRect &area)
{
    QRect box;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (orange(image.pixel(x, y)))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

const QPoint kParked(-50, -50);

// The places drawn on the fixture's picture by key number: x, y, shift.
const QMap<int, QList<int>> kPlaces{{10, {300, 1000, 0}}, {66, {300, 1000, 1}}, {11, {420, 1400, 0}},
                                    {67, {420, 1400, 1}}, {120, {200, 2100, 0}}, {12, {150, 600, 0}}};

// Counts the paint events of the widget it watches.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

class TestSameKeyWindow : public QObject
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
    void select(const QString &rcid, int type)
    {
        QVERIFY(selectRow(w->ModelsTV, rcid));
        QVERIFY(selectRow(w->RCTypesTV, QString::number(type)));
        w->refreshChangerPosition();
        w->refreshKeys();
        w->refreshChangerPicture();
    }
    void resizeTo(int height)
    {
        w->resize(1280, height);
        QTRY_COMPARE(w->height(), height);
        w->refreshChangerPicture();
    }
    void show(const QString &code)
    {
        w->labelKeyId->setText(code);
        w->refreshSameKey();
    }
    // Key numbers with the code in the order the catalogue returns them: the
    // order that numbers the markers.
    QList<int> keysInQueryOrder(const QString &link, const QString &code)
    {
        QList<int> out;
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("SELECT Nkey FROM rckeys WHERE (Rcid=?)AND(ID=?)AND(RCTypeId=?)"));
        q.addBindValue(link);
        q.addBindValue(code);
        q.addBindValue(3);
        if (q.exec())
            while (q.next())
                out << q.value(0).toInt();
        return out;
    }
    QList<QPoint> markers() const
    {
        return {w->sameKeyMarkers[0]->pos(), w->sameKeyMarkers[1]->pos(), w->sameKeyMarkers[2]->pos()};
    }
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &i : w->KeysTV->selectionModel()->selectedRows())
            rows << i.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    int rowOfKey(int nkey) const
    {
        const QAbstractItemModel *keys = w->KeysTV->model();
        for (int row = 0; row < keys->rowCount(); ++row)
            if (keys->index(row, 4).data().toInt() == nkey)
                return row;
        return -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir dir(m_dir.path());
        QVERIFY(dir.mkpath(QStringLiteral("images")));
        QImage picture(582, 2261, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QVERIFY(picture.save(dir.filePath(QStringLiteral("images/4-3.png"))));
        QFile ini(dir.filePath(QStringLiteral("config.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Settings]\ncustomerId=4\ndefaultCustomerId=4\nrcTypes=3\nsettingsFullVersion=true\n");
        ini.close();

        m_previousDir = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        MessageBox::setAutomatic(true);
        m_db = TestSupport::openFixtureCatalogue(m_dir.path());
        QVERIFY(m_db.isOpen());
        exec(QStringLiteral("INSERT INTO rctypes VALUES (3,'Three',40,'')"));
        exec(QStringLiteral("INSERT INTO rccustomers VALUES (3,4,4)"));
        // Keys 10 and 66 share a place on the two layers; 120 is drawn though
        // never clicked; 30 has no place on this picture.
        exec(QStringLiteral("INSERT INTO rctypekeys VALUES (3,4,10,300,1000,0),(3,4,66,300,1000,1),"
                            "(3,4,11,420,1400,0),(3,4,67,420,1400,1),(3,4,120,200,2100,0),(3,4,12,150,600,0)"));
        exec(QStringLiteral("INSERT INTO rcmodels (Rcid,Brand,Type,Model,Documentation,Link,Own) VALUES "
                            "('aaaa0001','ALFA','TV','M1','','aaaa0001',1),"
                            "('aaaa0002','ALFA','TV','M2','','aaaa0001',1),"
                            "('cccc0001','GAMMA','TV','G1','','cccc0001',1)"));
        // "SAME" sits on a key number past the table, on one without a place
        // and on a negative one besides three drawn keys: each key keeps its
        // own marker, parked when the key has no place.
        exec(QStringLiteral("INSERT INTO rckeys VALUES ('aaaa0001',3,'K200','SAME',200),"
                            "('aaaa0001',3,'K30','SAME',30),('aaaa0001',3,'K-1','SAME',-1),"
                            "('aaaa0001',3,'K10','SAME',10),('aaaa0001',3,'K66','SAME',66),"
                            "('aaaa0001',3,'K12','OTHER',12),('aaaa0001',3,'K67','SHIFTED',67),"
                            "('aaaa0001',3,'K11','MANY',11),('aaaa0001',3,'K120','MANY',120),"
                            "('aaaa0001',3,'K12b','SAME',12),"
                            "('cccc0001',3,'G10','MANY',10),('cccc0001',3,'G66','MANY',66),"
                            "('cccc0001',3,'G11','MANY',11),('cccc0001',3,'G120','MANY',120),"
                            "('cccc0001',3,'G12','MANY',12),('cccc0001',3,'U','UNKNOWN',67)"));
    }
    void cleanupTestCase() { QDir::setCurrent(m_previousDir); }

    void init()
    {
        w = new MainWindowImpl;
        w->insertKeyTimer->stop();
        w->receiveTimer->stop();
        w->customerId = QStringLiteral("4");
        w->defaultCustomerId = QStringLiteral("4");
        w->showNormal();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->tabWidget->setCurrentIndex(0);
        auto *types = new RCTypesModel(w->RCTypesTV);
        types->setQuery(RemoteTypeQuery::selectTypes({QStringLiteral("3")}));
        w->RCTypesTV->setModel(types);
        auto *models = new RCModelsModel(w->ModelsTV);
        models->setTable(QStringLiteral("rcmodels"));
        models->setSort(0, Qt::AscendingOrder);
        QVERIFY(models->select());
        w->ModelsTV->setModel(models);
        resizeTo(900);
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
        MessageBox::takeLog();
    }

    void markersFollowTheCode_data()
    {
        QTest::addColumn<QString>("rcid");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QList<int>>("keys"); // key numbers with the code, any order
        QTest::addRow("keys without a place keep their markers parked")
            << "aaaa0001" << "SAME" << QList<int>{10, 200, 66, 30, -1, 12};
        QTest::addRow("one key") << "aaaa0001" << "OTHER" << QList<int>{12};
        QTest::addRow("shift layer alone") << "aaaa0001" << "SHIFTED" << QList<int>{67};
        QTest::addRow("a key never clicked is marked") << "aaaa0001" << "MANY" << QList<int>{11, 120};
        QTest::addRow("linked model: the master's keys") << "aaaa0002" << "OTHER" << QList<int>{12};
        QTest::addRow("five keys: three of them") << "cccc0001" << "MANY" << QList<int>{10, 66, 11, 120, 12};
        QTest::addRow("no key has it") << "aaaa0001" << "NONE" << QList<int>{};
        QTest::addRow("other case is another code") << "aaaa0001" << "same" << QList<int>{};
        QTest::addRow("UNKNOWN matches no key, not even one stored so") << "cccc0001" << "UNKNOWN" << QList<int>{};
        QTest::addRow("empty label") << "aaaa0001" << "" << QList<int>{};
    }
    void markersFollowTheCode()
    {
        QFETCH(QString, rcid);
        QFETCH(QString, code);
        QFETCH(QList<int>, keys);
        const QMap<int, QList<int>> &places = kPlaces;
        const QString link = rcid == QLatin1String("aaaa0002") ? QStringLiteral("aaaa0001") : rcid;
        QList<int> found = code == QLatin1String("UNKNOWN") ? QList<int>{} : keysInQueryOrder(link, code);
        QList<int> sortedFound = found, sortedKeys = keys;
        std::sort(sortedFound.begin(), sortedFound.end());
        std::sort(sortedKeys.begin(), sortedKeys.end());
        QCOMPARE(sortedFound, sortedKeys);
        for (int height : {900, 700}) {
            resizeTo(height);
            select(rcid, 3);
            // Markers left somewhere before must go where the code says.
            for (QLabel *marker : w->sameKeyMarkers)
                marker->move(5, 5);
            show(code);
            const int h = w->labelPicture->height();
            // Marker i belongs to the i-th row the catalogue returns.
            const QList<QPoint> shown = markers();
            for (int i = 0; i < 3; ++i) {
                QPoint expected = kParked;
                if (i < found.size() && places.contains(found[i])) {
                    const QList<int> &k = places[found[i]];
                    expected = markerAt(k[0], k[1], k[2] != 0, h);
                }
                QCOMPARE(shown[i], expected);
            }
        }
    }

    // What the user sees: the grabbed picture shows the orange ring exactly
    // over the marked keys, left of a normal-layer key and right of a
    // shift-layer key, and nowhere else.
    void markersOnThePicture_data()
    {
        QTest::addColumn<int>("windowHeight");
        QTest::addRow("900") << 900;
        QTest::addRow("1200") << 1200;
    }
    void markersOnThePicture()
    {
        QFETCH(int, windowHeight);
        resizeTo(windowHeight);
        select(QStringLiteral("aaaa0001"), 3);
        const int h = w->labelPicture->height();
        const int side = h * 40 / 2261;
        QCOMPARE(w->sameKeyMarkers[0]->size(), QSize(side, side));
        const QRect normal(markerAt(300, 1000, false, h), QSize(side, side));
        const QRect shifted(markerAt(300, 1000, true, h), QSize(side, side));
        const QRect other(markerAt(420, 1400, true, h), QSize(side, side));

        show(QStringLiteral("OTHER"));
        const QRect single(markerAt(150, 600, false, h), QSize(side, side));
        QImage image = w->labelPicture->grab().toImage();
        QVERIFY(!orangeBox(image, single).isEmpty());
        QVERIFY(single.contains(orangeBox(image, image.rect())));

        // Marker i on key i of the catalogue's rows: a first key without a
        // place leaves the first marker parked, it does not hand it on.
        show(QStringLiteral("SAME"));
        image = w->labelPicture->grab().toImage();
        const QList<int> same = keysInQueryOrder(QStringLiteral("aaaa0001"), QStringLiteral("SAME"));
        QVERIFY(same.size() > 3);
        QVERIFY(!kPlaces.contains(same[0]) || !kPlaces.contains(same[1]) || !kPlaces.contains(same[2]));
        QRect marked;
        for (int i = 0; i < same.size(); ++i) {
            if (!kPlaces.contains(same[i]))
                continue;
            const QList<int> &k = kPlaces[same[i]];
            const QRect r(markerAt(k[0], k[1], k[2] != 0, h), QSize(side, side));
            const QRect ring = orangeBox(image, r);
            if (i < 3) {
                // The ring spans most of its marker's square.
                QVERIFY2(ring.width() >= side / 2 && ring.height() >= side / 2,
                         qPrintable(QStringLiteral("ring %1x%2 in %3").arg(ring.width()).arg(ring.height()).arg(side)));
                marked = marked.united(r);
            }
        }
        QVERIFY(orangeBox(image, other).isEmpty());
        QCOMPARE(orangeBox(image, image.rect()), orangeBox(image, marked));

        show(QStringLiteral("SHIFTED"));
        image = w->labelPicture->grab().toImage();
        QVERIFY(orangeBox(image, normal).isEmpty());
        QVERIFY(orangeBox(image, shifted).isEmpty());
        QVERIFY(!orangeBox(image, other).isEmpty());
        QVERIFY(other.contains(orangeBox(image, image.rect())));

        show(QStringLiteral("UNKNOWN"));
        image = w->labelPicture->grab().toImage();
        QVERIFY(orangeBox(image, image.rect()).isEmpty());
    }

    void rowsWithTheCodeSelected()
    {
        select(QStringLiteral("aaaa0001"), 3);
        QItemSelectionModel *selection = w->KeysTV->selectionModel();
        const QAbstractItemModel *keys = w->KeysTV->model();
        w->KeysTV->selectRow(rowOfKey(11));

        w->labelKeyId->setText(QStringLiteral("SAME"));
        w->selectSameIdRows();
        QList<int> same;
        for (int row = 0; row < keys->rowCount(); ++row)
            if (keys->index(row, 3).data().toString() == QLatin1String("SAME"))
                same << row;
        QCOMPARE(same.size(), 6);
        QCOMPARE(selectedRows(), same);
        QCOMPARE(selection->currentIndex().row(), same.last());

        // A code no row has, and "UNKNOWN", leave the selection as it is.
        for (const char *code : {"NONE", "UNKNOWN"}) {
            w->labelKeyId->setText(QString::fromLatin1(code));
            w->selectSameIdRows();
            QCOMPARE(selectedRows(), same);
            QCOMPARE(selection->currentIndex().row(), same.last());
        }

        w->labelKeyId->setText(QStringLiteral("MANY"));
        w->selectSameIdRows();
        QCOMPARE(selectedRows(), (QList<int>{rowOfKey(11), rowOfKey(120)}));
        QCOMPARE(selection->currentIndex().row(), qMax(rowOfKey(11), rowOfKey(120)));
    }

    // The key list is repainted after every look-up, also when no row has
    // the code.
    void keyListRepainted_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addRow("a code some rows have") << "SAME";
        QTest::addRow("a code no row has") << "NONE";
        QTest::addRow("UNKNOWN") << "UNKNOWN";
    }
    void keyListRepainted()
    {
        QFETCH(QString, code);
        select(QStringLiteral("aaaa0001"), 3);
        QVERIFY(w->KeysTV->isVisible());
        w->labelKeyId->setText(code);
        PaintCounter counter;
        w->KeysTV->viewport()->installEventFilter(&counter);
        // Quiet first: whatever was pending has been painted.
        QTest::qWait(100);
        counter.paints = 0;
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 0);
        w->selectSameIdRows();
        QCoreApplication::processEvents();
        QVERIFY(counter.paints > 0);
        w->KeysTV->viewport()->removeEventFilter(&counter);
    }
};

QTEST_MAIN(TestSameKeyWindow)
#include "tst_samekeywindow.moc"
