// The command line for scheduled syncs:
//   quendel.exe /sync [/quiet]    queries, asks nothing, sets the clock, shows the result, exits
//   quendel.exe /query [/quiet]   only measures and shows
// /quiet shows no window; /sync /quiet then sets a step over an hour only when a second
// server of the list confirms it. Switches may be written with '/' or '-', in any case. Started from
// a console, the result lines also go to it. Exit codes: sync_session::Exit.
#pragma once

#include <string>

#include "app/sync_session.h"

struct CommandLine {
    bool sync = false, query = false, quiet = false;
    std::string error;  // not empty: the command line is bad, and why
    bool Any() const { return sync || query || quiet || !error.empty(); }
};

// Reads the arguments after the program's name.
CommandLine ParseCommandLine(const std::string& arguments);

// Runs the command line (Any() is true) to its exit code. show gets the boxes (not called
// with /quiet), write the lines for the console.
int RunCommandLine(const CommandLine& command, const sync_session::Show& show,
                   void (*write)(const std::string& lines));

// Writes lines to the console this program was started from, or to its redirected output.
void WriteToConsole(const std::string& lines);
