#include "listenbox/core/commandline.h"

namespace listenbox {

namespace {

bool IsPlayAtOnce(const std::string& argument) {
  return argument == "/s" || argument == "/S" || argument == "-s" || argument == "-S";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine result;
  bool switchesEnded = false;
  for (const std::string& argument : arguments) {
    if (!switchesEnded && argument == "--") {
      switchesEnded = true;
    } else if (!switchesEnded && IsPlayAtOnce(argument)) {
      result.PlayAtOnce = true;
    } else if (!switchesEnded && argument.size() > 1 && argument[0] == '-') {
      result.Ignored.push_back(argument);
    } else if (result.File.empty() && !argument.empty()) {
      result.File = argument;
    } else {
      result.Ignored.push_back(argument);
    }
  }
  if (result.File.empty()) result.PlayAtOnce = false;
  return result;
}

}  // namespace listenbox
