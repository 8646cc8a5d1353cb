// The name entry takes letters A-Z, a-z and digits only, at most 15 of them;
// Backspace removes the last one; OK needs a name; cancel clears it unless
// cancelling is forbidden.
#include <gtest/gtest.h>

#include "screens/TEnterText.h"

namespace {

std::string typed(const std::string& keys) {
    TEnterText t;
    size_t i = 0;
    while (i < keys.size()) {
        uint32_t c = static_cast<unsigned char>(keys[i]);
        // Two-byte UTF-8 letters arrive as one code point.
        if ((c & 0xE0) == 0xC0 && i + 1 < keys.size()) {
            c = ((c & 0x1F) << 6) | (static_cast<unsigned char>(keys[i + 1]) & 0x3F);
            ++i;
        }
        t.typeChar(c);
        ++i;
    }
    return t.entry;
}

TEST(EnterText, WhatIsTaken) {
    const struct {
        const char* keys;
        const char* entry;
    } cases[] = {
        {"Ann", "Ann"},
        {"Ann Lee", "AnnLee"},                       // a space is refused
        {"Ren\xC3\xA9", "Ren"},                     // an accented letter is refused
        {"abc-_.!?/\\@", "abc"},                     // punctuation is refused
        {"Zz09", "Zz09"},                            // both ends of the ranges
        {"abcdefghijklmnopqr", "abcdefghijklmno"},   // the 16th character and on are refused
        {"Ann\b\bx", "Ax"},                          // Backspace
        {"\b\b", ""},                                // Backspace on an empty name
        {"abcdefghijklmno\bZ", "abcdefghijklmnZ"},  // room again after a Backspace
    };
    for (const auto& c : cases) EXPECT_EQ(typed(c.keys), c.entry) << c.keys;
}

TEST(EnterText, OkNeedsANameAndCancelMayBeForbidden) {
    TEnterText t;
    t.goOk();
    EXPECT_EQ(t.dAlpha, 1.0f);  // an empty name does not close the entry

    t.entry = "Ann";
    t.noCancel = true;
    t.goCancel();
    EXPECT_EQ(t.entry, "Ann");  // no cancel when it is forbidden
    EXPECT_EQ(t.dAlpha, 1.0f);

    t.noCancel = false;
    t.goCancel();
    EXPECT_EQ(t.entry, "");
    EXPECT_EQ(t.dAlpha, 0.0f);
}

}  // namespace
