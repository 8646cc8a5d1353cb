#include "screens/TResultsHost.h"

TResultsHost& resultsHost() {
    static TResultsHost h;
    return h;
}
