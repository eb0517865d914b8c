#include "network/setupwizard.h"

#include "core/sessionstate.h"
#include "core/textfile.h"
#include "network/netconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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
    if (whole >= SessionState::MaxComputers)
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

QString startFolder(const SessionState &session, int computer)
{
    if (!session.NetLastFolder.isEmpty())
        return session.NetLastFolder;
    if (computer >= 1 && computer <= SessionState::MaxComputers &&
        !session.NetPath.at(computer - 1).isEmpty())
        return session.NetPath.at(computer - 1);
    for (const QString &folder : session.NetPath) {
        if (!folder.isEmpty())
            return folder;
    }
    return QDir::homePath();
}

} // namespace netsetup

SetupWizard::SetupWizard(SessionState &session, QString netConfigFile)
    : m_session(session), m_file(std::move(netConfigFile))
{
}

void SetupWizard::start(int count)
{
    m_count = qBound(0, count, SessionState::MaxComputers - 1);
    m_computer = 1;
    m_finished = false;
    m_written = false;
    m_paths.fill(QString());
    m_session.NetWizardIndex = 1;
    m_session.NetChosenFile.clear();
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
    m_session.NetWizardIndex = qint16(m_computer);
    m_session.NetChosenFile.clear();
    return false;
}

void SetupWizard::finish()
{
    m_finished = true;
    m_session.NetCount = qint16(m_count);
    for (int i = 0; i < m_count; ++i)
        m_session.NetPath[i] = m_paths.at(i);
    m_written = saveNetConfig(m_session, m_file);
    if (!m_written)
        reloadNetConfig(m_session, m_file);
}

QString SetupWizard::question() const
{
    return QStringLiteral("На компьютере № ") + QString::number(m_computer) +
           QStringLiteral(" программа установлена ?");
}

bool setOneComputer(SessionState &session, const QString &netConfigFile, int computer,
                    const QString &chosen)
{
    if (computer < 1 || computer > SessionState::MaxComputers)
        return false;
    session.NetPath[computer - 1] =
        netsetup::isProgramFile(chosen) ? netconfig::folderOf(chosen) : QString();
    session.NetChosenFile.clear();
    if (saveNetConfig(session, netConfigFile))
        return true;
    reloadNetConfig(session, netConfigFile);
    return false;
}

void reloadNetConfig(SessionState &session, const QString &netConfigFile)
{
    session.NetCount = 0;
    session.NetPath.fill(QString());
    loadNetConfig(session, netConfigFile);
}
