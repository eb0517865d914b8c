#include "network/setupwizard.h"

#include "core/textfile.h"
#include "network/classroom.h"
#include "network/netconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace netsetup {

CountCheck checkCount(const QString &text)
{
    const double value = textfile::leadingNumber(text.trimmed());
    if (value < 0)
        return {CountAnswer::Ignored, 0};
    const double whole = std::floor(value);
    if (whole < 1)
        return {CountAnswer::Zero, 0};
    if (whole >= Classroom::MaxComputers)
        return {CountAnswer::TooMany, 0};
    return {CountAnswer::Accepted, int(whole)};
}

QString programFileName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

bool isProgramFile(const QString &chosen)
{
    const QString name = chosen.mid(netconfig::folderOf(chosen).size());
    return chosen.size() > 12 &&
           (name.compare(QStringLiteral("Тарвел"), Qt::CaseInsensitive) == 0 ||
            name.compare(QStringLiteral("Тарвел.exe"), Qt::CaseInsensitive) == 0);
}

QString startFolder(const Classroom &classroom, int computer)
{
    if (!classroom.programFolderChosenLast().isEmpty())
        return classroom.programFolderChosenLast();
    if (!classroom.folder(computer).isEmpty())
        return classroom.folder(computer);
    for (const QString &folder : classroom.folders()) {
        if (!folder.isEmpty())
            return folder;
    }
    return QDir::homePath();
}

} // namespace netsetup

SetupWizard::SetupWizard(Classroom &classroom, QString netConfigFile)
    : m_classroom(classroom), m_file(std::move(netConfigFile))
{
}

void SetupWizard::start(int count)
{
    m_count = qBound(0, count, Classroom::MaxComputers - 1);
    m_computer = 1;
    m_finished = false;
    m_written = false;
    m_paths.fill(QString());
}

bool SetupWizard::answer(const QString &chosen)
{
    if (!netsetup::isProgramFile(chosen))
        return skip();
    m_paths[m_computer - 1] = netconfig::folderOf(chosen);
    return advance();
}

bool SetupWizard::skip()
{
    m_paths[m_computer - 1].clear();
    return advance();
}

bool SetupWizard::advance()
{
    ++m_computer;
    if (m_computer > m_count) {
        finish();
        return true;
    }
    return false;
}

void SetupWizard::finish()
{
    m_finished = true;
    Classroom::Folders folders = m_classroom.folders();
    std::copy_n(m_paths.cbegin(), m_count, folders.begin());
    m_classroom.assign(m_count, folders);
    m_written = saveNetConfig(m_classroom, m_file);
    if (!m_written)
        reloadNetConfig(m_classroom, m_file);
}

QString SetupWizard::question() const
{
    return QStringLiteral("На компьютере № ") + QString::number(m_computer) +
           QStringLiteral(" программа установлена ?");
}

bool setOneComputer(Classroom &classroom, const QString &netConfigFile, int computer,
                    const QString &chosen)
{
    if (computer < 1 || computer > Classroom::MaxComputers)
        return false;
    Classroom::Folders folders = classroom.folders();
    folders[computer - 1] =
        netsetup::isProgramFile(chosen) ? netconfig::folderOf(chosen) : QString();
    classroom.assign(classroom.count(), folders);
    if (saveNetConfig(classroom, netConfigFile))
        return true;
    reloadNetConfig(classroom, netConfigFile);
    return false;
}

void reloadNetConfig(Classroom &classroom, const QString &netConfigFile)
{
    Classroom fresh; // read aside, so that the observers hear of the classroom once
    loadNetConfig(fresh, netConfigFile);
    classroom.assign(fresh.count(), fresh.folders());
}
