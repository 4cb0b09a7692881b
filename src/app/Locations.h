// Where this program keeps its files.
//
// The ranking file lies beside the executable, named after it, whenever that
// works: the file is there already, or its directory can be written (a build
// tree, a portable copy). An installed program (/usr/bin/horonpa) cannot
// write there; its ranking file goes to the user's data directory instead,
// $XDG_DATA_HOME/horonpa/horonpa.ini (~/.local/share/horonpa/horonpa.ini), on
// Windows (a game under Program Files) %APPDATA%\horonpa\horonpa.ini.
#pragma once

#include <string>

// The ranking file beside the executable at `exePath`: its extension replaced
// by ".ini" ("/home/a.b/horonpa" gives "/home/a.b/horonpa.ini").
std::string RankingFilePath(const std::string& exePath);

struct RankingLocation {
    std::string path;
    // True when `path` is in the user's data directory, which may not exist
    // until the first save creates it.
    bool inDataHome = false;
};

// The ranking file the program reads and writes: RankingFilePath(exePath)
// where that works, else the one in DataHomeDirectory().
RankingLocation RankingFileLocation(const std::string& exePath);

// The user's data directory for this program: $XDG_DATA_HOME/horonpa, or
// $HOME/.local/share/horonpa ("" when neither variable is set); on Windows
// %APPDATA%\horonpa.
std::string DataHomeDirectory();

// The manual: beside the executable ("<exe>.html") when it is there, else the
// installed copy in ../share/doc/horonpa/horonpa.html relative to the
// executable's directory; the first when neither exists.
std::string ManualPath(const std::string& exePath);
