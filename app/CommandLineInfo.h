#pragma once

#include <optional>
#include <string>

namespace mMain {

// What `tavelmarque --help` or `tavelmarque --version` prints on standard output, when the
// arguments after the program's name are exactly one of these words; nothing for any other
// command line, which starts the program.
std::optional<std::string> CommandLineInfo(int argc, const char* const argv[]);

}  // namespace mMain
