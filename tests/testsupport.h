#pragma once

#include "app/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// A program folder of its own for one test: an empty data folder, or a copy of the demo data.
class TestProgramFolder
{
public:
    enum class Content { Empty, DemoData };

    explicit TestProgramFolder(Content content = Content::Empty)
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("data/jpg"));
        if (content == Content::DemoData)
            copyTree(QStringLiteral(TARVEL_DEMO_DATA), m_dir.path() + QStringLiteral("/data"));
    }

    QString path() const { return m_dir.path(); }
    QString data(const QString &relative) const
    {
        return m_dir.path() + QStringLiteral("/data/") + relative;
    }
    QString jpg(const QString &name) const { return data(QStringLiteral("jpg/") + name); }

    static void copyTree(const QString &from, const QString &to)
    {
        QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString target = to + source.mid(from.size());
            QDir().mkpath(QFileInfo(target).absolutePath());
            QFile::remove(target);
            QFile::copy(source, target);
        }
    }

private:
    QTemporaryDir m_dir;
};

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QStringList readLinesOrEmpty(const QString &path)
{
    return textfile::readLines(path).value_or(QStringList());
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}
