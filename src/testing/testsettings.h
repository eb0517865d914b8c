#pragma once

#include <QList>
#include <QString>

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

// Reads this computer's settings and takes the error-review rule into the session.
TestSettings loadTestSettings(SessionState &session);

// Writes the settings here and under every configured pupil computer's data/jpg; a file that
// cannot be written is counted as a miss of its computer and every other file is still written.
// The session takes the error-review rule only when this computer's files were written.
SettingsDelivery applySettings(SessionState &session, const TestSettings &settings);
