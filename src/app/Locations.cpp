#include "app/Locations.h"

#include "framework/FileUtils.h"

using framework::DirectoryOf;
using framework::FileExists;

std::string RankingFilePath(const std::string& exePath) {
    return framework::ChangeFileExt(exePath, ".ini");
}

std::string DataHomeDirectory() {
    const std::string base = framework::UserDataHome();
    return base.empty() ? std::string() : framework::JoinPath(base, "horonpa");
}

RankingLocation RankingFileLocation(const std::string& exePath) {
    const std::string beside = RankingFilePath(exePath);
    if (FileExists(beside) || framework::DirectoryIsWritable(DirectoryOf(beside))) {
        return {beside, false};
    }
    const std::string dataHome = DataHomeDirectory();
    if (dataHome.empty()) return {beside, false};
    return {framework::JoinPath(dataHome, "horonpa.ini"), true};
}

std::string ManualPath(const std::string& exePath) {
    const std::string beside = framework::ChangeFileExt(exePath, ".html");
    if (FileExists(beside)) return beside;
    const std::string installed = DirectoryOf(exePath) + "/../share/doc/horonpa/horonpa.html";
    return FileExists(installed) ? installed : beside;
}
