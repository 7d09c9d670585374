#include "ui/core/keys.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    const char *what;
    int key;
    Qt::KeyboardModifiers mods;
    const char *text;
    int wantKey;
    int wantShift;
    char16_t wantTyped;   // 0: nothing typed
};

class KeyTranslation : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTranslation, GivesKeyShiftAndCharacter)
{
    const KeyCase &c = GetParam();
    const ui::KeyStroke k = ui::translateKey(c.key, c.mods, QString::fromUtf8(c.text));
    EXPECT_EQ(k.key, c.wantKey) << c.what;
    EXPECT_EQ(k.shift, c.wantShift) << c.what;
    EXPECT_EQ(k.typed, QChar(c.wantTyped)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTranslation,
    ::testing::Values(
        KeyCase{"letter", Qt::Key_A, Qt::NoModifier, "a", Qt::Key_A, 0, u'a'},
        KeyCase{"capital", Qt::Key_A, Qt::ShiftModifier, "A", Qt::Key_A, ui::ShiftBit, u'A'},
        KeyCase{"Ctrl chord types nothing", Qt::Key_C, Qt::ControlModifier, "\x03", Qt::Key_C, ui::CtrlBit, 0},
        KeyCase{"Ctrl with a letter's text", Qt::Key_V, Qt::ControlModifier, "v", Qt::Key_V, ui::CtrlBit, 0},
        KeyCase{"AltGr types", Qt::Key_At, Qt::ControlModifier | Qt::AltModifier, "@", Qt::Key_At,
                ui::CtrlBit | ui::AltBit, u'@'},
        KeyCase{"Enter", Qt::Key_Return, Qt::NoModifier, "\r", Qt::Key_Return, 0, 13},
        KeyCase{"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, "\r", Qt::Key_Enter, 0, 13},
        KeyCase{"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", Qt::Key_Tab, 0, 9},
        KeyCase{"Shift+Tab is Tab shifted", Qt::Key_Backtab, Qt::NoModifier, "", Qt::Key_Tab, ui::ShiftBit, 9},
        KeyCase{"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", Qt::Key_Backspace, 0, 8},
        KeyCase{"arrow", Qt::Key_Down, Qt::ShiftModifier, "", Qt::Key_Down, ui::ShiftBit, 0},
        KeyCase{"function key", Qt::Key_F9, Qt::AltModifier, "", Qt::Key_F9, ui::AltBit, 0}),
    [](const ::testing::TestParamInfo<KeyCase> &p) { return "case" + std::to_string(p.index); });

} // namespace
