#pragma once

#include <QString>

#include <array>
#include <memory>

struct PreparedTest;

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

// The one record of session state that every window reads and writes: the user, the chosen
// test. Events between windows go by signals or direct calls, not through these fields. Indexed
// tables are 0-based here: result slot k and catalogue slot k live at index k - 1.
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

    QString TestBankName;
    TestCatalogue catalogue;
    qint16 ShowErrorsSetting = 1;

    // Reading.
    QString CurrentParagraph;
    bool QuestionsShown = false;

    // The running test.
    QString CurrentTestName;
    bool TestFromChoice = false;
    // The test is the practice of the user's missed questions, started from his results: it
    // stores no grade and returns there.
    bool PracticeFromResults = false;
    qint16 AskedCount = 0;
    qint16 CorrectCount = 0;
    qint16 RecordedCount = 0;
    qint16 Grade = 0;
    qint16 ElapsedSeconds = 0;
    qint16 PausesUsed = 0;
    bool PauseRequested = false;
    float ResultPercent = 0;
    QString ElapsedText;
    // What of the finished test could not be written (its grade into the user base, its files),
    // one line each; empty when everything was.
    QString ResultNotice;
    QString PictureToShow;
    // The bank and question order prepared by the introduction window.
    std::shared_ptr<const PreparedTest> LoadedTest;

    // A path below the data folder, found without regard to letter case.
    QString dataPath(const QString &relative) const;
    // A file of data/jpg (data files, banks, pictures).
    QString jpgPath(const QString &name) const;
    // A skin bitmap below data/jpg/skin.
    QString skinPath(const QString &relative) const;

    // Sets the folders for a program that lives in folder.
    void setProgramFolder(const QString &folder);
};
