#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>

struct SessionState;

// The show-errors setting: 1 when the file is missing or its first line is empty, otherwise
// the leading number of the trimmed first line.
qint16 readShowErrorsSetting(const QString &path);

// The answer time and the error-review rule, each a one-line file in data/jpg.
struct TestSettings
{
    static constexpr qint16 UnlimitedTime = 9;
    enum ShowErrors : qint16 { ShowAlways = 1, ShowNever = 2, ShowExceptCourseTest = 3 };

    qint16 answerTime = 1; // minutes per answer 1..5, or UnlimitedTime
    qint16 showErrors = ShowAlways;

    // Reads both files of a data/jpg folder; a missing file or an empty first line gives 1.
    static TestSettings read(const QString &jpgFolder);
    // Writes both files of a data/jpg folder in print style, each whether or not the other
    // could be written; true when both were, else the first file not written is named.
    bool write(const QString &jpgFolder, QString *failedFile = nullptr) const;
    // The same below a pupil's program folder, only into regular files and never through a
    // link; a folder that is gone is not created.
    bool writeToPupil(const QString &programFolder) const;
};

// Which computers received the settings.
struct SettingsDelivery
{
    bool local = false;
    QString localFailedFile; // the file of this computer that could not be written
    QList<int> reached;      // pupil computers by number
    QList<int> missed;

    // A short line for the window: this computer, then how many pupil computers got them.
    QString summary() const;
};

// Reads this computer's settings.
TestSettings loadTestSettings(const SessionState &session);

// Writes the settings here at once, then under every configured pupil computer's data/jpg off
// the user-interface thread, so that a computer that is off holds up no window. A file that
// cannot be written counts as a miss of its computer and every other file is still written; a
// computer that has not answered within the patience counts as a miss too, and is told as
// reached should its write land later.
//
// Pushes to one computer take turns: a write a hung share held up lands before any newer
// push's write there, and one that has not begun once a newer push started, or once its push
// is destroyed, is never carried out. A late write thus never brings back an older value.
class SettingsPush : public QObject
{
    Q_OBJECT
public:
    static constexpr int PatienceMs = 10000;

    explicit SettingsPush(QObject *parent = nullptr);
    ~SettingsPush() override;

    // Starts a push; one still under way is dropped. Returns what was done on this computer.
    SettingsDelivery start(const SessionState &session, const TestSettings &settings);
    // Pupil computers not yet heard from.
    qsizetype waiting() const { return m_waiting.size(); }
    void setPatience(int ms) { m_patience.setInterval(ms); }

Q_SIGNALS:
    // Every pupil computer answered, or the patience ran out; again when a computer counted as
    // missed answers after all.
    void finished(const SettingsDelivery &delivery);

private:
    enum class PupilWrite { Written, Failed, Dropped };
    void received(int computer, PupilWrite write);
    void finish();

    SettingsDelivery m_delivery;
    QList<int> m_waiting;
    QTimer m_patience;
    int m_generation = 0;
    bool m_running = false;
    std::shared_ptr<std::atomic<bool>> m_dropped; // set when this push's writes may no longer run
};
