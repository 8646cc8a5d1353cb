// Shared set-up of the GUI toolkit tests: a fresh null backend, notices
// collected instead of shown, fonts "loaded" from any existing file (the null
// backend loads none), and a scratch folder for scripts.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/Services.h"
#include "gui/GuiGlobals.h"
#include "gui/TGui.h"
#include "gui/TMouse.h"
#include "gui/TRGMFont.h"
#include "gui/TTheme.h"

class GuiTest : public ::testing::Test {
protected:
    std::vector<std::string> notices;
    std::filesystem::path dir;

    void SetUp() override {
        InstallBackend(nullptr);
        frameDelta = 1.0f;
        errorNoticeHook = [this](const std::string& t) { notices.push_back(t); };
        guiFontLoader = [](const std::string& path, int size, int style) -> FontPtr {
            if (!std::filesystem::is_regular_file(path)) return nullptr;
            auto f = std::make_shared<TImageFont>();
            f->path = path;
            f->size = size;
            f->style = style;
            return f;
        };
        themeList.clear();
        fontList.clear();
        lastTheme.reset();
        resetMouse();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("brimble_gui_" + std::string(info->test_suite_name()) + "_" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }

    void TearDown() override {
        errorNoticeHook = nullptr;
        guiFontLoader = nullptr;
        guiClickSound = nullptr;
        guiFullScreen = nullptr;
        themeList.clear();
        fontList.clear();
        lastTheme.reset();
        std::filesystem::remove_all(dir);
    }

    // The global mouse's readings, back to a fresh state (cursors kept out).
    static int resetMouse() {
        mouse.x = mouse.y = mouse.px = mouse.py = 0;
        mouse.leftPressed = mouse.leftHolded = mouse.rightPressed = mouse.rightHolded = 0;
        mouse._leftHolded = 0;
        mouse.listaKursorow.clear();
        mouse.cur.reset();
        return 0;
    }

    std::string write(const std::string& name, const std::string& text) {
        const auto p = dir / name;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
        return p.string();
    }

    TGuiPtr load(const std::string& script) { return loadGui(write("test.gui", script)); }

    void point(int x, int y, int pressed = 0, int held = 0) {
        mouse.x = x;
        mouse.y = y;
        mouse.leftPressed = pressed;
        mouse.leftHolded = held;
    }

    void advance(double ms) { Backend().advanceClock(ms); }

    bool noticed(const std::string& text) const {
        for (const auto& n : notices) {
            if (n == " >> BLAD! << : " + text) return true;
        }
        return false;
    }
};
