// The editor's file dialog, over the editor: the two level folders as tabs,
// their ".lvl" files in a list, a name typed or picked from the list, and
// Open/Save and Cancel. Saving over an existing file asks first; a name
// with a folder in it is refused with the reason.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/TEkran.h"
#include "editor/EditorFiles.h"

class TEditorFileDialog : public TEkran {
public:
    TEditorFileDialog();

    static constexpr int kRows = 12;

    std::vector<TEditorFolder> folders;
    int folder = 0;
    std::vector<std::string> files;
    int page = 0;
    std::string name;  // the name typed
    std::string error;
    bool saving = false;

    // The chosen file's path, "" after Cancel.
    std::string mainLoop(TEkran* behind, bool save, const std::string& current);
    int update() override;
    int draw() override;
    void _control() override;
    bool loopDone() const override { return _closed; }

    // Takes the typed name (Enter or the OK button): the path in `result`
    // when it is acceptable; false with `error` set otherwise.
    bool accept();
    void chooseFolder(int i);
    std::string result;

private:
    FontPtr _font, _title;
    bool _closed = false;
};

extern std::shared_ptr<TEditorFileDialog> editorFileDialog;
