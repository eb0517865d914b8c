#include "app/datafiles.h"
#include "app/sessionstate.h"
#include "reading/paragraphrecord.h"
#include "testing/catalogue.h"
#include "testing/questionbank.h"

#include <QFileInfo>
#include <QRandomGenerator>
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
    void catalogueBanksPlayWithTheirCatalogueNames()
    {
        SessionState session;
        QVERIFY(ReadTestCatalogue(session, jpg(datafiles::TestCatalogueFile)));
        QRandomGenerator random(7);
        int tests = 0;
        for (int slot = 0; slot < SessionState::CatalogueSlots; ++slot) {
            const QString name = session.TestCatalogueNames[slot];
            if (name.isEmpty())
                continue;
            const PreparedTest test = PrepareTest(jpg(session.TestCatalogueFiles[slot]), random);
            QVERIFY2(test.ok(), qPrintable(test.error));
            QCOMPARE(test.bank.name, name); // the grade is stored by this name
            QVERIFY(test.bank.questionCount() >= 20);
            QCOMPARE(test.order.size(), test.bank.questionCount());
            for (int i = 0; i < test.bank.questionCount(); ++i) {
                const BankRecord &record = test.bank.records[i];
                QVERIFY2(record.correct >= 1 && record.correct <= 5,
                         qPrintable(record.question));
                for (const QString &answer : record.answers)
                    QVERIFY(!answer.isEmpty());
                if (!record.picture.isEmpty())
                    QVERIFY2(QFileInfo::exists(jpg(record.picture + QStringLiteral(".jpg"))),
                             qPrintable(record.picture));
            }
            ++tests;
        }
        QCOMPARE(tests, 14);
        QCOMPARE(PrepareTest(jpg(datafiles::CourseBankFile), random).bank.questionCount(), 100);
    }

    void paragraphBanksPlayAndAreInNoCatalogueSlot()
    {
        SessionState session;
        QVERIFY(ReadTestCatalogue(session, jpg(datafiles::TestCatalogueFile)));
        QRandomGenerator random(11);
        for (const char *file : {"T01_P01.jpg", "T01_P02.jpg", "T01_P03.jpg"}) {
            const PreparedTest test = PrepareTest(jpg(QString::fromLatin1(file)), random);
            QVERIFY2(test.ok(), qPrintable(test.error));
            QVERIFY(!std::count(session.TestCatalogueNames.begin(),
                                session.TestCatalogueNames.end(), test.bank.name));
        }
        session.setProgramFolder(QFileInfo(QStringLiteral(TARVEL_DEMO_DATA)).absolutePath());
        session.CurrentParagraph = QStringLiteral("1.1.Светофор (проверка зависимостей на станции)");
        ReadParagraphRecord(session);
        QCOMPARE(session.TestBankName, QStringLiteral("T01_P01.jpg"));
    }
};

QTEST_GUILESS_MAIN(tst_demobanks)
#include "tst_demobanks.moc"
