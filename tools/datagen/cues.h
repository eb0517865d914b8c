#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Sound cues are synthesized from short patterns (datagen/cues.txt): segments separated by ';',
// each one of
//   tone F D          sine at F Hz for D seconds
//   square F D        square wave
//   sweep F1 F2 D     sine gliding from F1 to F2
//   sqsweep F1 F2 D   square wave gliding from F1 to F2
//   chord F1 F2 D     two sines together
//   knock F D         sine dying away quickly, a struck sound
//   noise D           white noise burst
//   silence D

// 48 kHz: many sound devices, on Windows above all, refuse 22,050 Hz.
inline constexpr int kSampleRate = 48000;

struct CueSegment
{
    enum class Wave { Sine, Square, Sweep, SquareSweep, Chord, Knock, Noise, Silence };
    Wave wave = Wave::Silence;
    double from = 0; // frequency, Hz
    double to = 0;   // end frequency of a sweep, second frequency of a chord
    double seconds = 0;
};

struct CueDef
{
    QString file;
    QList<CueSegment> segments;
};

// Parses a pattern; a fault is a DataError naming fileName and line.
QList<CueSegment> parseCuePattern(const QString &pattern, const QString &fileName, int line);

// Parses the cue manifest: file name ending in ".wav", pattern, optional description.
QList<CueDef> parseCues(const QString &manifest, const QString &fileName);

// The cue's samples at kSampleRate. The same cue gives the same samples on every run.
QList<qint16> synthesize(const CueDef &cue);

// A 16-bit mono PCM WAV file at kSampleRate holding the samples.
QByteArray wavFile(const QList<qint16> &samples);
