#include "ui/cueplayer.h"

#include "core/sessionstate.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

namespace {
struct CueEntry
{
    Cue cue;
    const char *file;
    bool looped;
};

constexpr CueEntry cueTable[] = {
    {Cue::VsemSpat, "vsem_spat.wav", false},
    {Cue::Book, "book.wav", false},
    {Cue::Hihihih, "hihihih.wav", false},
    {Cue::Oou, "oou.wav", false},
    {Cue::Close, "close.wav", false},
    {Cue::Pick, "pick.wav", false},
    {Cue::EstProblemi, "est_problemi.wav", false},
    {Cue::Type, "type.wav", false},
    {Cue::Dostig, "dostig.wav", true},
    {Cue::Smeh, "smeh.wav", false},
    {Cue::Applaud, "applaud.wav", false},
    {Cue::Hujeotet, "hujeotet.wav", false},
    {Cue::About, "about.wav", true},
    {Cue::Aaa, "aaa.wav", false},
    {Cue::TukTuk, "tuk-tuk.wav", false},
    {Cue::Thenx, "thenx.wav", false},
};

// The cues last seconds; a larger file, a device or a pipe in a cue's place is not played.
constexpr qint64 CueFileLimit = 8 * 1024 * 1024;

bool isCueFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() <= CueFileLimit;
}

const CueEntry &entry(Cue cue)
{
    for (const CueEntry &e : cueTable) {
        if (e.cue == cue)
            return e;
    }
    return cueTable[0];
}
} // namespace

CuePlayer::CuePlayer(const SessionState &session, bool audible, QObject *parent)
    : QObject(parent), m_session(session), m_audible(audible)
{
}

CuePlayer::~CuePlayer() = default;

QString CuePlayer::fileName(Cue cue)
{
    return QString::fromLatin1(entry(cue).file);
}

void CuePlayer::play(Cue cue)
{
    if (!m_session.soundOn && cue != Cue::Thenx)
        return;
    const QString path = m_session.dataPath(QStringLiteral("wav/") + fileName(cue));
    start(path, entry(cue).looped);
    if (cue == Cue::VsemSpat)
        waitUntilPlayed(path);
}

void CuePlayer::stop()
{
    if (m_effect)
        m_effect->stop();
}

void CuePlayer::start(const QString &path, bool looped)
{
    stop();
    if (!isCueFile(path))
        return;
    Q_EMIT cueStarted(QFileInfo(path).fileName());
    if (!m_audible)
        return;
    if (!m_effect)
        m_effect = new QSoundEffect(this);
    m_effect->setSource(QUrl::fromLocalFile(path));
    m_effect->setLoopCount(looped ? QSoundEffect::Infinite : 1);
    m_effect->play();
}

// Waits for the cue to end, but never longer than the file lasts: without a sound device
// the effect may never report that it stopped.
void CuePlayer::waitUntilPlayed(const QString &path)
{
    const int duration = wavDurationMs(path);
    if (duration <= 0 || !m_audible || !m_effect)
        return;
    QEventLoop loop;
    QTimer::singleShot(duration + 100, &loop, &QEventLoop::quit);
    connect(m_effect, &QSoundEffect::playingChanged, &loop, [this, &loop] {
        if (!m_effect->isPlaying())
            loop.quit();
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

int CuePlayer::wavDurationMs(const QString &path)
{
    QFile file(path);
    if (!isCueFile(path) || !file.open(QIODevice::ReadOnly))
        return 0;
    return wavDurationMs(QByteArrayView(file.read(4096)));
}

int CuePlayer::wavDurationMs(QByteArrayView head)
{
    if (head.size() < 44 || !head.startsWith("RIFF") || head.sliced(8, 4) != "WAVE")
        return 0;
    const auto word = [head](qsizetype at) {
        return qFromLittleEndian<quint32>(head.constData() + at);
    };
    quint32 byteRate = 0;
    quint32 dataSize = 0;
    // Every read is checked against the end first: the chunk sizes come from the file.
    for (qsizetype at = 12; at + 8 <= head.size();) {
        const QByteArrayView id = head.sliced(at, 4);
        const quint32 size = word(at + 4);
        if (id == "fmt " && at + 20 <= head.size())
            byteRate = word(at + 16);
        if (id == "data") {
            dataSize = size;
            break;
        }
        at += 8 + qsizetype(size) + (size & 1);
    }
    if (byteRate == 0)
        return 0;
    return int(qint64(dataSize) * 1000 / byteRate);
}
