// The level editor in the screen table ("EDITOR", reached from the main
// menu with F2 when "cheats.txt" is present) and its development start
// (--editor [FILE]).
#include "app/Control.h"
#include "app/FrameServices.h"
#include "editor/TEditor.h"
#include "platform/Files.h"
#include "wiring/Wiring.h"

void wireEditor() {
    if (!editor) editor = std::make_shared<TEditor>();
    addExitSave("editor", [] {
        if (!editor) return;
        editor->printStats();
        editor->saveRecovery();
    });
    Control::registerScreen("EDITOR", [] {
        editor->exitTo = "MAIN-MENU";
        return editor->mainLoop();
    });
}

int runEditorFile(const std::string& file) {
    wireEditor();
    Control::currentName = "EDITOR";
    editor->exitTo = "END";
    editor->openAtStart(file);
    editor->mainLoop();
    return 0;
}
