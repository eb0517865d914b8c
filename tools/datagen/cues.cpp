#include "cues.h"

#include "dataerror.h"
#include "manifest.h"

#include <QRegularExpression>
#include <QSet>
#include <QtEndian>

#include <cmath>
#include <numbers>

namespace {

constexpr double kMinFrequency = 20;
constexpr double kMaxFrequency = 10000;
constexpr double kMaxSeconds = 5;
constexpr double kAmplitude = 0.45;
constexpr double kFadeSeconds = 0.005;

struct WaveForm
{
    const char *word;
    CueSegment::Wave wave;
    int frequencies;
};

constexpr WaveForm kWaveForms[] = {
    {"tone", CueSegment::Wave::Sine, 1},   {"square", CueSegment::Wave::Square, 1},
    {"sweep", CueSegment::Wave::Sweep, 2}, {"sqsweep", CueSegment::Wave::SquareSweep, 2},
    {"chord", CueSegment::Wave::Chord, 2}, {"knock", CueSegment::Wave::Knock, 1},
    {"noise", CueSegment::Wave::Noise, 0}, {"silence", CueSegment::Wave::Silence, 0},
};

const WaveForm *findWaveForm(const QString &word)
{
    for (const WaveForm &form : kWaveForms) {
        if (word == QLatin1String(form.word))
            return &form;
    }
    return nullptr;
}

double parseNumber(const QString &token, const QString &fileName, int line)
{
    bool ok = false;
    const double value = token.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw dataError(fileName, line, QStringLiteral("\"%1\" is not a number").arg(token));
    return value;
}

double parseFrequency(const QString &token, const QString &fileName, int line)
{
    const double value = parseNumber(token, fileName, line);
    if (value < kMinFrequency || value > kMaxFrequency)
        throw dataError(fileName, line,
                        QStringLiteral("frequency %1 outside %2..%3 Hz")
                            .arg(token)
                            .arg(kMinFrequency)
                            .arg(kMaxFrequency));
    return value;
}

CueSegment parseSegment(const QString &text, const QString &fileName, int line)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList tokens = text.trimmed().split(blanks);
    const WaveForm *form = findWaveForm(tokens.first());
    if (!form)
        throw dataError(fileName, line, QStringLiteral("unknown sound \"%1\"").arg(tokens.first()));
    if (tokens.size() != form->frequencies + 2)
        throw dataError(fileName, line,
                        QStringLiteral("\"%1\" takes %2 number(s)")
                            .arg(tokens.first())
                            .arg(form->frequencies + 1));
    CueSegment segment;
    segment.wave = form->wave;
    if (form->frequencies >= 1)
        segment.from = parseFrequency(tokens[1], fileName, line);
    if (form->frequencies == 2)
        segment.to = parseFrequency(tokens[2], fileName, line);
    segment.seconds = parseNumber(tokens.last(), fileName, line);
    if (segment.seconds <= 0)
        throw dataError(fileName, line, QStringLiteral("a duration must be positive"));
    return segment;
}

double totalSeconds(const QList<CueSegment> &segments)
{
    double total = 0;
    for (const CueSegment &segment : segments)
        total += segment.seconds;
    return total;
}

// A small fixed-seed generator, so noise is the same on every run and every platform.
class NoiseSource
{
public:
    explicit NoiseSource(quint32 seed) : m_state(seed ? seed : 1) {}
    double next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return double(m_state >> 8) / double(1u << 23) - 1.0;
    }

private:
    quint32 m_state;
};

// FNV-1a of the file name: each cue gets its own noise.
quint32 seedFor(const QString &file)
{
    quint32 hash = 2166136261u;
    for (const char byte : file.toUtf8()) {
        hash ^= quint8(byte);
        hash *= 16777619u;
    }
    return hash;
}

double squareOf(double phase)
{
    return std::sin(phase) >= 0 ? 0.6 : -0.6;
}

// Raw wave value (-1..1) of a segment at sample i of n; phase carries the oscillator(s).
double waveValue(const CueSegment &s, int i, int n, double phase[2], NoiseSource &noise)
{
    const double t = double(i) / kSampleRate;
    const double progress = n > 1 ? double(i) / (n - 1) : 0;
    const double step = 2 * std::numbers::pi / kSampleRate;
    switch (s.wave) {
    case CueSegment::Wave::Sine:
    case CueSegment::Wave::Knock:
    case CueSegment::Wave::Square:
        phase[0] += step * s.from;
        break;
    case CueSegment::Wave::Sweep:
    case CueSegment::Wave::SquareSweep:
        phase[0] += step * (s.from + (s.to - s.from) * progress);
        break;
    case CueSegment::Wave::Chord:
        phase[0] += step * s.from;
        phase[1] += step * s.to;
        break;
    case CueSegment::Wave::Noise:
    case CueSegment::Wave::Silence:
        break;
    }
    switch (s.wave) {
    case CueSegment::Wave::Sine:
    case CueSegment::Wave::Sweep:
        return std::sin(phase[0]);
    case CueSegment::Wave::Square:
    case CueSegment::Wave::SquareSweep:
        return squareOf(phase[0]);
    case CueSegment::Wave::Chord:
        return (std::sin(phase[0]) + std::sin(phase[1])) / 2;
    case CueSegment::Wave::Knock:
        // Down to about 1% at the end of the segment.
        return std::sin(phase[0]) * std::exp(-4.6 * t / s.seconds);
    case CueSegment::Wave::Noise:
        return noise.next() * 0.8;
    case CueSegment::Wave::Silence:
        return 0;
    }
    return 0;
}

// Short linear fades at both ends of a segment keep it free of clicks.
double fade(int i, int n)
{
    const int ramp = qMin(int(kFadeSeconds * kSampleRate), n / 4);
    if (ramp <= 0)
        return 1;
    const int fromEnd = n - 1 - i;
    return qMin(1.0, double(qMin(i, fromEnd)) / ramp);
}

void appendSegment(QList<qint16> &samples, const CueSegment &segment, NoiseSource &noise)
{
    const int n = int(std::lround(segment.seconds * kSampleRate));
    double phase[2] = {0, 0};
    for (int i = 0; i < n; ++i) {
        const double value = waveValue(segment, i, n, phase, noise) * fade(i, n) * kAmplitude;
        samples.append(qint16(std::lround(qBound(-1.0, value, 1.0) * 32767)));
    }
}

void appendLe16(QByteArray &bytes, quint16 value)
{
    char buffer[2];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 2);
}

void appendLe32(QByteArray &bytes, quint32 value)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, 4);
}

CueDef parseCue(const ManifestLine &line, const QString &fileName)
{
    const QStringList &f = line.fields;
    if (f.size() < 2 || f.size() > 3)
        throw dataError(fileName, line.number,
                        QStringLiteral("expected file, pattern and an optional description"));
    static const QRegularExpression name(QStringLiteral("^[a-z0-9_-]+\\.wav$"));
    if (!name.match(f[0]).hasMatch())
        throw dataError(fileName, line.number,
                        QStringLiteral("\"%1\" is not a lower-case .wav file name").arg(f[0]));
    return {f[0], parseCuePattern(f[1], fileName, line.number)};
}

} // namespace

QList<CueSegment> parseCuePattern(const QString &pattern, const QString &fileName, int line)
{
    QList<CueSegment> segments;
    for (const QString &part : pattern.split(u';')) {
        if (part.trimmed().isEmpty())
            throw dataError(fileName, line, QStringLiteral("empty sound in the pattern"));
        segments.append(parseSegment(part, fileName, line));
    }
    if (totalSeconds(segments) > kMaxSeconds)
        throw dataError(fileName, line,
                        QStringLiteral("a cue may last at most %1 seconds").arg(kMaxSeconds));
    return segments;
}

QList<CueDef> parseCues(const QString &manifest, const QString &fileName)
{
    QList<CueDef> cues;
    QSet<QString> seen;
    for (const ManifestLine &line : parseManifest(manifest)) {
        const CueDef cue = parseCue(line, fileName);
        if (seen.contains(cue.file))
            throw dataError(fileName, line.number, QStringLiteral("%1 listed twice").arg(cue.file));
        seen.insert(cue.file);
        cues.append(cue);
    }
    return cues;
}

QList<qint16> synthesize(const CueDef &cue)
{
    QList<qint16> samples;
    NoiseSource noise(seedFor(cue.file));
    for (const CueSegment &segment : cue.segments)
        appendSegment(samples, segment, noise);
    return samples;
}

QByteArray wavFile(const QList<qint16> &samples)
{
    const quint32 dataSize = quint32(samples.size()) * 2;
    QByteArray bytes;
    bytes.reserve(44 + int(dataSize));
    bytes.append("RIFF");
    appendLe32(bytes, 36 + dataSize);
    bytes.append("WAVEfmt ");
    appendLe32(bytes, 16);              // format chunk size
    appendLe16(bytes, 1);               // PCM
    appendLe16(bytes, 1);               // mono
    appendLe32(bytes, kSampleRate);     // samples per second
    appendLe32(bytes, kSampleRate * 2); // bytes per second
    appendLe16(bytes, 2);               // bytes per sample frame
    appendLe16(bytes, 16);              // bits per sample
    bytes.append("data");
    appendLe32(bytes, dataSize);
    for (const qint16 sample : samples)
        appendLe16(bytes, quint16(sample));
    return bytes;
}
