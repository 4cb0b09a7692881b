// Where the program keeps its files on this platform.
//
// The ranking file lies beside the executable, named after it, whenever that
// works: the file is there already, or its directory can be written (a build
// tree, a portable copy). An installed program (/usr/bin/horonpa) cannot
// write there; its ranking file goes to the user's data directory instead,
// $XDG_DATA_HOME/horonpa/horonpa.ini (~/.local/share/horonpa/horonpa.ini).
#pragma once

#include <string>

namespace framework {

struct RankingLocation {
    std::string path;
    // True when `path` is in the user's data directory, which may not exist
    // until the first save creates it.
    bool inDataHome = false;
};

RankingLocation RankingFileLocation(const std::string& exePath);

// The user's data directory for this program: $XDG_DATA_HOME/horonpa, or
// $HOME/.local/share/horonpa ("" when neither variable is set).
std::string DataHomeDirectory();

// Creates `dir` and its missing parents (mode 0700 for new ones). Returns
// false when it cannot.
bool CreateDirectories(const std::string& dir);

// The manual: beside the executable ("<exe>.html") when it is there, else the
// installed copy in ../share/doc/horonpa/horonpa.html relative to the
// executable's directory; the first when neither exists.
std::string ManualPath(const std::string& exePath);

}  // namespace framework
