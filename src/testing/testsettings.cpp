#include "testing/testsettings.h"

#include "app/datafiles.h"
#include "app/sessionstate.h"
#include "app/startup.h"
#include "app/textfile.h"
#include "network/netconfig.h"

#include <QFileInfo>

namespace {
QString settingPath(const QString &jpgFolder, const QString &name)
{
    return resolvePath(jpgFolder, name);
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
    settings.answerTime = ReadShowErrorsSetting(settingPath(jpgFolder, datafiles::AnswerTimeFile));
    settings.showErrors = ReadShowErrorsSetting(settingPath(jpgFolder, datafiles::ShowErrorsFile));
    return settings;
}

bool TestSettings::write(const QString &jpgFolder, QString *failedFile) const
{
    // A pupil folder that is gone is never created anew.
    if (!QFileInfo(jpgFolder).isDir())
        return false;
    const std::pair<QString, qint16> files[] = {{datafiles::AnswerTimeFile, answerTime},
                                                {datafiles::ShowErrorsFile, showErrors}};
    for (const auto &[name, value] : files) {
        if (!textfile::writeLines(settingPath(jpgFolder, name), {textfile::printNumber(value)})) {
            if (failedFile)
                *failedFile = QStringLiteral("data/jpg/") + name;
            return false;
        }
    }
    return true;
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

TestSettings LoadTestSettings(SessionState &session)
{
    const TestSettings settings = TestSettings::read(session.dataPath(QStringLiteral("jpg")));
    session.ShowErrorsSetting = settings.showErrors;
    return settings;
}

SettingsDelivery ApplySettings(SessionState &session, const TestSettings &settings)
{
    SettingsDelivery delivery;
    delivery.local =
        settings.write(session.dataPath(QStringLiteral("jpg")), &delivery.localFailedFile);
    if (delivery.local)
        session.ShowErrorsSetting = settings.showErrors;
    const QString netFile = session.dataPath(datafiles::NetConfigFile);
    if (!netconfig::isConfigured(netFile))
        return delivery;
    LoadNetConfig(session, netFile);
    for (int computer = 1; computer <= session.NetCount; ++computer) {
        const QString dataFolder = netconfig::pupilDataFolder(session, computer);
        if (dataFolder.isEmpty())
            continue;
        if (settings.write(resolvePath(dataFolder, QStringLiteral("jpg"))))
            delivery.reached << computer;
        else
            delivery.missed << computer;
    }
    return delivery;
}
