// The command line for scheduled syncs:
//   quendel.exe /sync [/quiet]    queries, asks nothing, sets the clock, shows the result, exits
//   quendel.exe /query [/quiet]   only measures and shows
//   quendel.exe /convert VALUE... [/zone KEY]   every reading of each value, a block each
//   quendel.exe /convert - [/zone KEY]          one value a line from standard input
// /quiet shows no window; /sync /quiet then sets a step over an hour only when a second
// server of the list confirms it. Switches may be written with '/' or '-', in any case (after
// /convert a word is a switch only with '/', so that "-1.25" is a value); a word in double
// quotes may hold blanks. Started from a console, the result lines also go to it. Exit
// codes: sync_session::Exit, and 5 when a value of /convert had no reading.
#pragma once

#include <string>
#include <vector>

#include "app/sync_session.h"

struct CommandLine {
    bool sync = false, query = false, quiet = false, convert = false;
    std::vector<std::string> values;  // of /convert; "-": standard input
    std::string zone;                 // /zone KEY; empty: the machine's zone
    std::string error;  // not empty: the command line is bad, and why
    // Set by the caller: the output reaches a console or a file, so a bad command line
    // shows no box that nobody may see.
    bool console = false;
    bool Any() const { return sync || query || quiet || convert || !zone.empty() || !error.empty(); }
};
constexpr int kExitNoReading = 5;

// Reads the arguments after the program's name.
CommandLine ParseCommandLine(const std::string& arguments);

// Runs the command line (Any() is true) to its exit code. show gets the boxes (not called
// with /quiet), write the lines for the console.
int RunCommandLine(const CommandLine& command, const sync_session::Show& show,
                   void (*write)(const std::string& lines));

// /convert: for each value (input's lines for "-") its readings, one line each,
// "form;UTC ISO 8601;local ISO 8601 with offset", and an empty line after each block; 0 when
// every value had one, kExitNoReading when one had none. A blank line of input gives an empty
// block and counts as no value; a UTF-8 byte-order mark before the first line is dropped.
int RunConvert(const std::vector<std::string>& values, const std::string& input, void (*write)(const std::string& lines));
// Whether standard output is redirected or the parent has a console.
bool OutputReachesConsole();
// All of standard input into text; false when the program has none (no handle, or a closed one).
bool ReadStandardInput(std::string& text);

// Writes lines to the console this program was started from, or to its redirected output.
void WriteToConsole(const std::string& lines);
