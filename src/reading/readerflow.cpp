#include "reading/readerflow.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "reading/paragraphrecord.h"
#include "reading/readingorder.h"
#include "users/userbase.h"

const QString ReaderFlow::OutlineMissingText = QStringLiteral(
    "Не удалось прочитать содержание курса (файл data\\soderjanie.txt). Чтение курса "
    "невозможно, программа возвращается в главное меню.");
const QString ReaderFlow::OutlineEmptyText = QStringLiteral(
    "В содержании курса (файл data\\soderjanie.txt) нет ни одного параграфа. Чтение курса "
    "невозможно, программа возвращается в главное меню.");
const QString ReaderFlow::DescriptionUnusableText = QStringLiteral(
    "Не удалось прочитать описание параграфов (файл data\\jpg\\14_13.jpg отсутствует или "
    "поврежден). Вопросы к параграфам показать невозможно, программа возвращается в главное "
    "меню.");

ReaderFlow::ReaderFlow(SessionState &session, QObject *parent) : QObject(parent), m_session(session)
{
}

QString ReaderFlow::textPage(const QString &title) const
{
    return m_session.dataPath(QStringLiteral("htm/") + title.trimmed() + QStringLiteral(".htm"));
}

QString ReaderFlow::questionPage(const QString &title) const
{
    return m_session.dataPath(QStringLiteral("htm/qstn/") + title.trimmed() +
                              QStringLiteral(".htm"));
}

void ReaderFlow::load(const QString &paragraph)
{
    m_paragraph = paragraph;
    m_previousEnabled = m_nextEnabled = true;
    m_hiddenForTest = false;
    m_questionsShown = false;
    updateButtons();
}

void ReaderFlow::openParagraph()
{
    showParagraphForMode();
}

void ReaderFlow::showParagraphForMode()
{
    if (!paragraphs::hasNoQuestions(m_paragraph) && m_session.mode == SessionMode::Control) {
        m_questionsShown = false;
        toggleQuestions();
    } else {
        showText();
    }
}

void ReaderFlow::stepForward()
{
    Q_EMIT pageTurned();
    // The learning mode shows every paragraph's questions before it moves on, the last
    // paragraph's too.
    if (!paragraphs::hasNoQuestions(m_paragraph) && !m_questionsShown &&
        m_session.mode == SessionMode::Learning) {
        m_nextEnabled = m_previousEnabled = true;
        toggleQuestions();
        Q_EMIT pageTurned();
        return;
    }
    step(paragraphs::Last, &ReadingOrder::next, m_nextEnabled);
}

void ReaderFlow::stepBack()
{
    Q_EMIT pageTurned();
    step(paragraphs::First, &ReadingOrder::previous, m_previousEnabled);
}

// At the end of the course the button towards it goes out; elsewhere the neighbour shows.
void ReaderFlow::step(const QString &end, Neighbour neighbour, bool &towardsEnabled)
{
    if (m_paragraph == end) {
        towardsEnabled = false;
        Q_EMIT buttonsChanged();
        return;
    }
    m_nextEnabled = m_previousEnabled = true;
    Q_EMIT buttonsChanged();
    const std::optional<ReadingOrder> order =
        ReadingOrder::load(m_session.dataPath(datafiles::OutlineFile));
    if (!order) {
        Q_EMIT failed(OutlineMissingText);
        return;
    }
    const QString paragraph = ((*order).*neighbour)(m_paragraph);
    if (!paragraph.isEmpty()) {
        m_paragraph = paragraph;
        showParagraphForMode();
    }
    Q_EMIT pageTurned();
}

bool ReaderFlow::setBookmark()
{
    const QString baseFile = m_session.jpgPath(datafiles::UserBaseFile);
    const QString previous = m_session.user.bookmark;
    m_session.user.bookmark = m_paragraph;
    const UserBase::Access access = renewUser(m_session, baseFile);
    if (access != UserBase::Access::Done) {
        // The bookmark stays where the base has it.
        m_session.user.bookmark = previous;
        m_bookmarkProblem =
            QStringLiteral("Закладка не положена. ") +
            (access == UserBase::Access::Declined
                 ? QStringLiteral("Вашей записи нет в списке пользователей (файл %1).")
                       .arg(QStringLiteral("data/jpg/") + datafiles::UserBaseFile)
                 : UserBase::messageFor(access, baseFile));
        return false;
    }
    m_goToBookmarkEnabled = !m_session.user.bookmark.isEmpty();
    Q_EMIT buttonsChanged();
    return true;
}

void ReaderFlow::goToBookmark()
{
    if (m_session.user.bookmark.isEmpty())
        return;
    m_paragraph = m_session.user.bookmark;
    showText();
}

void ReaderFlow::toggleQuestions()
{
    if (paragraphs::hasNoQuestions(m_paragraph)) {
        updateButtons();
        return;
    }
    if (m_questionsShown) {
        showText();
        return;
    }
    const ParagraphRecord record = readParagraphRecord(m_session, m_paragraph);
    if (record.lookup == ParagraphRecord::Lookup::Unusable) {
        Q_EMIT failed(DescriptionUnusableText);
        return;
    }
    showQuestions();
    // Only the paragraph's own test: an empty "test" value never offers an earlier one.
    if (record.hasTest())
        offerTest(record.test);
}

void ReaderFlow::offerTest(const QString &bank)
{
    if (!askTestChoice)
        return;
    if (askTestChoice() == TestChoice::Test && startTest && startTest(bank))
        m_hiddenForTest = true;
}

// The question flag always tells which of the paragraph's two pages is on screen.
void ReaderFlow::showText()
{
    m_questionsShown = false;
    show(textPage(m_paragraph));
}

void ReaderFlow::showQuestions()
{
    m_questionsShown = true;
    show(questionPage(m_paragraph));
}

void ReaderFlow::show(const QString &path)
{
    m_shownPage = path;
    updateButtons();
    Q_EMIT pageShown(path);
}

void ReaderFlow::updateButtons()
{
    const bool withQuestions = !paragraphs::hasNoQuestions(m_paragraph);
    m_testEnabled = withQuestions;
    m_testVisible = m_session.mode == SessionMode::Learning && withQuestions;
    m_goToBookmarkEnabled = !m_session.user.bookmark.isEmpty();
    Q_EMIT buttonsChanged();
}
