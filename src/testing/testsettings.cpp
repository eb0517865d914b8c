#include "testing/testsettings.h"

#include "core/datafiles.h"
#include "core/sessionstate.h"
#include "core/textfile.h"
#include "network/classroom.h"
#include "network/netconfig.h"
#include "network/pupilfiles.h"
#include "network/sharereader.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <mutex>

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

// One pupil folder's turn for settings: pushes there write one at a time, and only the newest.
struct FolderTurn
{
    std::mutex writing;
    std::atomic<quint64> newest{0};
};

std::shared_ptr<FolderTurn> turnOf(const QString &folder)
{
    static std::mutex lock;
    static QHash<QString, std::shared_ptr<FolderTurn>> turns;
    std::lock_guard<std::mutex> locked(lock);
    std::shared_ptr<FolderTurn> &turn = turns[folder];
    if (!turn)
        turn = std::make_shared<FolderTurn>();
    return turn;
}

quint64 nextTicket()
{
    static std::atomic<quint64> tickets{0};
    return ++tickets;
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

TestSettings loadTestSettings(const SessionState &session)
{
    return TestSettings::read(session.dataPath(QStringLiteral("jpg")));
}

SettingsPush::SettingsPush(QObject *parent)
    : QObject(parent), m_dropped(std::make_shared<std::atomic<bool>>(false))
{
    m_patience.setSingleShot(true);
    m_patience.setInterval(PatienceMs);
    connect(&m_patience, &QTimer::timeout, this, &SettingsPush::finish);
}

SettingsPush::~SettingsPush()
{
    *m_dropped = true;
}

SettingsDelivery SettingsPush::start(const SessionState &session, const TestSettings &settings)
{
    ++m_generation;
    m_waiting.clear();
    m_delivery = SettingsDelivery();
    m_delivery.local =
        settings.write(session.dataPath(QStringLiteral("jpg")), &m_delivery.localFailedFile);
    QList<std::pair<std::function<PupilWrite()>, std::function<void(const PupilWrite &)>>> writes;
    const QString netFile = session.dataPath(datafiles::NetConfigFile);
    if (netconfig::isConfigured(netFile)) {
        Classroom classroom; // as net.ini holds it now
        loadNetConfig(classroom, netFile);
        for (const int computer : classroom.configured()) {
            const QString folder = classroom.folder(computer);
            if (folder.trimmed().isEmpty())
                continue;
            m_waiting << computer;
            const std::shared_ptr<FolderTurn> turn = turnOf(folder);
            const quint64 ticket = nextTicket();
            turn->newest = ticket;
            writes.append({[settings, folder, turn, ticket, dropped = m_dropped] {
                               const std::lock_guard<std::mutex> mine(turn->writing);
                               if (turn->newest != ticket || *dropped)
                                   return PupilWrite::Dropped;
                               return settings.writeToPupil(folder) ? PupilWrite::Written
                                                                    : PupilWrite::Failed;
                           },
                           [this, computer, generation = m_generation](const PupilWrite &write) {
                               if (generation == m_generation)
                                   received(computer, write);
                           }});
        }
    }
    m_running = true;
    m_patience.stop();
    if (writes.isEmpty()) {
        // Told from the event loop, as a push to computers is; never to a later push.
        QMetaObject::invokeMethod(
            this,
            [this, generation = m_generation] {
                if (generation == m_generation)
                    finish();
            },
            Qt::QueuedConnection);
    } else {
        const int computers = int(writes.size());
        ReadBatch<PupilWrite>::start(this, std::move(writes), computers);
        m_patience.start();
    }
    return m_delivery;
}

void SettingsPush::received(int computer, PupilWrite write)
{
    if (!m_running) {
        // Counted as missed when the patience ran out, it answered after all.
        if (write == PupilWrite::Written && m_delivery.missed.removeOne(computer)) {
            m_delivery.reached << computer;
            std::sort(m_delivery.reached.begin(), m_delivery.reached.end());
            Q_EMIT finished(m_delivery);
        }
        return;
    }
    if (!m_waiting.removeOne(computer))
        return;
    (write == PupilWrite::Written ? m_delivery.reached : m_delivery.missed) << computer;
    if (m_waiting.isEmpty())
        finish();
}

void SettingsPush::finish()
{
    if (!m_running)
        return;
    m_running = false;
    m_patience.stop();
    m_delivery.missed << m_waiting;
    m_waiting.clear();
    std::sort(m_delivery.reached.begin(), m_delivery.reached.end());
    std::sort(m_delivery.missed.begin(), m_delivery.missed.end());
    Q_EMIT finished(m_delivery);
}
