#include "network/resultswindows.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "core/windowhub.h"
#include "network/classresultsmodel.h"
#include "network/classroom.h"
#include "network/monitorwindow.h"
#include "network/resultslogcsv.h"
#include "network/resultsprinter.h"
#include "reading/helpwindow.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/modalscope.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>

// The print confirmation.

PrintConfirmWindow::PrintConfirmWindow(AppContext &context)
    : NetWindow(context, QStringLiteral("frmPrintYorN"), QStringLiteral("Ну что, печатать будем?"))
{
    QLabel *text = addLabel(QStringLiteral("Метка1"),
                            QStringLiteral("Включите принтер и нажмите на кнопку \"ок\". Если вы "
                                           "вспомнили что у вас нет принтера, то нажмите кнопку "
                                           "\"Отмена\" "));
    text->setMinimumWidth(320);
    QPushButton *ok = addButton(QStringLiteral("Комманда1"), QStringLiteral("ok"),
                                QStringLiteral("Печатать результаты"));
    QPushButton *cancel = addButton(QStringLiteral("Комманда2"), QStringLiteral("Отмена"),
                                    QStringLiteral("Не печатать"));
    setEscapeButton(cancel);
    connect(ok, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        m_yes = true;
        close();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Oou);
        m_yes = false;
        close();
    });
    auto *grid = new QGridLayout(this);
    grid->addWidget(text, 0, 0, 1, 2);
    grid->addWidget(ok, 1, 0);
    grid->addWidget(cancel, 1, 1);
}

bool PrintConfirmWindow::ask(AppContext &context)
{
    PrintConfirmWindow window(context);
    window.exec();
    return window.m_yes;
}

// The results log.

ClassResultsWindow::ClassResultsWindow(AppContext &context)
    : NetWindow(context, QStringLiteral("frmLOGnet"), QStringLiteral("Результаты теста ")),
      m_log(resultslog::build(context.classroom.pupils(), QLocale::system())),
      m_model(new ClassResultsModel(
          resultslog::csv::logRows(context.classroom.pupils(), QDate::currentDate()), this))
{
    m_context.windows.hide<MonitorWindow>();
    buildControls();
    showFirstRow();
}

QString ClassResultsWindow::pdfFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

void ClassResultsWindow::buildTable()
{
    m_table = addTable(QStringLiteral("list1"), m_model, QStringLiteral("Результаты теста"),
                       QStringLiteral("Результаты законченных тестов"));
    m_table->setMinimumSize(640, 260);
    QHeaderView *header = m_table->horizontalHeader();
    header->setSectionResizeMode(ClassResultsModel::Name, QHeaderView::Stretch);
    header->setSectionResizeMode(ClassResultsModel::Test, QHeaderView::Stretch);
}

void ClassResultsWindow::showFirstRow()
{
    if (m_model->rowCount() > 0)
        m_table->setCurrentIndex(m_model->index(0, 0));
}

void ClassResultsWindow::buildControls()
{
    buildTable();
    QLabel *average = addLabel(QStringLiteral("metAVER"), m_log.average);
    QLabel *quality = addLabel(QStringLiteral("metCACH"), m_log.quality);
    QLabel *absolute = addLabel(QStringLiteral("metABSOL"), m_log.absolute);
    m_printed = addLabel(QStringLiteral("metPRINT"), QString());
    m_printed->setAccessibleName(QStringLiteral("Сообщение о печати"));
    m_printed->setTextInteractionFlags(Qt::TextSelectableByMouse);

    QPushButton *print = addButton(QStringLiteral("Комманда1"), QStringLiteral("Печать"),
                                   QStringLiteral("Распечатать результаты теста"));
    QPushButton *back = addButton(QStringLiteral("Комманда2"), QStringLiteral("Вернуться"),
                                  QStringLiteral("Вернуться в меню 'Сетевая версия'"));
    m_remember =
        addButton(QStringLiteral("btnHISTORYmemo"), QStringLiteral("Запомнить результаты теста"),
                  QStringLiteral("Добавить эти результаты в историю"));
    QPushButton *history =
        addButton(QStringLiteral("HISTORYread"), QStringLiteral("Просмотр старых результатов"),
                  QStringLiteral("Посмотреть сохраненные результаты тестов"));
    QPushButton *exportLog =
        addButton(QStringLiteral("btnCSV"), QStringLiteral("Экспорт в CSV"),
                  QStringLiteral("Сохранить эти результаты таблицей для электронных таблиц"));
    QPushButton *exportHistory =
        addButton(QStringLiteral("btnHISTORYcsv"), QStringLiteral("Экспорт истории в CSV"),
                  QStringLiteral("Сохранить результаты всех запомненных занятий таблицей"));
    QPushButton *analysis =
        addButton(QStringLiteral("btnItemAnalysis"), QStringLiteral("Анализ вопросов"),
                  QStringLiteral("Какие вопросы теста класс решает, а какие вводят в заблуждение"));
    connect(analysis, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Pick);
        m_context.windows.openItemAnalysis();
    });
    analysis->setVisible(bool(m_context.windows.openItemAnalysis));
    connect(print, &QPushButton::clicked, this, &ClassResultsWindow::print);
    connect(exportLog, &QPushButton::clicked, this, [this] {
        exportRows(resultslog::csv::logRows(m_context.classroom.pupils(), QDate::currentDate()),
                   QStringLiteral("Результаты ") +
                       QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
    });
    connect(exportHistory, &QPushButton::clicked, this, [this] {
        const QStringList history =
            textfile::readLines(m_context.session.jpgPath(datafiles::HistoryFile))
                .value_or(QStringList());
        exportRows(resultslog::csv::historyRows(history, QLocale::system()),
                   QStringLiteral("История результатов"));
    });
    setEscapeButton(back);
    connect(back, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Close);
        close();
    });
    connect(m_remember, &QPushButton::clicked, this, &ClassResultsWindow::remember);
    connect(history, &QPushButton::clicked, this, &ClassResultsWindow::showHistory);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_table, 0, 0, 1, 4);
    grid->addWidget(average, 1, 0, 1, 4);
    grid->addWidget(quality, 2, 0, 1, 4);
    grid->addWidget(absolute, 3, 0, 1, 4);
    grid->addWidget(print, 4, 0);
    grid->addWidget(m_remember, 4, 1);
    grid->addWidget(history, 4, 2);
    grid->addWidget(back, 4, 3);
    grid->addWidget(exportLog, 5, 0);
    grid->addWidget(exportHistory, 5, 2);
    grid->addWidget(analysis, 5, 3);
    grid->addWidget(m_printed, 6, 0, 1, 4);
    grid->addWidget(addStatusBar(), 7, 0, 1, 4);
}

void ClassResultsWindow::print()
{
    m_context.cues.play(Cue::Pick);
    const QPointer<ClassResultsWindow> self(this);
    if (!PrintConfirmWindow::ask(m_context) || !self)
        return;
    const PrintOutcome outcome =
        printLines(resultslog::printLines(m_log, QDate::currentDate()), pdfFolder());
    if (outcome.pdfFile.isEmpty())
        m_printed->setText(outcome.printed ? QStringLiteral("Результаты отправлены на принтер.")
                                           : QStringLiteral("Не удалось напечатать результаты."));
    else if (outcome.printed)
        m_printed->setText(QStringLiteral("Принтер не найден. Результаты сохранены в файл ") +
                           QDir::toNativeSeparators(outcome.pdfFile));
    else
        m_printed->setText(QStringLiteral("Принтер не найден, и файл ") +
                           QDir::toNativeSeparators(outcome.pdfFile) +
                           QStringLiteral(" не удалось записать."));
}

void ClassResultsWindow::exportRows(const QList<resultslog::csv::Row> &rows, const QString &name)
{
    m_context.cues.play(Cue::Pick);
    const QPointer<ClassResultsWindow> self(this);
    QString path;
    {
        // Without a parent, so that this window waits disabled like every other.
        const ModalScope others(nullptr);
        path = QFileDialog::getSaveFileName(nullptr, QStringLiteral("Экспорт в CSV"),
                                            pdfFolder() + u'/' + name + QStringLiteral(".csv"),
                                            QStringLiteral("Таблица CSV (*.csv)"));
    }
    if (!self || path.isEmpty())
        return;
    if (!resultslog::csv::write(path, rows)) {
        m_printed->setText(QStringLiteral("Не удалось записать файл ") +
                           QDir::toNativeSeparators(path));
        return;
    }
    m_printed->setText(rows.isEmpty() ? QStringLiteral("Результатов нет; в файл %1 записана "
                                                       "только строка заголовков.")
                                            .arg(QDir::toNativeSeparators(path))
                                      : QStringLiteral("Записано строк: %1, файл %2")
                                            .arg(rows.size())
                                            .arg(QDir::toNativeSeparators(path)));
}

void ClassResultsWindow::remember()
{
    m_context.cues.play(Cue::Pick);
    m_remember->setEnabled(false);
    const SessionState &s = m_context.session;
    const QString history = s.jpgPath(datafiles::HistoryFile);
    const resultslog::HistorySave saved =
        resultslog::appendHistory(history, s.jpgPath(datafiles::HistoryTemporaryFile),
                                  resultslog::historyBlock(m_log, QDate::currentDate()));
    showFirstRow();
    switch (saved) {
    case resultslog::HistorySave::Saved:
        m_printed->setText(QStringLiteral("Результаты теста запомнены."));
        break;
    case resultslog::HistorySave::Unreadable:
        m_printed->setText(QStringLiteral("Не удалось прочитать историю результатов ") +
                           QDir::toNativeSeparators(history) +
                           QStringLiteral(". Файл оставлен как есть, результаты не запомнены."));
        break;
    case resultslog::HistorySave::NotWritten:
        m_printed->setText(QStringLiteral("Не удалось записать историю результатов ") +
                           QDir::toNativeSeparators(history) + u'.');
        break;
    }
    m_remember->setEnabled(true);
}

void ClassResultsWindow::showHistory()
{
    m_context.cues.play(Cue::Pick);
    SessionState &s = m_context.session;
    resultslog::copyHistory(s.jpgPath(datafiles::HistoryFile),
                            s.dataPath(QStringLiteral("htm/history.txt")));
    if (auto *help = m_context.windows.open<HelpWindow>())
        help->openFrom(this, HelpWindow::Page::History);
}

void ClassResultsWindow::closeEvent(QCloseEvent *event)
{
    showMonitor();
    event->accept();
}
