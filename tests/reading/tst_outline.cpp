#include "core/textfile.h"
#include "reading/outline.h"
#include "reading/pagetext.h"
#include "reading/paragraphrecord.h"
#include "reading/readingorder.h"

#include <QtTest>

class OutlineTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void sectionsKeepTheirItems()
    {
        const Outline outline =
            Outline::fromLines({"Курс", "Раздел 1", "1.1.а", "1.2.б", "Раздел 2", "Раздел 3",
                                "Глава 3", "3.1.в", "Элемент", "3.2.г"});
        QCOMPARE(outline.courseTitle, QStringLiteral("Курс"));
        QCOMPARE(outline.sections.size(), 3);
        QCOMPARE(outline.sections.at(0).items, QStringList({"1.1.а", "1.2.б"}));
        QVERIFY(outline.sections.at(1).items.isEmpty());
        QCOMPARE(outline.sections.at(2).items.size(), 4);
        QCOMPARE(outline.sections.at(2).title, QStringLiteral("Раздел 3"));
        QVERIFY(outline.rootItems.isEmpty());

        // Odd outlines lose nothing: items before the first section, 40 items, 30 sections.
        QStringList lines{"Курс", "до раздела", "", "Раздел 1"};
        for (int k = 1; k <= 40; ++k)
            lines << QStringLiteral("1.%1.п").arg(k);
        for (int n = 2; n <= 30; ++n)
            lines << QStringLiteral("Раздел %1").arg(n);
        const Outline odd = Outline::fromLines(lines);
        QCOMPARE(odd.rootItems, QStringList{"до раздела"});
        QCOMPARE(odd.resolve(Outline::itemKey(0, 1)), QStringLiteral("до раздела"));
        QCOMPARE(odd.sections.size(), 30);
        QCOMPARE(odd.sections.first().items.size(), 40);
        QCOMPARE(odd.resolve(Outline::itemKey(1, 40)), QStringLiteral("1.40.п"));
        QVERIFY(Outline::fromLines({}).sections.isEmpty());
        QVERIFY(!Outline::load(QStringLiteral("/nonexistent/soderjanie.txt")));
    }

    void selectionResolvesToAParagraph()
    {
        const Outline outline =
            Outline::fromLines({"Курс", "Раздел 1", "1.1.а", "1.2.б", "Раздел 2", "Раздел 3",
                                "3.1.в", "Раздел 4", "4.1.г", "4.2.д"});
        QCOMPARE(outline.resolve(Outline::rootKey()), QStringLiteral("1.1.а"));
        QCOMPARE(outline.resolve(Outline::sectionKey(1)), QStringLiteral("1.1.а"));
        QCOMPARE(outline.resolve(Outline::sectionKey(4)), QStringLiteral("4.1.г"));
        QCOMPARE(outline.resolve(Outline::itemKey(1, 2)), QStringLiteral("1.2.б"));
        QCOMPARE(outline.resolve(Outline::itemKey(4, 2)), QStringLiteral("4.2.д"));
        // A section without items opens the next paragraph of the outline.
        QCOMPARE(outline.resolve(Outline::sectionKey(2)), QStringLiteral("3.1.в"));
        QVERIFY(outline.resolve(Outline::sectionKey(9)).isEmpty());
        QVERIFY(outline.resolve(Outline::itemKey(1, 3)).isEmpty());
        QVERIFY(outline.resolve(QStringLiteral("P1")).isEmpty());
        QVERIFY(outline.resolve(QStringLiteral("X")).isEmpty());

        // Headings open the paragraph that follows them.
        const Outline headed =
            Outline::fromLines({"Курс", "Раздел 1", "Глава 1", "1.1.а", "Элемент", "1.2.б",
                                "Раздел 2", "Глава 2", "Раздел 3", "Глава 3", "3.1.в"});
        QCOMPARE(headed.resolve(Outline::rootKey()), QStringLiteral("1.1.а"));
        QCOMPARE(headed.resolve(Outline::itemKey(1, 1)), QStringLiteral("1.1.а"));
        QCOMPARE(headed.resolve(Outline::itemKey(1, 3)), QStringLiteral("1.2.б"));
        QCOMPARE(headed.resolve(Outline::sectionKey(2)), QStringLiteral("3.1.в"));
        QCOMPARE(headed.resolve(Outline::itemKey(2, 1)), QStringLiteral("3.1.в"));
        QVERIFY(Outline::fromLines({"Курс", "Раздел 1", "Глава 1"}).resolve("A").isEmpty());

        // Keys stay unique where their digits run together.
        QCOMPARE_NE(Outline::itemKey(1, 12), Outline::itemKey(11, 2));
        QSet<QString> keys;
        for (int n = 1; n <= 30; ++n) {
            keys.insert(Outline::sectionKey(n));
            for (int k = 1; k <= 40; ++k)
                keys.insert(Outline::itemKey(n, k));
        }
        QCOMPARE(keys.size(), 30 * 41);
    }

    void readingOrderFollowsTheOutline()
    {
        const ReadingOrder order =
            ReadingOrder::fromLines({"Курс", "Раздел 1", "Глава 1", " 1.1.а ", "Элемент", "1.2.б",
                                     "", "Раздел 2", "2.1.в"});
        QCOMPARE(order.titles(), QStringList({"1.1.а", "1.2.б", "2.1.в"}));
        QCOMPARE(order.next(QStringLiteral("1.1.а")), QStringLiteral("1.2.б"));
        QCOMPARE(order.next(QStringLiteral("1.2.б")), QStringLiteral("2.1.в"));
        QVERIFY(order.next(QStringLiteral("2.1.в")).isEmpty());
        QCOMPARE(order.previous(QStringLiteral("2.1.в")), QStringLiteral("1.2.б"));
        QVERIFY(order.previous(QStringLiteral("1.1.а")).isEmpty());
        // Headings and the course title lead to the paragraphs around them.
        QCOMPARE(order.next(QStringLiteral("Глава 1")), QStringLiteral("1.1.а"));
        QCOMPARE(order.next(QStringLiteral("Раздел 2")), QStringLiteral("2.1.в"));
        QCOMPARE(order.previous(QStringLiteral("Раздел 2")), QStringLiteral("1.2.б"));
        QCOMPARE(order.next(QStringLiteral("Курс")), QStringLiteral("1.1.а"));
        QVERIFY(order.previous(QStringLiteral("Курс")).isEmpty());
        // A title that left the outline goes nowhere.
        QVERIFY(order.next(QStringLiteral("9.9.нет")).isEmpty());
        QVERIFY(order.previous(QStringLiteral("9.9.нет")).isEmpty());
        // Only the plan pages are without questions, not a paragraph about a plan.
        QVERIFY(!paragraphs::hasNoQuestions("15.1.Построение однониточного плана станции"));
    }

    void descriptionRecordLookup()
    {
        // Three records: no test, a test, and one cut short at the end of the file.
        const QStringList lines =
            QString("# комментарий|  start |name|1.1.а|qstn|y|test|n|name| 1.2.б |qstn|y|"
                    "test| T01_P01.jpg |name|1.3.в|qstn|n")
                .split(u'|');
        ParagraphRecord record = ParagraphRecord::find(lines, QStringLiteral("1.2.б"));
        QCOMPARE(record.lookup, ParagraphRecord::Lookup::Found);
        QCOMPARE(record.test, QStringLiteral("T01_P01.jpg"));
        QVERIFY(record.hasTest());
        record = ParagraphRecord::find(lines, QStringLiteral("1.1.а"));
        QCOMPARE(record.test, QStringLiteral("n"));
        QVERIFY(!record.hasTest());
        // A truncated record at the end of the file: found, without a test.
        record = ParagraphRecord::find(lines, QStringLiteral("1.3.в"));
        QCOMPARE(record.lookup, ParagraphRecord::Lookup::Found);
        QVERIFY(!record.hasTest());
        // A value that looks like a key is not taken for one: pairs stay aligned.
        QCOMPARE(ParagraphRecord::find(lines, QStringLiteral("qstn")).lookup,
                 ParagraphRecord::Lookup::NotFound);
        QCOMPARE(ParagraphRecord::find(lines, QStringLiteral("9.9.нет")).lookup,
                 ParagraphRecord::Lookup::NotFound);
        QCOMPARE(ParagraphRecord::find({"name", "1.1.а"}, QStringLiteral("1.1.а")).lookup,
                 ParagraphRecord::Lookup::Unusable);
    }

    void pagesAreDecodedByTheirCharset()
    {
        const QString body = QStringLiteral("Рельсовая цепь");
        const QByteArray page1251 =
            "<html><head><META http-equiv=\"Content-Type\" content=\"text/html; "
            "charset=Windows-1251\"></head><body>" +
            textfile::encode1251(body) + "</body></html>";
        QCOMPARE(pagetext::declaredCharset(page1251), QStringLiteral("windows-1251"));
        QVERIFY(pagetext::decodePage(page1251).contains(body));

        const QByteArray pageUtf8 =
            "<html><head><meta charset=\"utf-8\"></head><body>" + body.toUtf8() + "</body></html>";
        QVERIFY(pagetext::decodePage(pageUtf8).contains(body));
        // Without a declaration: valid UTF-8 is UTF-8, anything else is taken as 1251.
        QVERIFY(pagetext::decodePage(body.toUtf8()).contains(body));
        QVERIFY(pagetext::decodePage(textfile::encode1251(body)).contains(body));
        QVERIFY(pagetext::decodePage("\xEF\xBB\xBF" + body.toUtf8()).startsWith(body));
        QVERIFY(pagetext::missingPageHtml(QStringLiteral("/x/1.1.а.htm")).contains("1.1.а.htm"));
    }
};

QTEST_GUILESS_MAIN(OutlineTest)
#include "tst_outline.moc"
