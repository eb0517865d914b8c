#pragma once

#include <QString>

#include <array>

// The state of a pupil computer as last read from its curr_test.ini.
struct PupilStatus
{
    QString first;
    QString second;
    QString name;
    QString max;
    QString curr;
    QString ok;
    QString ocenka;
    // The file was too big, or not a regular file: the row says so instead of showing data.
    bool damaged = false;
};

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

// The one record of session state that every window reads and writes: the user, the pupils'
// states last read (the classroom's computers are a Classroom's). Events between
// windows go by signals or direct calls, not through these fields. Indexed tables are 0-based here:
// result slot k and catalogue slot k live at index k - 1, computer i at index i - 1.
struct SessionState
{
    static constexpr int ResultSlots = ::ResultSlots;
    static constexpr int CatalogueSlots = ::CatalogueSlots;
    static constexpr int MaxComputers = 50;

    // Program and skin folders, without and with a trailing separator.
    QString programFolder;
    QString skinFolder;

    // The identified user.
    SignedInUser user;

    bool soundOn = true;

    SessionMode mode = SessionMode::Reading;

    TestCatalogue catalogue;


    // Classroom network.
    qint16 NetWizardIndex = 0;
    QString NetLastFolder; // where the teacher last chose a pupil's program
    std::array<PupilStatus, MaxComputers> Pupils;

    // A path below the data folder, found without regard to letter case.
    QString dataPath(const QString &relative) const;
    // A file of data/jpg (data files, banks, pictures).
    QString jpgPath(const QString &name) const;
    // A skin bitmap below data/jpg/skin.
    QString skinPath(const QString &relative) const;

    // Sets the folders for a program that lives in folder.
    void setProgramFolder(const QString &folder);
};
