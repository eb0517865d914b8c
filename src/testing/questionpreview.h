#pragma once

#include <QDialog>

#include <optional>

struct AppContext;
struct BankQuestion;
class TestFace;

// A question of the bank editor as a pupil sees it on a screen of 1024×768: the test window's
// own face, at the size and place the test window takes on that screen, and the question's
// picture in the picture viewer, where and as large as it opens beside the question.
class QuestionPreview : public QDialog
{
    Q_OBJECT
public:
    static constexpr QSize PupilScreen{1024, 768};

    // number of count: the question's place in the bank; answerTime: the first line of the
    // answer-time file, as the test reads it.
    QuestionPreview(AppContext &context, const BankQuestion &question, int number, int count,
                    const std::optional<QString> &answerTime, QWidget *parent);

    // The test window and the picture viewer as drawn on the pupil's screen (no viewer for a
    // question without picture).
    QWidget *testWindow() const { return m_window; }
    QWidget *pictureViewer() const { return m_viewer; }

private:
    void showQuestion(const BankQuestion &question, int number, int count,
                      const std::optional<QString> &answerTime);
    void placeOnScreen();

    QWidget *m_screen = nullptr;
    QWidget *m_window = nullptr;
    TestFace *m_face = nullptr;
    QWidget *m_viewer = nullptr;
};
