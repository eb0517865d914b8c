#pragma once

#include "network/netwindow.h"

#include "users/useradministration.h"

class QComboBox;
class QLabel;
class UserAdminPanel;
struct UserRecord;

// The user administration of a pupil computer: the administration panel on the user base in
// that computer's shared program folder.
class RemoteAdminWindow : public NetWindow
{
    Q_OBJECT
public:
    static const QString UnreadableText;
    static const QString BackgroundHint;
    // The base of a pupil computer: the "file" the panel is given is that computer's program
    // folder. Tests replace it with a share that does not answer.
    static UserAdministration::Storage pupilStorage;
    // How long reading or writing a pupil's base may take before the window gives up on it.
    static int answerLimitMs;

    // "… does not answer" for computer i; a change it then wrote after all is told later, and
    // one it had not begun to write when the window gave up or closed is never written.
    static QString notAnsweredText(int computer);
    static QString changedLateText(int computer);
    // The warning before a pupil testing on computer i is renamed or deleted.
    static QString testingText(int computer, const UserRecord &record);

    explicit RemoteAdminWindow(AppContext &context);

    UserAdminPanel *panel() const { return m_panel; }
    // The computer of a list item: "№ " and its number.
    static int computerOf(const QString &item);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void fillComputers();
    int chosenComputer() const;
    void chooseComputer();
    bool confirmChange(const UserRecord &record);

    QComboBox *m_computers = nullptr;
    UserAdminPanel *m_panel = nullptr;
};
