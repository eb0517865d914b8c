#pragma once

#include "network/netwindow.h"
#include "network/pupillive.h"
#include "network/watchflow.h"

class AnswerGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

// The choice of the pupil to watch: the computers that have a session file.
class WatchChoiceWindow : public NetWindow
{
    Q_OBJECT
public:
    explicit WatchChoiceWindow(AppContext &context);

    // Computer number of a list item: the two characters after "№".
    static int computerOf(const QString &item);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void fill();
    void addComputer(int computer);
    void accept();

    QComboBox *m_list = nullptr;
    int m_generation = 0;
};

// Follows one pupil's test answer by answer from the pupil's temp1.ini: its stamp and that of
// curr_test.ini are looked at twice a second and the files read when they changed, off the
// user-interface thread. A look that does not come back is told as a lost connection.
class WatchWindow : public NetWindow
{
    Q_OBJECT
public:
    static constexpr int RefreshMs = 500;

    explicit WatchWindow(AppContext &context);

    // Starts following the pupil at that computer.
    void watch(int computer);
    const WatchFlow &flow() const { return m_flow; }

Q_SIGNALS:
    // The pupil's file was read afresh and what it holds is on screen.
    void refreshed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void refresh();
    void received(const WatchLook &look);
    void showSlot();
    void showAnswers(const WatchView &view);
    void goNext();
    void goPrevious();
    void followAgain();
    void blink();
    void closePicture();
    void setNoticeLit(bool lit);

    WatchFlow m_flow;
    WatchedFiles m_files;
    bool m_reading = false;
    qint64 m_readingSince = 0;
    QGroupBox *m_frame2 = nullptr;
    QLabel *m_question = nullptr;
    AnswerGroup *m_answers = nullptr;
    QLabel *m_test = nullptr;
    QLabel *m_topic = nullptr;
    QLabel *m_watching = nullptr;
    QLabel *m_rightAnswers = nullptr;
    QLabel *m_grade = nullptr;
    QLabel *m_notice = nullptr;
    QPushButton *m_prev = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_picture = nullptr;
    QPushButton *m_refresh = nullptr;
    QTimer *m_timer1 = nullptr;
    QTimer *m_timer2 = nullptr;
};
