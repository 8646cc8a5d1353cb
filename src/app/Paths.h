#pragma once

class Paths {
public:
    // profilesDir and profilesFile from userRoot.
    static int getPaths();
};
