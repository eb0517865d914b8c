#pragma once

#include "core/appcontext.h"
#include "users/useradministration.h"

#include <QList>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>

class HoverGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class SkinButton;

// The controls of user administration: the three linked lists, the results of the selected
// user, the edit fields with m18, and the change, delete, clear, accept and cancel buttons.
// Confirmations go through ConfirmWindow, refusals through InfoWindow.
//
// Reuse: create it inside any window with that window's HoverGroup (its status line receives
// the hints) and call setBaseFile() with the base to administer; call it again to switch to
// another computer's base. Options cover the differences of a window without picture buttons
// and of a base that cannot be read. editingChanged() lets the owner hide its own buttons
// during an edit.
class UserAdminPanel : public QWidget
{
    Q_OBJECT
public:
    struct Options
    {
        // Picture buttons from the skin folder "BOSS"; plain captioned buttons otherwise.
        bool pictureButtons = true;
        // Shown in the status line when the base cannot be read.
        QString unreadableText = QStringLiteral("Не удалось прочитать базу пользователей.");
        UserAdministration::Storage storage;
        // Runs `work` on the base away from the user-interface thread and then `done` on it:
        // done(false) when the work did not end in time, done(true) once it is over, also
        // after a done(false). Empty: a thread of the program's pool, without a time limit.
        std::function<void(QObject *context, std::function<void()> work,
                           std::function<void(bool)> done)>
            runAway;
        // A change that did not end in time has since been written to the base; called also
        // once the panel is gone, so that no change lands unnoticed.
        std::function<void(const QString &baseFile)> changedLate;
        // Asked before the selected user is renamed or deleted; false stops the change.
        std::function<bool(const UserRecord &)> confirmChange;
        // The test name of each result slot (the catalogue's): every named slot is shown under
        // its name. Empty: the first six slots under the fixed captions of the local window.
        QStringList resultNames;
    };

    UserAdminPanel(AppContext &context, HoverGroup &hover, const Options &options,
                   QWidget *parent = nullptr);
    // Changes still waiting for their base are dropped with the window.
    ~UserAdminPanel() override;
    // Drops them now: the window closes, and a change not yet written must not land after it.
    void dropUnfinished();

    void setBaseFile(const QString &baseFile);
    const UserAdministration &administration() const { return m_admin; }
    bool isEditing() const { return m_admin.view() == UserAdministration::View::Edit; }

Q_SIGNALS:
    void editingChanged(bool editing);
    // Work on the base did not end in time: the lists are emptied, the base's state unknown.
    void notAnswered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLists();
    void buildResults();
    void addResultRow(int slot, QLabel *caption, QLabel *value, QFrame *line);
    void buildButtons();
    SkinButton *addButton(const QString &name, const QString &skin, const QString &caption,
                          const QString &hint);
    void fillLists();
    void choose(int index);
    void showSelection();
    void showResults();
    void startEdit();
    void acceptEdit();
    void cancelEdit();
    void deleteUser();
    void clearBase();
    // The answer of a confirmation window; false when the panel went while it was open.
    bool confirmed(const std::function<bool()> &ask);
    // A delete or clear; a base that could not be written is reported.
    void changeAndTell(const std::function<bool(UserAdministration &)> &change);
    void showEditView(bool editing);
    // Runs work on the administration, then `shown` with its outcome on the window. A change
    // may wait for the base's lock and runs away from the window thread; so does a read of a
    // base on another computer.
    enum class BaseUse { Read, Change };
    void onBase(std::function<void(UserAdministration &)> work, std::function<void()> shown,
                BaseUse use = BaseUse::Change);
    // After work that did not end in time: nothing is shown of a base in an unknown state.
    void forgetBase();

    AppContext &m_context;
    HoverGroup &m_hover;
    Options m_options;
    UserAdministration m_admin;
    int m_generation = 0;
    QList<std::shared_ptr<std::atomic<bool>>> m_unfinished; // the abandon flags of running work

    QList<QComboBox *> m_lists;
    QList<QLineEdit *> m_fields;
    QList<QWidget *> m_resultArea;
    QList<QLabel *> m_values;
    QList<int> m_valueSlots; // the result slot (0-based) of each value
    QLabel *m_prompt = nullptr;
    SkinButton *m_change = nullptr;
    SkinButton *m_delete = nullptr;
    SkinButton *m_clear = nullptr;
    SkinButton *m_accept = nullptr;
    SkinButton *m_cancel = nullptr;
};
