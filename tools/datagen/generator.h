#pragma once

#include <QString>
#include <QStringList>

// What one run produced. Every output counts as written or unchanged; faults are collected so
// that one run reports all of them.
struct Report
{
    int textFiles = 0;
    int stateFilesWritten = 0;
    int stateFilesKept = 0;
    int skinBitmaps = 0;
    int pictures = 0;
    int cues = 0;
    int written = 0;
    int unchanged = 0;
    QStringList errors;
};

// Files the program keeps up to date itself (user base, remembered login, settings, pupil
// computers, results history): their sources are only the first state, written when missing.
bool isStateFile(const QString &relativePath);

// Every file under dataDir (hidden ones aside) to the same relative path under outDir, in
// Windows-1251 with CR LF line ends; state files under stateDir instead when it is given (a
// package lays them down only where none exist yet).
void convertDataTree(const QString &dataDir, const QString &outDir, Report &report,
                     const QString &stateDir = {});

// The skin bitmaps of the manifest to outDir/jpg/skin/<folder>/<name>.bmp and <name>_move.bmp.
void drawSkins(const QString &manifestPath, const QString &outDir, Report &report);

// outDir/jpg/main/3_1.jpg.
void drawMainPicture(const QString &outDir, Report &report);

// Every picturesDir/<name>.txt to outDir/jpg/<name>.jpg.
void renderPictures(const QString &picturesDir, const QString &outDir, Report &report);

// The cues of the manifest to outDir/wav/<file>.
void synthesizeCues(const QString &manifestPath, const QString &outDir, Report &report);

// The program's icon from its drawing description: iconDir/tarvel.svg and a 256 px tarvel.png.
void drawIcon(const QString &descriptionPath, const QString &iconDir, Report &report);

// Where one run writes: the data folder, the state files when they go elsewhere, and the icon
// when it is wanted.
struct OutputFolders
{
    QString data;
    QString state; // empty: into data
    QString icons; // empty: no icon
};

// Runs every step above from the repository at sourceDir.
Report generateAll(const QString &sourceDir, const OutputFolders &out);

// One line with the counts.
QString summary(const Report &report);
