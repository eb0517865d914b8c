#include "core/datafiles.h"

#include "core/textfile.h"

#include <QDir>
#include <QFileInfo>

QString resolvePath(const QString &base, const QString &relative)
{
    QString current = QDir::fromNativeSeparators(base);
    while (current.size() > 1 && current.endsWith(u'/'))
        current.chop(1);
    QString normalised = relative;
    normalised.replace(u'\\', u'/');
    const QStringList parts = normalised.split(u'/', Qt::SkipEmptyParts);
    bool exists = QFileInfo::exists(current);
    for (const QString &part : parts) {
        QString next = current + u'/' + part;
        if (exists && !QFileInfo::exists(next)) {
            const QStringList entries = QDir(current).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString &entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    next = current + u'/' + entry;
                    break;
                }
            }
        }
        exists = exists && QFileInfo::exists(next);
        current = next;
    }
    return current;
}

textfile::FileRead datafiles::readInside(const QString &folder, const QString &path, qint64 limit)
{
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString real = QFileInfo(path).canonicalFilePath();
    if (root.isEmpty() || real.isEmpty())
        return {};
    if (!real.startsWith(root + u'/')) {
        textfile::FileRead outside;
        outside.status = textfile::FileRead::Status::Unreadable;
        outside.refusal = textfile::FileRead::Refusal::Failed;
        return outside;
    }
    // The real path, read without following a link put in its place since.
    return textfile::readBounded(real, limit, textfile::Links::Refuse);
}

int datafiles::answerTimeSetting(const std::optional<QString> &settingLine)
{
    const int setting = settingLine ? textfile::leadingInt(settingLine->trimmed()) : 1;
    return (setting >= 1 && setting <= 5) || setting == UnlimitedAnswerTime ? setting : 1;
}

int datafiles::answerKeyIndex(const QString &key)
{
    if (key.size() != 4 || !key.startsWith(QLatin1String("otv")) || key[3] < u'1' || key[3] > u'5')
        return -1;
    return key[3].unicode() - u'1';
}
