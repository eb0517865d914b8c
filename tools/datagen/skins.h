#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// A skinned button as datagen/skins.txt lists it: folder, file name without ".bmp", caption and
// an optional size "WxH" (120x36 when left out).
struct SkinDef
{
    QString folder;
    QString name;
    QString label;
    QSize size;
};

inline constexpr QSize kDefaultButtonSize{120, 36};

// Parses the skin manifest; a fault is a DataError naming fileName and the line. Folder and file
// names must be lower-case Latin letters, digits, '_' or '-', and each button may appear once.
QList<SkinDef> parseSkins(const QString &manifest, const QString &fileName);

// The button bitmap: a bevelled face with the caption centred. The lit state ("_move") has a
// lighter face and a bright border.
QImage drawButton(const SkinDef &skin, bool lit);
