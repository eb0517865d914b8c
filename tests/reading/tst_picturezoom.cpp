#include "reading/picturezoom.h"

#include <QtTest>

class PictureZoomTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void workedExample_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("pictureWidth");
        QTest::addColumn<int>("pictureHeight");
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<QString>("zoomOut");
        QTest::addColumn<QString>("zoomIn");
        QTest::addRow("opening at 50") << 50 << 1500 << 1000 << 1600 << "-"
                                       << "+";
        QTest::addRow("three steps in") << 80 << 2400 << 1600 << 2500 << "-"
                                        << "+";
        QTest::addRow("four steps in") << 90 << 2700 << 1800 << 2800 << "-"
                                       << "+";
        QTest::addRow("full size") << 100 << 3000 << 2000 << 3100 << "уменьшить"
                                   << "увеличить";
    }
    void workedExample()
    {
        QFETCH(int, zoom);
        const PictureLayout layout = PictureLayout::compute(zoom, 3000, 2000, 400);
        QTEST(layout.pictureWidth, "pictureWidth");
        QTEST(layout.pictureHeight, "pictureHeight");
        QTEST(layout.windowWidth, "windowWidth");
        QTEST(layout.zoomOutCaption, "zoomOut");
        QTEST(layout.zoomInCaption, "zoomIn");
        QFETCH(int, pictureHeight);
        QFETCH(int, pictureWidth);
        QCOMPARE(layout.windowHeight, pictureHeight + 10 + 495 + 400);
        QCOMPARE(layout.buttonWidth, pictureWidth / 2 - 10);
        QCOMPARE(layout.zoomInLeft, pictureWidth / 2 + 20);
        // The buttons fill the strip above the picture, at the same place for every zoom.
        QCOMPARE(layout.buttonTop, 10);
        QCOMPARE(layout.buttonHeight, 470);
        QCOMPARE(layout.pictureTop + pictureHeight + 10, layout.windowHeight - 400);
    }

    void sizesRoundDown()
    {
        const PictureLayout layout = PictureLayout::compute(30, 1001, 333, 0);
        QCOMPARE(layout.pictureWidth, 300);
        QCOMPARE(layout.pictureHeight, 99);
    }

    void zoomButtons()
    {
        PictureZoom zoom;
        QCOMPARE(zoom.percent(), 50);
        zoom.zoomOut();
        QCOMPARE(zoom.percent(), 40);
        QVERIFY(zoom.zoomOutEnabled());
        zoom.zoomOut();
        QCOMPARE(zoom.percent(), 30);
        QVERIFY(!zoom.zoomOutEnabled());
        zoom.zoomOut();
        QCOMPARE(zoom.percent(), 30);
        zoom.zoomIn();
        QCOMPARE(zoom.percent(), 40);
        QVERIFY(zoom.zoomOutEnabled());
        QVERIFY(zoom.zoomInEnabled());
    }

    void doubleClickSwitchesFullAndSmallest()
    {
        PictureZoom zoom;
        zoom.toggleFull();
        QCOMPARE(zoom.percent(), 100);
        QVERIFY(!zoom.zoomInEnabled());
        QVERIFY(zoom.zoomOutEnabled());
        zoom.toggleFull();
        QCOMPARE(zoom.percent(), 30);
        QVERIFY(!zoom.zoomOutEnabled());
        QVERIFY(zoom.zoomInEnabled());
        zoom.toggleFull();
        zoom.zoomOut();
        QCOMPARE(zoom.percent(), 90);
        QVERIFY(zoom.zoomInEnabled());
    }

    void zoomingInStopsAtTheScreen()
    {
        PictureZoom zoom;
        zoom.setLargest(70);
        zoom.zoomIn();
        zoom.zoomIn();
        QCOMPARE(zoom.percent(), 70);
        QVERIFY(!zoom.zoomInEnabled());
        zoom.zoomIn();
        QCOMPARE(zoom.percent(), 70);
    }

    void captionCyclesThroughEveryCharacter()
    {
        CaptionTicker ticker;
        const QString notice = CaptionTicker::Notice;
        QVERIFY(notice.endsWith(QStringLiteral(".    ")));
        ticker.tick();
        QCOMPARE(ticker.text(), notice.mid(1) + notice.front());
        for (qsizetype i = 1; i < notice.size(); ++i) {
            QCOMPARE_NE(ticker.text(), notice);
            ticker.tick();
        }
        QCOMPARE(ticker.text(), notice);
    }
};

QTEST_GUILESS_MAIN(PictureZoomTest)
#include "tst_picturezoom.moc"
