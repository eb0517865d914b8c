#pragma once

#include <QString>

#include <array>

inline constexpr int ResultSlots = 20;
inline constexpr int CatalogueSlots = 20;

// The user who logged in, as his record in the user base holds him.
struct SignedInUser
{
    QString firstName;
    QString surname;
    QString password;
    // The page he last read, as the contents window marks it.
    QString bookmark;
    std::array<QString, ResultSlots> results;
};

// The topic tests of the catalogue, one entry per slot (slot k at index k - 1).
struct TestCatalogue
{
    std::array<QString, CatalogueSlots> names;
    std::array<QString, CatalogueSlots> files;
    // The first line of each record: the description of a school's own test.
    std::array<QString, CatalogueSlots> notes;
};

// What the user chose in the main menu: reading, learning with questions, self-control, or the
// test over the whole course.
enum class SessionMode { Reading, Learning, Control, CourseTest };

// What the whole session shares: the program's folders, the user who logged in, the sound
// switch, the mode chosen in the main menu and the test catalogue. Everything else belongs to
// the object that owns it (a TestRun, the Classroom, a window). Indexed tables are 0-based here:
// result slot k and catalogue slot k live at index k - 1.
struct SessionState
{
    static constexpr int ResultSlots = ::ResultSlots;
    static constexpr int CatalogueSlots = ::CatalogueSlots;

    // Program and skin folders, without and with a trailing separator.
    QString programFolder;
    QString skinFolder;

    // The identified user.
    SignedInUser user;

    bool soundOn = true;

    SessionMode mode = SessionMode::Reading;

    TestCatalogue catalogue;

    // A path below the data folder, found without regard to letter case.
    QString dataPath(const QString &relative) const;
    // A file of data/jpg (data files, banks, pictures).
    QString jpgPath(const QString &name) const;
    // A skin bitmap below data/jpg/skin.
    QString skinPath(const QString &relative) const;

    // Sets the folders for a program that lives in folder.
    void setProgramFolder(const QString &folder);
};
