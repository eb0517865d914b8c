#pragma once

#include "testing/bankdocument.h"
#include "ui/skinnedwindow.h"

#include <QPointer>

#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QUndoStack;

// The administrator's editor of the catalogue's question banks: the banks with their check,
// the questions of the open bank, and the selected question to edit. Every edit can be undone;
// the check runs with the test's own loader as the bank is edited.
class BankEditorWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit BankEditorWindow(AppContext &context);

    // Opens the bank of data/jpg, asking first when the open one has unsaved changes; false
    // when it stays closed.
    bool openBank(const QString &fileName);
    // Opens the bank at its record (1-based, in file order) for a window that waits hidden until
    // the editor closes and then comes back.
    void openAt(const QString &fileName, int record, QWidget *returnTo);
    // Writes the open bank, keeping the file it replaces as a backup; false when it was not
    // written (the message says why).
    bool save();
    // Reads the questions of a CSV or Aiken file and, after showing what it would take, appends
    // them to the open bank as one edit.
    void importFile(const QString &path);

    const BankDocument &document() const { return m_document; }
    QUndoStack *undoStack() const { return m_undo; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum Field { Topic = 1, Question, FirstAnswer, Picture = FirstAnswer + 5 };

    QWidget *buildBankList();
    QWidget *buildQuestionList();
    QWidget *buildQuestionPane();
    QLayout *buildButtons();
    QLineEdit *addLine(const QString &objectName, const QString &name, const QString &hint);
    QPushButton *addButton(const QString &objectName, const QString &text, const QString &hint);

    void orderTabs();
    void fillBankList();
    void showQuestions();
    void showQuestion();
    void showChecks();
    void say(const QString &text);

    // Records one edit of the question list for undo and applies it.
    void change(const QString &what, const QList<BankQuestion> &questions, int row, int merge = -1);
    void editCurrent(const QString &what, int field,
                     const std::function<void(BankQuestion &)> &edit);
    void apply(const QList<BankQuestion> &questions, int row);

    void importQuestions();
    void choosePicture();
    void showPicture(const QString &picture);
    void findNext();
    void previewAsPupil();
    void addTest();
    void removeTest();
    void addQuestion();
    void duplicateQuestion();
    void deleteQuestion();
    void moveQuestion(int step);
    bool mayLeaveBank();
    bool bankInUse() const;

    BankDocument m_document;
    QString m_fileName;
    QList<BankProblem> m_problems;
    int m_row = -1;
    bool m_showing = false;
    QPointer<QWidget> m_returnTo;

    QUndoStack *m_undo = nullptr;
    QTableWidget *m_banks = nullptr;
    QTableWidget *m_questions = nullptr;
    QLineEdit *m_topic = nullptr;
    QLineEdit *m_question = nullptr;
    std::array<QLineEdit *, 5> m_answers{};
    QButtonGroup *m_right = nullptr;
    QLineEdit *m_picture = nullptr;
    QLabel *m_thumbnail = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_checks = nullptr;
    QLabel *m_status = nullptr;
};
