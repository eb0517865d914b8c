#pragma once

#include <QByteArrayView>
#include <QObject>
#include <QString>

class QSoundEffect;
struct SessionState;

enum class Cue {
    VsemSpat,
    Book,
    Hihihih,
    Oou,
    Close,
    Pick,
    EstProblemi,
    Type,
    Dostig,
    Smeh,
    Applaud,
    Hujeotet,
    About,
    Aaa,
    TukTuk,
    Thenx
};

// Plays the program's sound cues from data/wav, one at a time: a new cue stops the one that
// plays. Cues play only while the session's sound switch is on, except the farewell of the
// splash window. A missing file or a missing sound device is silent.
class CuePlayer : public QObject
{
    Q_OBJECT
public:
    // audible false keeps everything but the sound itself (used by the tests).
    CuePlayer(const SessionState &session, bool audible, QObject *parent = nullptr);
    ~CuePlayer() override;

    void play(Cue cue);
    void stop();

    static QString fileName(Cue cue);
    // How long a PCM WAV file plays, 0 when it cannot be read.
    static int wavDurationMs(const QString &path);
    // The same from the first bytes of such a file.
    static int wavDurationMs(QByteArrayView head);

Q_SIGNALS:
    void cueStarted(const QString &fileName);

private:
    void start(const QString &path, bool looped);
    void waitUntilPlayed(const QString &path);

    const SessionState &m_session;
    bool m_audible;
    QSoundEffect *m_effect = nullptr;
};
