#pragma once

#include "network/netwindow.h"
#include "network/setupwizard.h"

class QComboBox;
class QLabel;
class QLineEdit;

#include <optional>

// Step 1 of the classroom setup: how many pupil computers there are.
class SetupComputerCountStep : public NetWindow
{
    Q_OBJECT
public:
    explicit SetupComputerCountStep(AppContext &context);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void accept();
    void cancel();

    QLineEdit *m_count = nullptr;
    QLabel *m_message = nullptr;
};

// Step 2: for every computer in turn, locate the program or skip the computer.
class SetupComputerListStep : public NetWindow
{
    Q_OBJECT
public:
    explicit SetupComputerListStep(AppContext &context);
    // Starts the run over `count` computers; step 1 calls it with the count typed there.
    void start(int count);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void locate();
    void skip();
    void moved(bool finished);
    void cancel();

    SetupWizard m_wizard;
    QLabel *m_question = nullptr;
};

// Step 3: the program file on one pupil computer, chosen in a file dialog (modal).
class SetupProgramFileStep : public NetWindow
{
    Q_OBJECT
public:
    SetupProgramFileStep(AppContext &context, int computer);

    // Asks for the program file of the computer; nothing when the teacher cancelled.
    static std::optional<QString> locate(AppContext &context, int computer);
    // Tests replace the file dialog; an empty answer is a cancelled dialog.
    static std::function<QString(const QString &start)> chooseFile;

private:
    void choose();

    int m_computer;
    QLineEdit *m_path = nullptr;
    QLabel *m_message = nullptr;
    QString m_tried; // the folder of a wrong file chosen in this window
    std::optional<QString> m_chosen;
};

// "… could not be written": the message after a failed write of net.ini.
QString netConfigNotWrittenText(const QString &netConfigFile);

// Changes one computer or starts the full setup again.
class SetupChangeWindow : public NetWindow
{
    Q_OBJECT
public:
    explicit SetupChangeWindow(AppContext &context);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    int selectedComputer() const;
    void showPath();
    void change();

    QComboBox *m_computers = nullptr;
    QLabel *m_way = nullptr;
    bool m_fullSetup = false;
};
