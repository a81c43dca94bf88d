// Stands in for ProfileCommands.cpp while the tree has no profile files (app/model/Profile.cpp yet):
// the profile commands then say so instead of the tool failing to build. CMakeLists.txt picks one
// of the two files.
#include "Cli.h"

namespace {

int Unavailable() {
    return Fail("this build of zelk-cli cannot read or write profile files");
}

} // namespace

int RunWrite(const CCliRun&) {
    return Unavailable();
}
int RunWriteKeys(const CCliRun&) {
    return Unavailable();
}
int RunWriteLight(const CCliRun&) {
    return Unavailable();
}
int RunRead(const CCliRun&) {
    return Unavailable();
}
int RunShow(const CCliRun&) {
    return Unavailable();
}
