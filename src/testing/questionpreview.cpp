#include "testing/questionpreview.h"

#include "core/sessionstate.h"
#include "reading/pictureviewer.h"
#include "reading/picturezoom.h"
#include "testing/answerclock.h"
#include "testing/bankdocument.h"
#include "testing/testface.h"
#include "testing/testrun.h"
#include "testing/testsession.h"
#include "ui/answergroup.h"
#include "ui/hovergroup.h"
#include "ui/skinnedwindow.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
// The size the test window opens at, before it grows to show its texts.
constexpr QSize TestWindowStart(640, 520);
} // namespace

QuestionPreview::QuestionPreview(AppContext &context, const BankQuestion &question, int number,
                                 int count, const std::optional<QString> &answerTime,
                                 QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("dlgPreview"));
    setWindowTitle(QStringLiteral("Вопрос %1 глазами ученика").arg(number));
    m_screen = new QWidget;
    m_screen->setObjectName(QStringLiteral("pupilScreen"));
    m_screen->setAccessibleName(QStringLiteral("Экран ученика 1024×768"));
    m_screen->setFixedSize(PupilScreen);
    m_screen->setAutoFillBackground(true);
    QPalette desk = m_screen->palette();
    desk.setColor(QPalette::Window, Qt::black);
    m_screen->setPalette(desk);

    m_window = new QWidget(m_screen);
    m_window->setObjectName(QStringLiteral("fullTST"));
    useSkinColours(m_window);
    auto *hints = new HoverGroup(m_window);
    QPushButton *close =
        titleButton(QStringLiteral("X"), QStringLiteral("Прервать тест"), m_window);
    close->setObjectName(QStringLiteral("btnUNLOAD"));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    m_face = new TestFace(hints, close, m_window);
    auto *windowLayout = new QVBoxLayout(m_window);
    windowLayout->addWidget(m_face);
    connect(m_face->answers(), &AnswerGroup::chosen, m_face, &TestFace::markChosen);
    showQuestion(question, number, count, answerTime);

    if (!question.picture.isEmpty()) {
        auto *viewer = new PictureViewer(context);
        viewer->setParent(m_screen, Qt::Widget);
        viewer->showPicture(question.picture);
        viewer->show();
        m_viewer = viewer;
    }
    placeOnScreen();

    auto *scroll = new QScrollArea(this);
    scroll->setWidget(m_screen);
    auto *note = plainLabel(QStringLiteral("Ответы ученик увидит в случайном порядке, вопрос — "
                                           "под номером по порядку, в каком он ему выпадет."),
                            this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *back = buttons->button(QDialogButtonBox::Close);
    back->setText(QStringLiteral("Закрыть"));
    back->setAccessibleName(back->text());
    back->setAccessibleDescription(QStringLiteral("Вернуться в редактор"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *column = new QVBoxLayout(this);
    column->addWidget(scroll, 1);
    column->addWidget(note);
    column->addWidget(buttons);
    // On a screen no larger than the pupil's, the preview takes the whole screen and scrolls.
    const QRect area = parent && parent->screen() ? parent->screen()->availableGeometry() : QRect();
    const QSize wanted = PupilScreen + QSize(40, 100);
    if (area.isValid() && (wanted.width() > area.width() || wanted.height() > area.height())) {
        // Room for the window manager's frame, until the maximised state takes.
        resize(wanted.boundedTo(area.size() - QSize(16, 48)));
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        resize(wanted);
    }
    m_face->focusQuestion();
}

void QuestionPreview::showQuestion(const BankQuestion &question, int number, int count,
                                   const std::optional<QString> &answerTime)
{
    std::array<QString, 5> answers;
    for (int k = 0; k < 5; ++k)
        answers[k] = question.answerText(k);
    m_face->showQuestion(question.topic, question.question, answers,
                         TestSession::frameCaption(number, count));
    m_face->showProgress(number, count, TestRun::Pauses);
    // The test ticks the first answer as each question appears.
    m_face->markChosen(1);
    AnswerClock clock;
    clock.reset(answerTime);
    m_face->showClock(clock.visible(), clock.text());
}

// As on the pupil's screen: the test window opens at its first size, grows to show its texts and
// stands in the middle; the viewer then takes its place beside it.
void QuestionPreview::placeOnScreen()
{
    const QRect screen(QPoint(), PupilScreen);
    m_window->resize(TestWindowStart);
    m_window->resize(fittedSize(m_window, screen));
    QRect window(QPoint(), m_window->size());
    window.moveCenter(screen.center());
    m_window->move(window.topLeft());
    if (!m_viewer)
        return;
    const QGroupBox *kept = m_face->questionFrame();
    const int keptHeight = kept->mapTo(m_window, QPoint(0, kept->height())).y();
    const ViewerPlacement place =
        ViewerPlacement::compute(window, m_viewer->size(), screen, keptHeight);
    m_window->move(place.question.topLeft());
    m_viewer->move(place.viewer);
}
