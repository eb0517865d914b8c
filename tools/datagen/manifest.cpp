#include "manifest.h"

#include "dataerror.h"
#include "textconvert.h"

#include <QFile>

DataError dataError(const QString &file, int line, const QString &what)
{
    if (line <= 0)
        return DataError{QStringLiteral("%1: %2").arg(file, what)};
    return DataError{QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(what)};
}

QList<ManifestLine> parseManifest(const QString &text)
{
    QList<ManifestLine> result;
    const QStringList lines = splitTextLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        QStringList fields = lines[i].split(u'\t');
        for (QString &field : fields)
            field = field.trimmed();
        result.append({int(i + 1), fields});
    }
    return result;
}

QString readUtf8File(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw dataError(path, 0, QStringLiteral("cannot read: %1").arg(file.errorString()));
    return decodeUtf8(file.readAll(), path);
}
