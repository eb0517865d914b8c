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
        QTest::addRow("opening at 50") << 50 << 1500 << 1000 << 1600 << QString("-") << "+";
        QTest::addRow("three steps in") << 80 << 2400 << 1600 << 2500 << QString("-") << "+";
        QTest::addRow("four steps in") << 90 << 2700 << 1800 << 2800 << QString("-") << "+";
        QTest::addRow("full size")
            << 100 << 3000 << 2000 << 3100 << QString("уменьшить") << "увеличить";
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

    // Steps from the opening 50 %: "-" and "+" are the buttons, "f" the double-click between
    // full size and the smallest; a largest zoom is where the screen ends.
    void zoomSteps_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("largest");
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("outEnabled");
        QTest::addColumn<bool>("inEnabled");
        QTest::addRow("opening") << "" << 0 << 50 << true << true;
        QTest::addRow("one out") << "-" << 0 << 40 << true << true;
        QTest::addRow("out to the smallest") << "--" << 0 << 30 << false << true;
        QTest::addRow("out past the smallest") << "---" << 0 << 30 << false << true;
        QTest::addRow("in from the smallest") << "---+" << 0 << 40 << true << true;
        QTest::addRow("double-click to full") << "f" << 0 << 100 << true << false;
        QTest::addRow("double-click back") << "ff" << 0 << 30 << false << true;
        QTest::addRow("out from full") << "fff-" << 0 << 90 << true << true;
        QTest::addRow("in to the screen") << "++" << 70 << 70 << true << false;
        QTest::addRow("in past the screen") << "+++" << 70 << 70 << true << false;
    }
    void zoomSteps()
    {
        QFETCH(QString, steps);
        QFETCH(int, largest);
        PictureZoom zoom;
        if (largest > 0)
            zoom.setLargest(largest);
        for (const QChar step : steps)
            step == u'-' ? zoom.zoomOut() : step == u'+' ? zoom.zoomIn() : zoom.toggleFull();
        QTEST(zoom.percent(), "percent");
        QTEST(zoom.zoomOutEnabled(), "outEnabled");
        QTEST(zoom.zoomInEnabled(), "inEnabled");
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
