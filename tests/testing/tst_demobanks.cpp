#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "reading/paragraphrecord.h"
#include "testing/catalogue.h"
#include "testing/questionbank.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

// Every test the demo course offers can be played: the catalogue's banks, the course test and
// the paragraph banks named by the description file.
class tst_demobanks : public QObject
{
    Q_OBJECT

    static QString jpg(const QString &name)
    {
        return QStringLiteral(TARVEL_DEMO_DATA "/jpg/") + name;
    }

private Q_SLOTS:
    void banksPlayWithTheirCatalogueNames()
    {
        SessionState session;
        QVERIFY(readTestCatalogue(session, jpg(datafiles::TestCatalogueFile)));
        QRandomGenerator random(7);
        int tests = 0;
        for (int slot = 0; slot < SessionState::CatalogueSlots; ++slot) {
            const QString name = session.catalogue.names[slot];
            if (name.isEmpty())
                continue;
            const PreparedTest test = prepareTest(jpg(session.catalogue.files[slot]), random);
            QVERIFY2(test.ok(), qPrintable(test.error));
            QCOMPARE(test.bank.name, name); // the grade is stored by this name
            QVERIFY(test.bank.questionCount() >= 20);
            QCOMPARE(test.order.size(), test.bank.questionCount());
            for (int i = 0; i < test.bank.questionCount(); ++i) {
                const BankRecord &record = test.bank.records[i];
                QVERIFY2(record.correct >= 1 && record.correct <= 5, qPrintable(record.question));
                for (const QString &answer : record.answers)
                    QVERIFY(!answer.isEmpty());
                if (!record.picture.isEmpty())
                    QVERIFY2(QFileInfo::exists(jpg(record.picture + QStringLiteral(".jpg"))),
                             qPrintable(record.picture));
            }
            ++tests;
        }
        QCOMPARE(tests, 14);
        QCOMPARE(prepareTest(jpg(datafiles::CourseBankFile), random).bank.questionCount(), 100);
        // The paragraph banks play and are in no catalogue slot.
        for (const char *file : {"T01_P01.jpg", "T01_P02.jpg", "T01_P03.jpg"}) {
            const PreparedTest test = prepareTest(jpg(QString::fromLatin1(file)), random);
            QVERIFY2(test.ok(), qPrintable(test.error));
            QVERIFY(!std::count(session.catalogue.names.begin(), session.catalogue.names.end(),
                                test.bank.name));
        }
        session.setProgramFolder(QFileInfo(QStringLiteral(TARVEL_DEMO_DATA)).absolutePath());
        const QString first = QStringLiteral("1.1.Светофор (проверка зависимостей на станции)");
        QCOMPARE(readParagraphRecord(session, first).test, "T01_P01.jpg");
    }

    void rightAnswerStandsOutNeitherByLengthNorByMarkers_data()
    {
        QTest::addColumn<QString>("file");
        QStringList files = QDir(jpg({})).entryList({QStringLiteral("T01_*.jpg")}, QDir::Files);
        files.append(datafiles::CourseBankFile);
        QCOMPARE(files.size(), 17); // 13 topic banks, 3 paragraph banks and the course bank
        for (const QString &file : std::as_const(files))
            QTest::newRow(qPrintable(file)) << file;
    }

    // Always picking the longest answer, or never the shortest, must not pass a test; and
    // every record names its right answer by a single "1" marker and by "good" alike.
    void rightAnswerStandsOutNeitherByLengthNorByMarkers()
    {
        QFETCH(QString, file);
        const std::optional<QStringList> lines = textfile::readLines(jpg(file));
        QVERIFY(lines);
        QRandomGenerator random(5);
        const PreparedTest test = parseQuestionBank(*lines, file, random);
        QVERIFY2(test.ok(), qPrintable(test.error));
        // The answers (markers kept) and the "good" value as the file states them.
        BankDocument document;
        QList<BankProblem> problems;
        QVERIFY(readBankDocument(*lines, document, problems));
        const QList<BankQuestion> &records = document.questions;
        QCOMPARE(records.size(), test.bank.questionCount());
        int longest = 0;
        int shortest = 0;
        for (qsizetype i = 0; i < records.size(); ++i) {
            const QByteArray question = "question " + QByteArray::number(i + 1);
            bool numeric = false;
            const int good = records[i].good.trimmed().toInt(&numeric);
            QVERIFY2(numeric && good >= 1 && good <= 5, question);
            for (int k = 1; k <= 5; ++k) {
                const QString &answer = records[i].answers[k - 1];
                QVERIFY2(answer.startsWith(k == good ? u'1' : u'0'),
                         question + " answer " + QByteArray::number(k));
            }
            const BankRecord &loaded = test.bank.records[i];
            QCOMPARE(loaded.answers[loaded.correct - 1], records[i].answers[good - 1].mid(1));
            const qsizetype right = loaded.answers[loaded.correct - 1].size();
            int longer = 0;
            int shorter = 0;
            for (int k = 0; k < 5; ++k) {
                if (k == loaded.correct - 1)
                    continue;
                longer += loaded.answers[k].size() > right;
                shorter += loaded.answers[k].size() < right;
            }
            longest += shorter == 4;
            shortest += longer == 4;
        }
        QVERIFY2(longest * 4 <= records.size(),
                 QByteArray::number(longest) + " right answers are the longest");
        QVERIFY2(shortest >= 1, "no right answer is the shortest");
    }

    // A school's own test takes the first of slots 15-20 and leaves it again; the other lines
    // of the catalogue stay as they were.
    void schoolTestTakesAFreeSlot()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(datafiles::TestCatalogueFile);
        QVERIFY(QFile::copy(jpg(datafiles::TestCatalogueFile), path));
        const QStringList before = *textfile::readLines(path);
        SessionState session;
        QVERIFY(readTestCatalogue(session, path));
        const int slot = freeCatalogueSlot(session);
        QCOMPARE(slot, 14);
        QVERIFY(writeCatalogueSlot(path, slot, "наш тест", "Переезды", "T01_N1.jpg"));
        QVERIFY(readTestCatalogue(session, path));
        QCOMPARE(catalogueBankFor(session, "Переезды"), QStringLiteral("T01_N1.jpg"));
        QCOMPARE(freeCatalogueSlot(session), 15);
        QVERIFY(writeCatalogueSlot(path, slot, before.at(before.indexOf("start") + 43), "", ""));
        QCOMPARE(*textfile::readLines(path), before);
        QVERIFY(!writeCatalogueSlot(folder.filePath("нет.jpg"), slot, "", "", ""));
    }
};

QTEST_GUILESS_MAIN(tst_demobanks)
#include "tst_demobanks.moc"
