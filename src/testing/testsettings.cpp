#include "testing/testsettings.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "network/netconfig.h"
#include "network/pupilfiles.h"

#include <QFileInfo>

qint16 readShowErrorsSetting(const QString &path)
{
    const std::optional<QStringList> lines = textfile::readLines(path);
    if (!lines || lines->isEmpty() || lines->first().isEmpty())
        return 1;
    return textfile::leadingInt16(lines->first().trimmed());
}

namespace {
QString settingPath(const QString &jpgFolder, const QString &name)
{
    return resolvePath(jpgFolder, name);
}

// The two files and their one-line contents.
QList<std::pair<QString, QByteArray>> settingFiles(const TestSettings &settings)
{
    return {{datafiles::AnswerTimeFile,
             textfile::joinLines({textfile::printNumber(settings.answerTime)})},
            {datafiles::ShowErrorsFile,
             textfile::joinLines({textfile::printNumber(settings.showErrors)})}};
}

QString computerList(const QList<int> &computers)
{
    QStringList numbers;
    for (int computer : computers)
        numbers << QStringLiteral("№ ") + QString::number(computer);
    return numbers.join(QStringLiteral(", "));
}
} // namespace

TestSettings TestSettings::read(const QString &jpgFolder)
{
    // Both files follow the one-line rule of the show-errors setting.
    TestSettings settings;
    settings.answerTime = readShowErrorsSetting(settingPath(jpgFolder, datafiles::AnswerTimeFile));
    settings.showErrors = readShowErrorsSetting(settingPath(jpgFolder, datafiles::ShowErrorsFile));
    return settings;
}

bool TestSettings::write(const QString &jpgFolder, QString *failedFile) const
{
    if (!QFileInfo(jpgFolder).isDir())
        return false;
    bool all = true;
    for (const auto &[name, bytes] : settingFiles(*this)) {
        if (textfile::replaceFile(settingPath(jpgFolder, name), bytes))
            continue;
        if (all && failedFile)
            *failedFile = QStringLiteral("data/jpg/") + name;
        all = false;
    }
    return all;
}

bool TestSettings::writeToPupil(const QString &programFolder) const
{
    bool all = true;
    for (const auto &[name, bytes] : settingFiles(*this)) {
        all = pupilfiles::write(programFolder, QStringLiteral("data/jpg/") + name, bytes) ==
                  pupilfiles::Status::Done &&
              all;
    }
    return all;
}

QString SettingsDelivery::summary() const
{
    QString text = local ? QStringLiteral("Настройки записаны на этом компьютере.")
                         : QStringLiteral("Не удалось записать настройки на этом компьютере.");
    if (!local && !localFailedFile.isEmpty())
        text = QStringLiteral("Не удалось записать настройки на этом компьютере (файл %1).")
                   .arg(localFailedFile);
    const qsizetype total = reached.size() + missed.size();
    if (total == 0)
        return text;
    text += QStringLiteral(" Сетевые компьютеры: получили %1 из %2").arg(reached.size()).arg(total);
    if (!missed.isEmpty())
        text += QStringLiteral("; не получили ") + computerList(missed);
    return text + u'.';
}

TestSettings loadTestSettings(SessionState &session)
{
    const TestSettings settings = TestSettings::read(session.dataPath(QStringLiteral("jpg")));
    session.ShowErrorsSetting = settings.showErrors;
    return settings;
}

SettingsDelivery applySettings(SessionState &session, const TestSettings &settings)
{
    SettingsDelivery delivery;
    delivery.local =
        settings.write(session.dataPath(QStringLiteral("jpg")), &delivery.localFailedFile);
    if (delivery.local)
        session.ShowErrorsSetting = settings.showErrors;
    const QString netFile = session.dataPath(datafiles::NetConfigFile);
    if (!netconfig::isConfigured(netFile))
        return delivery;
    loadNetConfig(session, netFile);
    for (int computer = 1; computer <= session.NetCount; ++computer) {
        const QString folder = session.NetPath.at(computer - 1);
        if (folder.trimmed().isEmpty())
            continue;
        if (settings.writeToPupil(folder))
            delivery.reached << computer;
        else
            delivery.missed << computer;
    }
    return delivery;
}
