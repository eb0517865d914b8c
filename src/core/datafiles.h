#pragma once

#include "core/textfile.h"

#include <QString>

#include <optional>

// The program's own data files keep picture-like names in data/jpg.
namespace datafiles {
inline const QString UserBaseFile = QStringLiteral("2_17.jpg");
inline const QString RememberedLoginFile = QStringLiteral("sv11.jpg");
inline const QString ShowErrorsFile = QStringLiteral("sv10.jpg");
inline const QString AnswerTimeFile = QStringLiteral("14_16.jpg");
inline const QString TestDescriptionFile = QStringLiteral("14_13.jpg");
inline const QString TestCatalogueFile = QStringLiteral("14_15.jpg");
inline const QString CourseBankFile = QStringLiteral("sv9.jpg");
inline const QString NewUserRecordFile = QStringLiteral("1n_12.jpg");
inline const QString HistoryFile = QStringLiteral("7_12.jpg");
inline const QString HistoryTemporaryFile = QStringLiteral("7_13.jpg");
inline const QString ProgressFile = QStringLiteral("curr_test.ini");
inline const QString SessionFile = QStringLiteral("temp1.ini");
// Beside the two files above, for this computer alone: what a killed test needs to go on.
inline const QString ResumeFile = QStringLiteral("resume.ini");
// Beside them: locked by the program whose test is running.
inline const QString RunningTestLockFile = QStringLiteral("test.lock");
// Beside them: tests lost in a crash whose owners are still to be told, three pairs each.
inline const QString LostTestsFile = QStringLiteral("lost_tests.ini");
// Every finished test of this computer, one line each.
inline const QString JournalFile = QStringLiteral("attempts.txt");
// Every question asked in those tests, one line each.
inline const QString AnswerJournalFile = QStringLiteral("answers.txt");
inline const QString NetConfigFile = QStringLiteral("net.ini");
inline const QString OutlineFile = QStringLiteral("soderjanie.txt");

// The answer time from the first line of AnswerTimeFile (nothing when the file is missing):
// 1 to 5 minutes per answer, or UnlimitedAnswerTime; any other value counts as one minute.
constexpr int UnlimitedAnswerTime = 9;
int answerTimeSetting(const std::optional<QString> &settingLine);

// Banks and session files name a question's answers "otv1" to "otv5": the answer's index 0 to 4
// for such a key, otherwise -1.
int answerKeyIndex(const QString &key);

// A file a page or a question names (a picture, a page, a style sheet): read only when it is a
// regular file whose real path, links resolved, lies inside `folder`, and of at most `limit`
// bytes. A file outside is refused as unreadable, anything else as textfile::readBounded
// refuses it.
textfile::FileRead readInside(const QString &folder, const QString &path, qint64 limit);
} // namespace datafiles

// Finds a path below a folder without regard to letter case, Latin and Cyrillic alike.
// `relative` may use "\" or "/" as separators; each folder on the way is listed at most once.
// Components that do not exist are kept as written, so the result also names files to create.
QString resolvePath(const QString &base, const QString &relative);
