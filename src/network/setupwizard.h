#pragma once

#include "network/classroom.h"

#include <QString>
#include <QStringList>

// The setup of the classroom: how many pupil computers there are, and for each one the
// program file chosen in its shared folder.
namespace netsetup {

enum class CountAnswer {
    Accepted,
    Zero,    // "У вас что 0 компьютеров?"
    TooMany, // "Ладно врать-то 50 компьютеров у них!"
    Ignored  // a negative number: nothing happens
};
struct CountCheck
{
    CountAnswer answer = CountAnswer::Ignored;
    int count = 0;
};
inline const QString ZeroText = QStringLiteral("У вас что 0 компьютеров?");
inline const QString TooManyText = QStringLiteral("Ладно врать-то 50 компьютеров у них!");

// The count typed in step 1: its leading number, cut to a whole number ("12abc" is 12, "7.9"
// is 7); less than one computer is zero, 50 and more is too many.
CountCheck checkCount(const QString &text);

// The file name of this program as it lies in this computer's program folder.
QString programFileName();
// A chosen file is this program: longer than 12 characters, and named "Тарвел" (a Linux pupil)
// or "Тарвел.exe" (a Windows pupil) in any letter case, whatever system the teacher runs.
bool isProgramFile(const QString &chosen);

// Where the file dialog opens for computer i: the folder of the program chosen last, else that
// computer's folder, else the folder of any computer set up, else the home folder.
QString startFolder(const Classroom &classroom, int computer);

} // namespace netsetup

// The wizard's run over computers 1..count. It works on its own copy of the paths: the
// classroom and net.ini change only when the last computer has been answered.
class SetupWizard
{
public:
    SetupWizard(Classroom &classroom, QString netConfigFile);

    // Starts again at computer 1 for `count` computers.
    void start(int count);
    int computer() const { return m_computer; }
    int count() const { return m_count; }
    bool finished() const { return m_finished; }
    // net.ini was written at the end; when it was not, the classroom holds what the file holds.
    bool written() const { return m_written; }

    // "Да" after the locate window returned `chosen`: a program file sets the computer up,
    // anything else skips it. Returns true when that was the last computer.
    bool answer(const QString &chosen);
    // "Пропустить этот компьютер".
    bool skip();

    QString question() const;

private:
    bool advance();
    void finish();

    Classroom &m_classroom;
    QString m_file;
    Classroom::Folders m_paths;
    int m_count = 0;
    int m_computer = 1;
    bool m_finished = false;
    bool m_written = false;
};

// SetupChangeWindow: sets one computer from the chosen file (or clears it) and writes net.ini as
// the paths stand. Returns false when net.ini could not be written; the classroom then holds what
// the file holds.
bool setOneComputer(Classroom &classroom, const QString &netConfigFile, int computer,
                    const QString &chosen);

// Gives the classroom the computers of net.ini, or none when it is not configured.
void reloadNetConfig(Classroom &classroom, const QString &netConfigFile);
