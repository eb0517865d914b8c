#include "testing/bankeditorwindow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "core/windowhub.h"
#include "reading/paragraphrecord.h"
#include "testing/answerclock.h"
#include "testing/bankeditordialogs.h"
#include "testing/bankimport.h"
#include "testing/catalogue.h"
#include "testing/questionbank.h"
#include "testing/questionpreview.h"
#include "testing/resume.h"
#include "testing/testrun.h"
#include "testing/testwindow.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/windows1251validator.h"
#include "users/messagewindows.h"
#include "users/userbase.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableWidget>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

enum BankColumn { BankFile, BankName, BankCount, BankCheck };
enum QuestionColumn { Number, TopicColumn, Text, PictureMark, CheckMark };

// One edit of the question list: the list before and after, and the question selected.
class BankEdit : public QUndoCommand
{
public:
    using Apply = std::function<void(const QList<BankQuestion> &, int)>;

    BankEdit(const QString &text, QList<BankQuestion> before, int rowBefore,
             QList<BankQuestion> after, int rowAfter, int merge, Apply apply)
        : QUndoCommand(text), m_before(std::move(before)), m_after(std::move(after)),
          m_rowBefore(rowBefore), m_rowAfter(rowAfter), m_merge(merge), m_apply(std::move(apply))
    {
    }

    void undo() override { m_apply(m_before, m_rowBefore); }
    void redo() override { m_apply(m_after, m_rowAfter); }
    int id() const override { return m_merge; }
    // Typing into one field of one question is one edit.
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const BankEdit *>(other);
        if (next->m_rowAfter != m_rowAfter)
            return false;
        m_after = next->m_after;
        return true;
    }

private:
    QList<BankQuestion> m_before;
    QList<BankQuestion> m_after;
    int m_rowBefore;
    int m_rowAfter;
    int m_merge;
    Apply m_apply;
};

QTableWidget *newTable(QWidget *parent, const QString &objectName, const QStringList &headers)
{
    auto *table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(objectName);
    table->setHorizontalHeaderLabels(headers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(false);
    table->setTabKeyNavigation(false);
    return table;
}

void setCell(QTableWidget *table, int row, int column, const QString &text)
{
    QTableWidgetItem *item = table->item(row, column);
    if (!item)
        table->setItem(row, column, new QTableWidgetItem(text));
    else if (item->text() != text)
        item->setText(text);
}

// A bank file name in data/jpg that no file has yet.
QString newBankFileName(const SessionState &session)
{
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("T01_N%1.jpg").arg(n);
        if (!QFileInfo::exists(session.jpgPath(name)))
            return name;
    }
}

} // namespace

BankEditorWindow::BankEditorWindow(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("frmEDITOR"), QStringLiteral("Редактор тестов"))
{
    m_undo = new QUndoStack(this);
    auto *header = addLabel(QStringLiteral("caption"), windowTitle());
    header->setAccessibleName(windowTitle());
    QFont big = header->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    header->setFont(big);
    dragger()->addHandle(header);
    m_status = addLabel(QStringLiteral("sbStatusBar"), QString());
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setAccessibleName(QStringLiteral("Строка состояния"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(buildQuestionList());
    split->addWidget(buildQuestionPane());
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 8, 12, 8);
    column->addWidget(header);
    column->addWidget(buildBankList());
    column->addWidget(split, 1);
    column->addLayout(buildButtons());
    column->addWidget(m_status);
    setMinimumSize(960, 680);
    setFirstFocus(m_banks);
    orderTabs();

    connect(m_undo, &QUndoStack::cleanChanged, this, [this] { fillBankList(); });
    fillBankList();
    say(QStringLiteral("Выберите банк в списке и нажмите Enter, чтобы открыть его."));
}

// Tab goes as the eye reads: the banks, the questions, the fields of the question, then the
// commands below.
void BankEditorWindow::orderTabs()
{
    QStringList names{"tblBanks",     "cmdNewTest", "cmdRemoveTest",
                      "tblQuestions", "txtTopic",   "txtQuestion"};
    for (int k = 1; k <= 5; ++k)
        names << QStringLiteral("optRight%1").arg(k) << QStringLiteral("txtAnswer%1").arg(k);
    names << QStringList{"txtPicture", "cmdPicture", "txtSearch",    "cmdFind",   "cmdPreview",
                         "cmdImport",  "cmdAdd",     "cmdDuplicate", "cmdDelete", "cmdUp",
                         "cmdDown",    "cmdUndo",    "cmdRedo",      "cmdSave",   "cmdClose"};
    QWidget *previous = nullptr;
    for (const QString &name : std::as_const(names)) {
        QWidget *next = findChild<QWidget *>(name);
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    }
}

QWidget *BankEditorWindow::buildBankList()
{
    m_banks = newTable(this, QStringLiteral("tblBanks"),
                       {QStringLiteral("Файл"), QStringLiteral("Название теста"),
                        QStringLiteral("Вопросов"), QStringLiteral("Проверка")});
    m_banks->setAccessibleName(QStringLiteral("Банки вопросов"));
    hover()->addHint(m_banks, QStringLiteral("Тесты каталога, тест по курсу и тесты параграфов; "
                                             "Enter или двойной щелчок открывает банк"));
    m_banks->horizontalHeader()->setSectionResizeMode(BankName, QHeaderView::Stretch);
    m_banks->setFixedHeight(130);
    connect(m_banks, &QTableWidget::cellActivated, this,
            [this](int row) { openBank(m_banks->item(row, BankFile)->text()); });
    auto *box = new QWidget(this);
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_banks, 1);
    auto *buttons = new QVBoxLayout;
    QPushButton *add = addButton(QStringLiteral("cmdNewTest"), QStringLiteral("&Новый тест…"),
                                 QStringLiteral("Новый тематический тест на свободном месте "
                                                "каталога (места 15–20)"));
    QPushButton *remove =
        addButton(QStringLiteral("cmdRemoveTest"), QStringLiteral("Убрать из каталог&а"),
                  QStringLiteral("Убрать выбранный тест мест 15–20 из выбора "
                                 "тестов; файл банка остаётся"));
    connect(add, &QPushButton::clicked, this, &BankEditorWindow::addTest);
    connect(remove, &QPushButton::clicked, this, &BankEditorWindow::removeTest);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    row->addLayout(buttons);
    return box;
}

QWidget *BankEditorWindow::buildQuestionList()
{
    m_questions = newTable(this, QStringLiteral("tblQuestions"),
                           {QStringLiteral("№"), QStringLiteral("Тема"), QStringLiteral("Вопрос"),
                            QStringLiteral("Рис."), QStringLiteral("!")});
    m_questions->setAccessibleName(QStringLiteral("Вопросы банка"));
    hover()->addHint(m_questions, QStringLiteral("Вопросы открытого банка; «!» — проверка нашла "
                                                 "в вопросе ошибку или замечание"));
    m_questions->horizontalHeader()->setSectionResizeMode(Text, QHeaderView::Stretch);
    m_questions->setColumnWidth(Number, 40);
    m_questions->setColumnWidth(TopicColumn, 120);
    m_questions->setColumnWidth(PictureMark, 40);
    m_questions->setColumnWidth(CheckMark, 24);
    connect(m_questions, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (m_showing || row == m_row)
            return;
        m_row = row;
        showQuestion();
    });
    return m_questions;
}

QLineEdit *BankEditorWindow::addLine(const QString &objectName, const QString &name,
                                     const QString &hint)
{
    auto *line = new QLineEdit(this);
    line->setObjectName(objectName);
    line->setAccessibleName(name);
    hover()->addHint(line, hint);
    auto *validator = new Windows1251Validator(line);
    connect(validator, &Windows1251Validator::refused, this, [this](const QString &characters) {
        say(QStringLiteral("Знаки «%1» не записать в банк: его кодировка Windows-1251 их не "
                           "знает. Замените их.")
                .arg(characters));
    });
    line->setValidator(validator);
    return line;
}

QWidget *BankEditorWindow::buildQuestionPane()
{
    auto *pane = new QWidget(this);
    auto *form = new QFormLayout(pane);
    m_topic = addLine(QStringLiteral("txtTopic"), QStringLiteral("Тема"),
                      QStringLiteral("Тема вопроса, её видно над вопросом"));
    connect(m_topic, &QLineEdit::textEdited, this, [this](const QString &text) {
        editCurrent(QStringLiteral("тема"), Topic, [&](BankQuestion &q) { q.topic = text; });
    });
    form->addRow(QStringLiteral("&Тема:"), m_topic);
    m_question = addLine(QStringLiteral("txtQuestion"), QStringLiteral("Текст вопроса"),
                         QStringLiteral("Текст вопроса; пустой вопрос заканчивает тест"));
    connect(m_question, &QLineEdit::textEdited, this, [this](const QString &text) {
        editCurrent(QStringLiteral("вопрос"), Question,
                    [&](BankQuestion &q) { q.question = text; });
    });
    form->addRow(QStringLiteral("&Вопрос:"), m_question);

    m_right = new QButtonGroup(this);
    for (int k = 0; k < 5; ++k) {
        auto *row = new QHBoxLayout;
        auto *right = new QRadioButton(this);
        right->setObjectName(QStringLiteral("optRight%1").arg(k + 1));
        right->setAccessibleName(QStringLiteral("Ответ %1 верный").arg(k + 1));
        hover()->addHint(right, QStringLiteral("Отметьте верный ответ; он один"));
        m_right->addButton(right, k + 1);
        m_answers[k] =
            addLine(QStringLiteral("txtAnswer%1").arg(k + 1), QStringLiteral("Ответ %1").arg(k + 1),
                    QStringLiteral("Текст ответа %1; при тесте ответы перемешиваются").arg(k + 1));
        connect(m_answers[k], &QLineEdit::textEdited, this, [this, k](const QString &text) {
            editCurrent(QStringLiteral("ответ %1").arg(k + 1), FirstAnswer + k,
                        [&](BankQuestion &q) { q.answers[k] = q.answers[k].left(1) + text; });
        });
        row->addWidget(right);
        row->addWidget(m_answers[k], 1);
        auto *label = new QLabel(QStringLiteral("Ответ &%1:").arg(k + 1), this);
        label->setBuddy(m_answers[k]);
        form->addRow(label, row);
    }
    connect(m_right, &QButtonGroup::idClicked, this, [this](int right) {
        editCurrent(QStringLiteral("верный ответ"), -1, [&](BankQuestion &q) {
            for (int k = 0; k < 5; ++k)
                q.answers[k] = (k + 1 == right ? u'1' : u'0') + q.answerText(k);
            q.good = QString::number(right);
        });
    });
    m_picture = addLine(QStringLiteral("txtPicture"), QStringLiteral("Рисунок"),
                        QStringLiteral("Имя рисунка в папке data/jpg без «.jpg»; пусто — без "
                                       "рисунка"));
    connect(m_picture, &QLineEdit::textEdited, this, [this](const QString &text) {
        editCurrent(QStringLiteral("рисунок"), Picture, [&](BankQuestion &q) { q.picture = text; });
    });
    auto *pictureRow = new QHBoxLayout;
    pictureRow->addWidget(m_picture, 1);
    QPushButton *choose =
        addButton(QStringLiteral("cmdPicture"), QStringLiteral("Выбрать &файл…"),
                  QStringLiteral("Взять картинку из файла: она копируется в папку data/jpg под "
                                 "новым именем"));
    connect(choose, &QPushButton::clicked, this, &BankEditorWindow::choosePicture);
    pictureRow->addWidget(choose);
    auto *pictureLabel = new QLabel(QStringLiteral("&Рисунок:"), this);
    pictureLabel->setBuddy(m_picture);
    form->addRow(pictureLabel, pictureRow);
    m_thumbnail = addLabel(QStringLiteral("imgPicture"), QString());
    m_thumbnail->setAccessibleName(QStringLiteral("Рисунок вопроса"));
    m_thumbnail->setFixedHeight(90);
    form->addRow(m_thumbnail);
    m_checks = addLabel(QStringLiteral("lblChecks"), QString());
    m_checks->setAccessibleName(QStringLiteral("Проверка вопроса"));
    m_checks->setTextFormat(Qt::PlainText);
    m_checks->setWordWrap(true);
    m_checks->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    form->addRow(m_checks);
    pane->setEnabled(false);
    return pane;
}

QPushButton *BankEditorWindow::addButton(const QString &objectName, const QString &text,
                                         const QString &hint)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAccessibleName(QString(text).remove(u'&'));
    hover()->addHint(button, hint);
    return button;
}

QLayout *BankEditorWindow::buildButtons()
{
    auto *rows = new QVBoxLayout;
    auto *tools = new QHBoxLayout;
    auto *row = new QHBoxLayout;
    rows->addLayout(tools);
    rows->addLayout(row);
    const auto add = [&](const char *name, const QString &text, const QString &hint,
                         const std::function<void()> &action, QHBoxLayout *into = nullptr) {
        QPushButton *button = addButton(QString::fromLatin1(name), text, hint);
        connect(button, &QPushButton::clicked, this, action);
        (into ? into : row)->addWidget(button);
        return button;
    };
    m_search = addLine(QStringLiteral("txtSearch"), QStringLiteral("Поиск"),
                       QStringLiteral("Текст для поиска в вопросах и ответах; Enter ищет дальше"));
    m_search->setPlaceholderText(QStringLiteral("Поиск в вопросах и ответах"));
    connect(m_search, &QLineEdit::returnPressed, this, &BankEditorWindow::findNext);
    auto *searchLabel = new QLabel(QStringLiteral("Поиск:"), this);
    searchLabel->setBuddy(m_search);
    tools->addWidget(searchLabel);
    tools->addWidget(m_search, 1);
    add(
        "cmdFind", QStringLiteral("Найти &ещё"), QStringLiteral("Следующий вопрос с этим текстом"),
        [this] { findNext(); }, tools);
    add(
        "cmdPreview", QStringLiteral("&Глазами ученика"),
        QStringLiteral("Показать вопрос так, как его увидит ученик"), [this] { previewAsPupil(); },
        tools);
    add(
        "cmdImport", QStringLiteral("&Импорт…"),
        QStringLiteral("Дописать в банк вопросы из таблицы .csv или текста с ответами A)–E)"),
        [this] { importQuestions(); }, tools);
    add("cmdAdd", QStringLiteral("&Добавить"), QStringLiteral("Новый вопрос после выбранного"),
        [this] { addQuestion(); });
    add("cmdDuplicate", QStringLiteral("&Копия"), QStringLiteral("Копия выбранного вопроса"),
        [this] { duplicateQuestion(); });
    add("cmdDelete", QStringLiteral("Уда&лить"), QStringLiteral("Удалить выбранный вопрос"),
        [this] { deleteQuestion(); });
    add("cmdUp", QStringLiteral("В&ыше"), QStringLiteral("Поднять вопрос на одно место"),
        [this] { moveQuestion(-1); });
    add("cmdDown", QStringLiteral("Ни&же"), QStringLiteral("Опустить вопрос на одно место"),
        [this] { moveQuestion(1); });
    QPushButton *undo =
        add("cmdUndo", QStringLiteral("&Отменить"), QStringLiteral("Отменить последнее изменение"),
            [this] { m_undo->undo(); });
    QPushButton *redo =
        add("cmdRedo", QStringLiteral("&Повторить"), QStringLiteral("Вернуть отменённое изменение"),
            [this] { m_undo->redo(); });
    connect(m_undo, &QUndoStack::canUndoChanged, undo, &QPushButton::setEnabled);
    connect(m_undo, &QUndoStack::canRedoChanged, redo, &QPushButton::setEnabled);
    undo->setEnabled(false);
    redo->setEnabled(false);
    row->addStretch();
    add("cmdSave", QStringLiteral("&Сохранить"),
        QStringLiteral("Записать банк; прежний файл остаётся рядом с окончанием .bak"),
        [this] { save(); });
    QPushButton *close =
        add("cmdClose", QStringLiteral("&Закрыть"),
            QStringLiteral("Вернуться в меню администратора"), [this] { this->close(); });
    setEscapeButton(close);
    return rows;
}

void BankEditorWindow::fillBankList()
{
    SessionState &session = m_context.session;
    readTestCatalogue(session, session.jpgPath(datafiles::TestCatalogueFile));
    struct Listed
    {
        QString file;
        QString name;
        int slot; // in the catalogue, -1 for the course test and the paragraph tests
    };
    QList<Listed> banks;
    QStringList files;
    const auto list = [&](const QString &file, const QString &name, int slot) {
        if (!files.contains(file, Qt::CaseInsensitive))
            banks.append({file, name, slot});
        files << file;
    };
    for (int k = 0; k < SessionState::CatalogueSlots; ++k) {
        if (!session.catalogue.files.at(k).isEmpty())
            list(session.catalogue.files.at(k), session.catalogue.names.at(k), k);
    }
    list(datafiles::CourseBankFile, QStringLiteral("тест по всему курсу"), -1);
    const std::optional<QStringList> paragraphs =
        textfile::readLines(session.jpgPath(datafiles::TestDescriptionFile));
    for (const QString &file : paragraphTestBanks(paragraphs.value_or(QStringList())))
        list(file, QStringLiteral("тест параграфа"), -1);
    m_banks->setRowCount(int(banks.size()));
    for (int r = 0; r < banks.size(); ++r) {
        const Listed &listed = banks.at(r);
        const BankFileRead read = readBankFile(session.jpgPath(listed.file));
        QString check = read.failure;
        if (read.isRead()) {
            const QList<BankProblem> problems = checkBankDocument(read.document);
            const bool playable = std::none_of(problems.cbegin(), problems.cend(),
                                               [](const BankProblem &p) { return p.fatal; });
            check = playable ? (problems.isEmpty() ? QStringLiteral("в порядке")
                                                   : QStringLiteral("есть замечания"))
                             : QStringLiteral("есть ошибки");
        }
        if (listed.file == m_fileName && !m_undo->isClean())
            check += QStringLiteral(" (не сохранён)");
        setCell(m_banks, r, BankFile, listed.file);
        m_banks->item(r, BankFile)->setData(Qt::UserRole, listed.slot);
        setCell(m_banks, r, BankName, read.isRead() ? read.document.name : listed.name);
        setCell(m_banks, r, BankCount,
                read.isRead() ? QString::number(read.document.questions.size()) : QString());
        setCell(m_banks, r, BankCheck, check);
        if (listed.file == m_fileName)
            m_banks->setCurrentCell(r, BankFile);
    }
    m_banks->resizeColumnToContents(BankFile);
}

bool BankEditorWindow::mayLeaveBank()
{
    return m_undo->isClean() ||
           ConfirmWindow::ask(m_context,
                              QStringLiteral("В банке «%1» есть несохранённые изменения. "
                                             "Оставить их несохранёнными?")
                                  .arg(m_fileName));
}

bool BankEditorWindow::openBank(const QString &fileName)
{
    if (!mayLeaveBank())
        return false;
    const BankFileRead read = readBankFile(m_context.session.jpgPath(fileName));
    if (!read.isRead()) {
        say(QStringLiteral("Банк «%1» не открыт: %2.").arg(fileName, read.failure));
        return false;
    }
    m_fileName = fileName;
    m_document = read.document;
    m_undo->clear();
    m_row = m_document.questions.isEmpty() ? -1 : 0;
    showQuestions();
    showQuestion();
    m_topic->parentWidget()->setEnabled(true);
    say(read.writesBackTheSame
            ? QStringLiteral("Открыт банк «%1», вопросов: %2.")
                  .arg(fileName)
                  .arg(m_document.questions.size())
            : QStringLiteral("Открыт банк «%1». Он записан не так, как его пишет программа "
                             "(лишние ключи, обрезанный вопрос или другой порядок строк): при "
                             "сохранении он будет записан заново, а прежний файл останется "
                             "рядом с окончанием .bak.")
                  .arg(fileName));
    fillBankList();
    return true;
}

void BankEditorWindow::openAt(const QString &fileName, int record, QWidget *returnTo)
{
    m_returnTo = returnTo;
    if (openBank(fileName) && record >= 1 && record <= m_document.questions.size())
        m_questions->setCurrentCell(record - 1, Text);
}

void BankEditorWindow::showQuestions()
{
    m_problems = checkBankDocument(m_document);
    QList<int> marked(m_document.questions.size() + 1, 0);
    for (const BankProblem &problem : std::as_const(m_problems)) {
        if (problem.question > 0 && problem.question <= m_document.questions.size())
            marked[problem.question - 1] = 1;
    }
    m_showing = true;
    m_questions->setRowCount(int(m_document.questions.size()));
    for (int r = 0; r < m_document.questions.size(); ++r) {
        const BankQuestion &question = m_document.questions.at(r);
        setCell(m_questions, r, Number, QString::number(r + 1));
        setCell(m_questions, r, TopicColumn, question.topic);
        setCell(m_questions, r, Text, bankeditor::startOf(question.question));
        setCell(m_questions, r, PictureMark,
                question.picture.isEmpty() ? QString() : QStringLiteral("рис."));
        setCell(m_questions, r, CheckMark, marked[r] ? QStringLiteral("!") : QString());
    }
    if (m_row >= 0)
        m_questions->setCurrentCell(m_row, Text);
    m_showing = false;
    showChecks();
}

void BankEditorWindow::showQuestion()
{
    m_showing = true;
    const BankQuestion shown = m_row >= 0 && m_row < m_document.questions.size()
                                   ? m_document.questions.at(m_row)
                                   : BankQuestion();
    const auto show = [](QLineEdit *line, const QString &text) {
        if (line->text() != text)
            line->setText(text);
    };
    show(m_topic, shown.topic);
    show(m_question, shown.question);
    for (int k = 0; k < 5; ++k)
        show(m_answers[k], shown.answerText(k));
    show(m_picture, shown.picture);
    showPicture(shown.picture);
    const int right = shown.rightAnswer();
    m_right->setExclusive(false);
    for (QAbstractButton *button : m_right->buttons())
        button->setChecked(m_right->id(button) == right);
    m_right->setExclusive(true);
    m_showing = false;
    showChecks();
}

void BankEditorWindow::showChecks()
{
    QStringList lines;
    bool playable = true;
    for (const BankProblem &problem : std::as_const(m_problems)) {
        playable = playable && !problem.fatal;
        if (problem.question == m_row + 1 || problem.question == 0)
            lines << (problem.fatal ? QStringLiteral("Ошибка: ") : QStringLiteral("Замечание: ")) +
                         problem.describe();
    }
    if (lines.isEmpty())
        lines << QStringLiteral("Проверка не нашла в этом вопросе ничего.");
    if (!playable)
        lines << QStringLiteral("С ошибками банк сохранить можно, но тест по нему не начнётся.");
    m_checks->setText(lines.join(u'\n'));
}

void BankEditorWindow::say(const QString &text)
{
    m_status->setText(text);
}

void BankEditorWindow::change(const QString &what, const QList<BankQuestion> &questions, int row,
                              int merge)
{
    m_undo->push(new BankEdit(
        what, m_document.questions, m_row, questions, row, merge,
        [this](const QList<BankQuestion> &list, int selected) { apply(list, selected); }));
}

void BankEditorWindow::editCurrent(const QString &what, int field,
                                   const std::function<void(BankQuestion &)> &edit)
{
    if (m_showing || m_row < 0 || m_row >= m_document.questions.size())
        return;
    QList<BankQuestion> questions = m_document.questions;
    edit(questions[m_row]);
    change(what, questions, m_row, field);
}

void BankEditorWindow::apply(const QList<BankQuestion> &questions, int row)
{
    m_document.questions = questions;
    m_row = qMin(row, int(questions.size()) - 1);
    showQuestions();
    showQuestion();
}

void BankEditorWindow::importQuestions()
{
    if (m_fileName.isEmpty())
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Импорт вопросов"), QString(),
        QStringLiteral("Таблица или текст (*.csv *.txt);;Все файлы (*)"));
    if (!path.isEmpty())
        importFile(path);
}

void BankEditorWindow::importFile(const QString &path)
{
    const QString file = QFileInfo(path).fileName();
    const textfile::FileRead read = textfile::readFile(path);
    if (!read.isRead()) {
        say(QStringLiteral("Файл «%1» не прочитан: %2.").arg(file, read.problem()));
        return;
    }
    bankimport::Result result = bankimport::fromFile(path, read.bytes);
    BankDocument extended = m_document;
    bankimport::appendTo(extended, result, QuestionBank::MaxTestQuestions);
    if (!bankeditor::confirmImport(this, file, result))
        return;
    change(QStringLiteral("импорт из %1").arg(file), extended.questions,
           int(m_document.questions.size()));
    say(QStringLiteral("Из «%1» взято вопросов: %2, не взято: %3.")
            .arg(file)
            .arg(result.taken.size())
            .arg(result.refused.size()));
}

void BankEditorWindow::showPicture(const QString &picture)
{
    const QImage image =
        picture.isEmpty() ? QImage()
                          : bankeditor::boundedImage(m_context.session.jpgPath(picture + ".jpg"));
    if (image.isNull()) {
        m_thumbnail->setPixmap(QPixmap());
        m_thumbnail->setText(picture.isEmpty() ? QStringLiteral("Без рисунка.")
                                               : QStringLiteral("Рисунка «%1.jpg» в папке data/jpg "
                                                                "нет или он не читается.")
                                                     .arg(picture));
        return;
    }
    m_thumbnail->setPixmap(
        QPixmap::fromImage(image.scaled(160, 90, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void BankEditorWindow::choosePicture()
{
    if (m_row < 0)
        return;
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Рисунок к вопросу"), QString(),
        QStringLiteral("Картинки (*.jpg *.jpeg *.png *.bmp *.gif);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    const QImage image = bankeditor::boundedImage(path);
    if (image.isNull()) {
        say(QStringLiteral("Файл «%1» не картинка или его нельзя прочитать.")
                .arg(QFileInfo(path).fileName()));
        return;
    }
    QString name;
    for (int n = 1; name.isEmpty(); ++n) {
        if (!QFileInfo::exists(m_context.session.jpgPath(QStringLiteral("ris_%1.jpg").arg(n))))
            name = QStringLiteral("ris_%1").arg(n);
    }
    // The test opens "<name>.jpg": any other format is stored as JPEG.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 90) ||
        !textfile::replaceFile(m_context.session.jpgPath(name + ".jpg"), bytes)) {
        say(QStringLiteral("Рисунок не записан в папку data/jpg: её нельзя записать."));
        return;
    }
    editCurrent(QStringLiteral("рисунок"), -1, [&](BankQuestion &q) { q.picture = name; });
    say(QStringLiteral("Рисунок записан как «%1.jpg» в папку data/jpg.").arg(name));
}

void BankEditorWindow::findNext()
{
    const QString text = m_search->text().trimmed();
    const int count = int(m_document.questions.size());
    for (int step = 1; !text.isEmpty() && step <= count; ++step) {
        const int r = (m_row + step) % count;
        const BankQuestion &question = m_document.questions.at(r);
        bool found = question.question.contains(text, Qt::CaseInsensitive);
        for (int k = 0; k < 5 && !found; ++k)
            found = question.answerText(k).contains(text, Qt::CaseInsensitive);
        if (found) {
            m_questions->setCurrentCell(r, Text);
            say(QStringLiteral("«%1» найдено в вопросе %2.").arg(text).arg(r + 1));
            return;
        }
    }
    say(QStringLiteral("«%1» нет ни в одном вопросе и ответе.").arg(text));
}

void BankEditorWindow::previewAsPupil()
{
    if (m_row < 0)
        return;
    const std::optional<QString> answerTime =
        AnswerClock::readSetting(m_context.session.jpgPath(datafiles::AnswerTimeFile));
    QuestionPreview preview(m_context, m_document.questions.at(m_row), m_row + 1,
                            int(m_document.questions.size()), answerTime, this);
    preview.exec();
}

void BankEditorWindow::addTest()
{
    if (!mayLeaveBank())
        return;
    SessionState &session = m_context.session;
    const QString catalogue = session.jpgPath(datafiles::TestCatalogueFile);
    readTestCatalogue(session, catalogue);
    const int slot = freeCatalogueSlot(session);
    if (slot < 0) {
        say(QStringLiteral("В каталоге нет свободного места: места 15–20 заняты. Уберите из "
                           "каталога ненужный тест."));
        return;
    }
    const std::optional<bankeditor::NewTest> test = bankeditor::askNewTest(this, slot);
    if (!test)
        return;
    if (!catalogueBankFor(session, test->name).isEmpty()) {
        say(QStringLiteral("Тест «%1» в каталоге уже есть: результаты хранятся по названию, "
                           "поэтому оно должно быть новым.")
                .arg(test->name));
        return;
    }
    // Results are kept per slot: grades of a test that once had this slot must not pass for
    // grades of the new one.
    const QString base = session.jpgPath(datafiles::UserBaseFile);
    const UserBase::Access cleared = clearResultSlot(session, base, slot);
    if (cleared != UserBase::Access::Done && cleared != UserBase::Access::Declined &&
        cleared != UserBase::Access::Missing) {
        say(QStringLiteral("Тест не добавлен: оценки прежнего теста места %1 не стёрты из списка "
                           "пользователей. %2")
                .arg(slot + 1)
                .arg(UserBase::messageFor(cleared, base)));
        return;
    }
    const QString file = newBankFileName(session);
    BankDocument bank = BankDocument::named(test->name);
    bank.preamble.first() = test->description;
    if (!saveBankFile(session.jpgPath(file), bank, QByteArray())) {
        say(QStringLiteral("Банк «%1» не создан: папку data/jpg нельзя записать.").arg(file));
        return;
    }
    if (!writeCatalogueSlot(catalogue, slot, test->description, test->name, file)) {
        say(QStringLiteral("Банк «%1» создан, но каталог тестов (%2) не записан: его нельзя "
                           "прочитать или записать.")
                .arg(file, datafiles::TestCatalogueFile));
        return;
    }
    fillBankList();
    openBank(file);
    say(QStringLiteral("Тест «%1» записан на место %2 каталога, его банк — «%3». Добавьте "
                       "вопросы и сохраните банк.")
            .arg(test->name)
            .arg(slot + 1)
            .arg(file));
}

void BankEditorWindow::removeTest()
{
    const int row = m_banks->currentRow();
    if (row < 0)
        return;
    const int slot = m_banks->item(row, BankFile)->data(Qt::UserRole).toInt();
    const QString name = m_banks->item(row, BankName)->text();
    if (slot < FirstFreeCatalogueSlot) {
        say(QStringLiteral("Тесты мест 1–14, тест по курсу и тесты параграфов — тесты "
                           "учебника; убрать из каталога можно только тесты мест 15–20."));
        return;
    }
    if (!ConfirmWindow::ask(m_context, QStringLiteral("Убрать тест «%1» из выбора тестов? Файл "
                                                      "его банка останется в папке data/jpg.")
                                           .arg(name)))
        return;
    if (!writeCatalogueSlot(m_context.session.jpgPath(datafiles::TestCatalogueFile), slot,
                            QStringLiteral("резерв"), QString(), QString())) {
        say(QStringLiteral("Каталог тестов (%1) не записан; тест остался в выборе.")
                .arg(datafiles::TestCatalogueFile));
        return;
    }
    fillBankList();
    say(QStringLiteral("Тест «%1» убран из каталога.").arg(name));
}

void BankEditorWindow::addQuestion()
{
    if (m_fileName.isEmpty())
        return;
    QList<BankQuestion> questions = m_document.questions;
    const QString topic = m_row >= 0 ? questions.at(m_row).topic : QString();
    const int at = m_row + 1;
    questions.insert(
        at, BankQuestion::withAnswers(topic, QStringLiteral("Новый вопрос"), {}, 1, QString()));
    change(QStringLiteral("новый вопрос"), questions, at);
    m_question->setFocus();
    m_question->selectAll();
}

void BankEditorWindow::duplicateQuestion()
{
    if (m_row < 0)
        return;
    QList<BankQuestion> questions = m_document.questions;
    BankQuestion copy = questions.at(m_row);
    copy.line = 0;
    questions.insert(m_row + 1, copy);
    change(QStringLiteral("копия вопроса"), questions, m_row + 1);
}

void BankEditorWindow::deleteQuestion()
{
    if (m_row < 0 ||
        !ConfirmWindow::ask(m_context,
                            QStringLiteral("Удалить вопрос %1 «%2»?")
                                .arg(m_row + 1)
                                .arg(bankeditor::startOf(m_document.questions.at(m_row).question))))
        return;
    QList<BankQuestion> questions = m_document.questions;
    questions.removeAt(m_row);
    change(QStringLiteral("удаление вопроса"), questions, qMin(m_row, int(questions.size()) - 1));
}

void BankEditorWindow::moveQuestion(int step)
{
    const int to = m_row + step;
    if (m_row < 0 || to < 0 || to >= m_document.questions.size())
        return;
    QList<BankQuestion> questions = m_document.questions;
    questions.move(m_row, to);
    change(QStringLiteral("перенос вопроса"), questions, to);
}

bool BankEditorWindow::bankInUse() const
{
    const SessionState &session = m_context.session;
    const TestWindow *test = m_context.windows.find<TestWindow>();
    const bool takenHere =
        test && test->run() &&
        test->run()->bank().trimmed().compare(m_fileName, Qt::CaseInsensitive) == 0;
    // A pupil's program beside this one keeps its running test in the same data folder.
    return takenHere || runningTestBank(session).compare(m_fileName, Qt::CaseInsensitive) == 0;
}

bool BankEditorWindow::save()
{
    if (m_fileName.isEmpty())
        return false;
    if (bankInUse()) {
        say(QStringLiteral("Банк «%1» не записан: по нему сейчас идёт тест на этом компьютере. "
                           "Сохраните его после теста.")
                .arg(m_fileName));
        return false;
    }
    const QString path = m_context.session.jpgPath(m_fileName);
    const textfile::FileRead current = textfile::readFile(path);
    if (current.status == textfile::FileRead::Status::Unreadable ||
        !saveBankFile(path, m_document, current.bytes)) {
        say(QStringLiteral("Банк «%1» не записан: файл, его копию .bak или папку нельзя "
                           "записать; файл на диске остался прежним.")
                .arg(m_fileName));
        return false;
    }
    m_undo->setClean();
    m_context.cues.play(Cue::Pick);
    say(QStringLiteral("Банк «%1» записан; прежний файл сохранён как «%2».")
            .arg(m_fileName, QFileInfo(bankBackupPath(path)).fileName()));
    fillBankList();
    return true;
}

void BankEditorWindow::closeEvent(QCloseEvent *event)
{
    if (isVisible() && !mayLeaveBank()) {
        event->ignore();
        return;
    }
    m_context.cues.play(Cue::Close);
    event->accept();
    if (!isVisible())
        return;
    if (m_returnTo)
        WindowHub::present(m_returnTo);
    else if (QWidget *boss = m_context.windows.menu(WindowHub::Menu::Admin))
        boss->show();
    else
        m_context.windows.openMenu(WindowHub::Menu::Main);
}
