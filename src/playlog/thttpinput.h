// One field of a form upload: a text field (mode 0) or a file (mode 1).
#pragma once

#include <memory>
#include <string>

class thttpinput {
public:
    int mode = 0;
    std::string name;
    std::string filepath;
    std::string filename;
    std::string filecontenttype;
    std::string value;
};
using thttpinputPtr = std::shared_ptr<thttpinput>;
