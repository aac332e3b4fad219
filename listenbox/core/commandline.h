#pragma once
// The score player's command line, as an argument list (the program's name left out):
// the first argument that is not a switch is the file to play; "/s", "/S" or "-s", each an
// argument of its own, plays it at once without a window. A file path may begin with "/"
// (every absolute path does) and may hold spaces.

#include <string>
#include <vector>

namespace listenbox {

struct CommandLine {
  std::string File;         // empty when none was given
  bool PlayAtOnce = false;  // only with a file
  // Arguments that were neither the file nor a known switch, for a warning.
  std::vector<std::string> Ignored;
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace listenbox
