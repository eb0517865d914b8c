#pragma once

#include "core/appcontext.h"
#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "network/classroom.h"
#include "ui/cueplayer.h"

#include <memory>

class MainMenu;

// The start-up sequence: session state, login, show-errors setting, splash, main menu.
class Application
{
public:
    // audible false silences the sound device (tests and benchmarks).
    Application(const QString &programFolder, bool audible = true);

    // Shows the login window modally; false when the user gave up.
    bool login();
    // Reads the show-errors setting; offers the user a test of his that the program was killed
    // in and goes on with it, or opens its introduction anew, under the hidden menu; otherwise
    // tells about lost tests, removes the stale test files, shows the splash (when splashMs >= 0)
    // and loads the menu, which the splash shows when it closes; without a splash the menu is shown
    // at once.
    MainMenu *startMenu(int splashMs = 1500);
    // The whole start; returns the process exit code.
    int run();

    SessionState session;
    CuePlayer cues;
    WindowHub windows;
    Classroom classroom;
    AppContext context{session, cues, windows, classroom};

private:
    // True when the user had an interrupted test: it goes on or starts again.
    bool continueInterruptedTest();
    // A test lost in a crash gets grade 0 in its owner's results; the user is told about his
    // own lost tests, those found now and those noted while another user worked.
    void tellLostTests();
};
