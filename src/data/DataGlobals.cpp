#include "data/DataGlobals.h"

std::string dataRoot = "";
std::string language = "eng";

std::string dataPath(const std::string& path) {
    if (dataRoot.empty() || path.empty() || path[0] == '/' || path[0] == '\\') return path;
    if (path.size() > 1 && path[1] == ':') return path;  // a Windows drive
    // Callers that already put the prefix on keep their path as it is.
    if (path.compare(0, dataRoot.size(), dataRoot) == 0) return path;
    return dataRoot + path;
}
