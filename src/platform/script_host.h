#pragma once

#include <string>
#include <vector>

// The script host that runs a Passive-mode script, and the shape of the file
// it reads. The Windows values are kept for a Windows build.
namespace platform {

#ifdef _WIN32
inline constexpr char kScriptFileName[] = "~script.vbs";
inline constexpr char kScriptHost[] = "wscript.exe";
inline constexpr char kScriptHostOption[] = "//Nologo";
inline constexpr char kScriptLineEnd[] = "\r\n";
#else
inline constexpr char kScriptFileName[] = "~script.sh";
inline constexpr char kScriptHost[] = "sh";
inline constexpr char kScriptHostOption[] = "";
inline constexpr char kScriptLineEnd[] = "\n";
#endif

// The arguments that make the script host run the script at `fullPath`.
// Windows: one argument, the option, a blank and the quoted path (the start
// adds no quotes itself). Here: the path alone, which needs no quoting since
// it is passed to the host as one argument.
std::vector<std::string> ScriptHostArguments(const std::string& fullPath);

// Writes `lines` to `fullPath`, each followed by kScriptLineEnd, replacing any
// earlier file in one step (a script host still reading the old file keeps
// reading the old one). The new file is readable by the user alone, and a
// symbolic link at `fullPath` or at the temporary file beside it is replaced,
// never followed. Returns an empty text on success, otherwise the system's
// reason for the failure.
std::string WriteScriptFile(const std::string& fullPath, const std::vector<std::string>& lines);

// Whether a file exists at `fullPath`.
bool ScriptFileExists(const std::string& fullPath);

}  // namespace platform
