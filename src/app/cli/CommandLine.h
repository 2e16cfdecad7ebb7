#pragma once
// The program's command line: the modes that work without a window.

#include <exception>
#include <string>
#include <vector>

namespace grottix {

// Whether the arguments after the program name ask for a command (--info, --help, ...) rather than
// the window.
bool NamesCommand(const std::vector<std::string>& args);

// Runs the command the arguments name; returns the exit code. A command that fails in any way prints
// one line on standard error and exits with 1.
int RunCommandLine(const std::vector<std::string>& args);

// What a failure says in those lines ("out of memory" for std::bad_alloc).
std::string FailureText(const std::exception& error);

// Flushes what the command wrote to standard output (through std::cout or stdout); when it could not
// all be written (a full disk, a file size limit), says so on standard error and returns false.
bool FlushStandardOutput();

// When meshes were left out for the limit on placed mesh faces, says how many on standard error
// ("File NAME: 40 placed meshes left out: ..."); the command goes on.
void WarnMeshesLeftOut(const std::string& file, size_t count);

// Whether the input at path can be read: when it cannot (missing, a folder, no rights), prints
// "File NAME: REASON" with the system's reason ("No such file or directory") and returns false.
bool CheckInputFile(const std::string& path);

// Prints that line: "File NAME: REASON", where NAME is the output an EOutputFailure names, else file;
// "grottix-viewer: REASON" when there is no file to name.
void PrintCommandFailure(const std::exception& error, const std::string& file = {});

}  // namespace grottix
