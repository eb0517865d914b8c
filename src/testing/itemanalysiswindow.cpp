#include "testing/itemanalysiswindow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "core/windowhub.h"
#include "network/classroom.h"
#include "network/sharereader.h"
#include "testing/bankeditorwindow.h"
#include "testing/catalogue.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/modalscope.h"

#include <QAbstractButton>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QValueAxis>

namespace {
const QStringList Columns{QStringLiteral("№"),           QStringLiteral("Вопрос"),
                          QStringLiteral("Задан"),       QStringLiteral("Верно, %"),
                          QStringLiteral("Различение"),  QStringLiteral("Частый неверный"),
                          QStringLiteral("Его доля, %"), QStringLiteral("Среднее время, с"),
                          QStringLiteral("Отметка")};
constexpr int QuestionStart = 60;

QString startOf(const QString &text)
{
    const QString line = textfile::oneLine(text).simplified();
    return line.size() > QuestionStart ? line.left(QuestionStart - 1) + u'…' : line;
}

double shareOf(int count, int asked)
{
    return asked > 0 ? 100.0 * count / asked : 0;
}
} // namespace

void ItemTableModel::setReport(const itemanalysis::Report &report)
{
    beginResetModel();
    m_report = report;
    endResetModel();
}

int ItemTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_report.items.size());
}

int ItemTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(Columns.size());
}

QVariant ItemTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    const itemanalysis::Item &item = m_report.items.at(index.row());
    const bool wrong = item.topWrong > 0;
    switch (index.column()) {
    case 0:
        return item.question;
    case 1: {
        const QString &text = m_report.bank.records[item.question - 1].question;
        return role == Qt::ToolTipRole ? text : startOf(text);
    }
    case 2:
        return item.asked;
    case 3:
        return itemanalysis::percentText(item.facility);
    case 4:
        return itemanalysis::discriminationText(item.discrimination);
    case 5:
        return wrong ? QString::number(item.topWrong) : QStringLiteral("—");
    case 6:
        return wrong ? itemanalysis::percentText(item.topWrongShare) : QStringLiteral("—");
    case 7:
        return QString::number(item.meanSeconds, 'f', 1).replace(u'.', u',');
    default:
        return item.flag;
    }
}

QVariant ItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return Columns.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

ItemAnalysisWindow::ItemAnalysisWindow(AppContext &context)
    : NetWindow(context, QStringLiteral("frmItemAnalysis"), QStringLiteral("Анализ вопросов"))
{
    buildControls();
    fillBanks();
}

ItemAnalysisWindow::~ItemAnalysisWindow()
{
    // The model goes before the table: its selection must not show a question meanwhile.
    disconnect(m_table->selectionModel(), nullptr, this, nullptr);
}

void ItemAnalysisWindow::buildControls()
{
    QLabel *bankLabel = addLabel(QStringLiteral("metBank"), QStringLiteral("Тест:"));
    m_bank = new QComboBox(this);
    m_bank->setObjectName(QStringLiteral("cmbBank"));
    m_bank->setEditable(true);
    m_bank->setInsertPolicy(QComboBox::NoInsert);
    m_bank->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_bank->setMinimumContentsLength(20);
    m_bank->setAccessibleName(QStringLiteral("Тест"));
    m_bank->lineEdit()->setAccessibleName(QStringLiteral("Тест"));
    hover()->addHint(m_bank, QStringLiteral("Тест из каталога или имя файла вопросов, например "
                                            "T01_96.jpg"));
    bankLabel->setBuddy(m_bank);
    QLabel *fromLabel = addLabel(QStringLiteral("metFrom"), QStringLiteral("с:"));
    m_from = new QDateEdit(QDate::currentDate().addYears(-1), this);
    m_from->setObjectName(QStringLiteral("dateFrom"));
    m_from->setAccessibleName(QStringLiteral("Первый день"));
    hover()->addHint(m_from, QStringLiteral("Попытки, начатые с этого дня"));
    fromLabel->setBuddy(m_from);
    QLabel *toLabel = addLabel(QStringLiteral("metTo"), QStringLiteral("по:"));
    m_to = new QDateEdit(QDate::currentDate(), this);
    m_to->setObjectName(QStringLiteral("dateTo"));
    m_to->setAccessibleName(QStringLiteral("Последний день"));
    hover()->addHint(m_to, QStringLiteral("Попытки, начатые по этот день"));
    toLabel->setBuddy(m_to);
    for (QDateEdit *edit : {m_from, m_to}) {
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        if (auto *line = edit->findChild<QLineEdit *>())
            line->setAccessibleName(edit->accessibleName());
    }
    m_show = addButton(QStringLiteral("btnShow"), QStringLiteral("Показать"),
                       QStringLiteral("Прочитать журналы ответов всех компьютеров класса"));
    m_show->setDefault(true);

    m_model = new ItemTableModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tblItems"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    // The corner button is hidden with the row header, yet screen readers still list it.
    for (QAbstractButton *corner : m_table->findChildren<QAbstractButton *>())
        corner->setAccessibleName(QStringLiteral("Выделить все вопросы"));
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_table->setMinimumSize(600, 200);
    m_table->setAccessibleName(QStringLiteral("Вопросы теста"));
    hover()->addHint(m_table, QStringLiteral("По вопросу в строке: сколько раз задан, доля "
                                             "верных ответов, различение, частый неверный ответ, "
                                             "среднее время и отметка"));

    m_failures = addLabel(QStringLiteral("metFailures"), QString());
    m_failures->setAccessibleName(QStringLiteral("Непрочитанные журналы"));
    m_question = addLabel(QStringLiteral("metQuestion"), QString());
    m_question->setAccessibleName(QStringLiteral("Выбранный вопрос"));
    m_question->setMinimumWidth(280);
    m_question->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    for (QLabel *label : {m_failures, m_question}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    m_chart = new QChartView(this);
    m_chart->setObjectName(QStringLiteral("chartAnswers"));
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumSize(280, 200);
    m_chart->setAccessibleName(QStringLiteral("Доли ответов"));
    m_chart->viewport()->setAccessibleName(m_chart->accessibleName());
    hover()->addHint(m_chart, QStringLiteral("Доля попыток, выбравших каждый ответ вопроса"));

    m_export = addButton(QStringLiteral("btnCSV"), QStringLiteral("Экспорт в CSV"),
                         QStringLiteral("Сохранить таблицу для электронных таблиц"));
    m_export->setEnabled(false);
    m_edit = addButton(QStringLiteral("btnEditQuestion"), QStringLiteral("Открыть в редакторе"),
                       QStringLiteral("Открыть выбранный вопрос в редакторе тестов"));
    m_edit->setEnabled(false);
    QPushButton *back = addButton(QStringLiteral("btnBack"), QStringLiteral("Вернуться"),
                                  QStringLiteral("Вернуться к результатам теста"));
    m_status = addLabel(QStringLiteral("metStatus"), QString());
    m_status->setTextFormat(Qt::PlainText);
    m_status->setAccessibleName(QStringLiteral("Сообщение"));
    setEscapeButton(back);
    connect(m_show, &QPushButton::clicked, this, &ItemAnalysisWindow::analyse);
    connect(m_export, &QPushButton::clicked, this, &ItemAnalysisWindow::exportTable);
    connect(m_edit, &QPushButton::clicked, this, &ItemAnalysisWindow::editQuestion);
    connect(back, &QPushButton::clicked, this, [this] {
        m_context.cues.play(Cue::Close);
        close();
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ItemAnalysisWindow::showQuestion);

    auto *grid = new QGridLayout(this);
    grid->addWidget(bankLabel, 0, 0);
    grid->addWidget(m_bank, 0, 1);
    grid->addWidget(fromLabel, 0, 2);
    grid->addWidget(m_from, 0, 3);
    grid->addWidget(toLabel, 0, 4);
    grid->addWidget(m_to, 0, 5);
    grid->addWidget(m_show, 0, 6);
    grid->addWidget(m_table, 1, 0, 1, 7);
    grid->addWidget(m_failures, 2, 0, 1, 7);
    grid->addWidget(m_question, 3, 0, 1, 3);
    grid->addWidget(m_chart, 3, 3, 1, 4);
    grid->addWidget(m_export, 4, 0);
    grid->addWidget(m_edit, 4, 1);
    grid->addWidget(m_status, 4, 2, 1, 4);
    grid->addWidget(back, 4, 6);
    grid->addWidget(addStatusBar(), 5, 0, 1, 7);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);
}

void ItemAnalysisWindow::fillBanks()
{
    SessionState &s = m_context.session;
    readTestCatalogue(s, s.jpgPath(datafiles::TestCatalogueFile));
    for (int k = 0; k < SessionState::CatalogueSlots; ++k) {
        const QString &file = s.catalogue.files[k];
        if (!file.trimmed().isEmpty())
            m_bank->addItem(QStringLiteral("%1 (%2)").arg(s.catalogue.names[k], file),
                            file.trimmed());
    }
}

QList<itemanalysis::Computer> ItemAnalysisWindow::computers() const
{
    QList<itemanalysis::Computer> list{
        {QStringLiteral("Этот компьютер"), m_context.session.programFolder}};
    for (const int i : m_context.classroom.configured())
        list.append({QStringLiteral("Компьютер %1").arg(i), m_context.classroom.folder(i)});
    return list;
}

void ItemAnalysisWindow::analyse()
{
    const int index = m_bank->findText(m_bank->currentText());
    const QString bank =
        index >= 0 ? m_bank->itemData(index).toString() : m_bank->currentText().trimmed();
    if (bank.isEmpty()) {
        m_status->setText(QStringLiteral("Выберите тест."));
        return;
    }
    m_context.cues.play(Cue::Pick);
    m_show->setEnabled(false);
    m_status->setText(QStringLiteral("Читаются журналы ответов…"));
    const QList<itemanalysis::Computer> computers = this->computers();
    const QString bankPath = m_context.session.jpgPath(bank);
    const QDate from = m_from->date();
    const QDate to = m_to->date();
    readOffThread<itemanalysis::Report>(
        this,
        [computers, bankPath, bank, from, to] {
            return itemanalysis::buildReport(computers, bankPath, bank, from, to);
        },
        [this, bank](const itemanalysis::Report &report) {
            m_reportBank = bank;
            showReport(report);
        });
}

void ItemAnalysisWindow::showReport(const itemanalysis::Report &report)
{
    m_show->setEnabled(true);
    m_model->setReport(report);
    m_table->resizeColumnsToContents();
    m_export->setEnabled(report.bankError.isEmpty());
    m_failures->setText(report.failures.join(u'\n'));
    m_failures->setVisible(!report.failures.isEmpty());
    if (!report.bankError.isEmpty())
        m_status->setText(report.bankError);
    else if (report.items.isEmpty())
        m_status->setText(QStringLiteral("Журналов прочитано: %1. Вопросы этого теста в эти дни "
                                         "не задавались.")
                              .arg(report.journalsRead));
    else
        m_status->setText(QStringLiteral("Журналов прочитано: %1, вопросов: %2.")
                              .arg(report.journalsRead)
                              .arg(report.items.size()));
    if (!report.items.isEmpty())
        m_table->selectRow(0);
    else
        showQuestion();
}

void ItemAnalysisWindow::showQuestion()
{
    const QModelIndex current = m_table->currentIndex();
    const itemanalysis::Report &report = m_model->report();
    auto *chart = new QChart;
    if (current.isValid()) {
        const itemanalysis::Item &item = report.items.at(current.row());
        const BankRecord &record = report.bank.records[item.question - 1];
        const std::array<QString, 5> answers = itemanalysis::fileOrderAnswers(record);
        const int right = record.filePlace(record.correct);
        QStringList lines{QStringLiteral("Вопрос %1: %2").arg(item.question).arg(record.question)};
        auto *shares = new QBarSet(QStringLiteral("Выбрали, %"));
        QStringList places;
        for (int place = 1; place <= 5; ++place) {
            const double share = shareOf(item.chosen[place], item.asked);
            lines << QStringLiteral("%1. %2 — %3 %%4")
                         .arg(place)
                         .arg(answers[place - 1], itemanalysis::percentText(share),
                              place == right ? QStringLiteral(" (верный)") : QString());
            *shares << share;
            places << QString::number(place);
        }
        if (item.chosen[0] > 0)
            lines << QStringLiteral("Без ответа (время вышло): %1 %")
                         .arg(itemanalysis::percentText(shareOf(item.chosen[0], item.asked)));
        m_question->setText(lines.join(u'\n'));
        auto *series = new QBarSeries;
        series->append(shares);
        chart->addSeries(series);
        auto *axisX = new QBarCategoryAxis;
        axisX->append(places);
        axisX->setTitleText(QStringLiteral("Ответ"));
        auto *axisY = new QValueAxis;
        axisY->setRange(0, 100);
        axisY->setLabelFormat(QStringLiteral("%.0f"));
        axisY->setTitleText(QStringLiteral("%"));
        chart->addAxis(axisX, Qt::AlignBottom);
        chart->addAxis(axisY, Qt::AlignLeft);
        series->attachAxis(axisX);
        series->attachAxis(axisY);
        chart->legend()->hide();
        m_chart->setAccessibleDescription(lines.mid(1).join(QStringLiteral("; ")));
    } else {
        m_question->clear();
    }
    m_edit->setEnabled(current.isValid());
    QChart *old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;
}

void ItemAnalysisWindow::editQuestion()
{
    const QModelIndex current = m_table->currentIndex();
    auto *editor = m_context.windows.load<BankEditorWindow>();
    if (!current.isValid() || !editor)
        return;
    m_context.cues.play(Cue::Pick);
    editor->openAt(m_reportBank, m_model->report().items.at(current.row()).question, this);
    hide();
    m_context.windows.open<BankEditorWindow>();
}

void ItemAnalysisWindow::exportTable()
{
    m_context.cues.play(Cue::Pick);
    const QPointer<ItemAnalysisWindow> self(this);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path;
    {
        // Without a parent, so that this window waits disabled like every other.
        const ModalScope others(nullptr);
        path = QFileDialog::getSaveFileName(nullptr, QStringLiteral("Экспорт в CSV"),
                                            (documents.isEmpty() ? QDir::homePath() : documents) +
                                                QStringLiteral("/Анализ вопросов.csv"),
                                            QStringLiteral("Таблица CSV (*.csv)"));
    }
    if (!self || path.isEmpty())
        return;
    if (!textfile::replaceFile(path, itemanalysis::csv(m_model->report().items))) {
        m_status->setText(QStringLiteral("Не удалось записать файл ") +
                          QDir::toNativeSeparators(path));
        return;
    }
    m_status->setText(QStringLiteral("Записано строк: %1, файл %2")
                          .arg(m_model->report().items.size())
                          .arg(QDir::toNativeSeparators(path)));
}
