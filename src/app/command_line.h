#pragma once

#include <string>
#include <vector>

class QCoreApplication;

namespace glidtavla {

// What the program was started with.
struct CommandLine {
    std::string Document;  // bytes, as the file system names it; empty for none
    bool Help = false;
    bool Version = false;
    bool SendKeys = false;   // start with "Skriv i andra program" on
    bool NoPredict = false;  // no word prediction in this run
    bool Start = false;      // START pressed at once: the board shown
    int Zoom = 0;            // percent, 100 to 400; 0 when not given
    int RestMs = 0;          // --vila: resting presses on, this long (-1: the time kept); 0 off
    std::string Error;       // a message for standard error; the program then exits with status 2
};

// Reads the arguments as they were given (before Qt takes any for its own options): our own
// options, then "--" if given, then the document.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// What --help and --version print.
std::string UsageText();
std::string VersionText();

// Qt's own dialogs, buttons and menus in Swedish; false when the translation is not found.
bool InstallSwedishTranslation(QCoreApplication& app);

}  // namespace glidtavla
