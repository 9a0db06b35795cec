// Fuzzes the shortcut texts of the settings file ([ShortCut] values, one a line here) with any text, through
// each reader the player has for them: the menu and action key (TextToShortCut), and the split into modifier
// and key of the options dialog and the boss key. A key read back as text reads as the same key; a split
// text joins back into the text; the boss key's names give a value of the tables or -1.

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/Shortcuts.h"
#include "platform/forms/Menus.h"
#include "platform/forms/StringList.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "shortcut texts", What);
}

bool InTable(const std::vector<THotKeyName>& Names, int Value) {
    return std::any_of(Names.begin(), Names.end(), [&](const THotKeyName& N) { return N.Value == Value; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    forms::TStringList lines;
    lines.SetText(std::string(reinterpret_cast<const char*>(Data), Size));
    for (const std::string& line : lines) {
        // The value of a "Command=Key" line, as the settings reader gives it.
        const std::string text = line.substr(line.find('=') == std::string::npos ? 0 : line.find('=') + 1);

        const forms::TShortCut key = forms::TextToShortCut(text);
        if (key != 0) {
            const std::string shown = forms::ShortCutToText(key);
            Check(!shown.empty(), "a key read has a name");
            Check(forms::TextToShortCut(shown) == key, "a key shown reads back as itself");
            forms::KeySequencesOf(key);
        }

        std::string modifierText, keyText;
        SplitShortCutText(text, modifierText, keyText);
        if (modifierText.empty())
            Check(keyText == text || (text.starts_with("+") && "+" + keyText == text),
                  "a text without a modifier is all key");
        else
            Check(modifierText + "+" + keyText == text && !keyText.empty(), "a split text joins back");
        const int modifiers = ModifierFromName(modifierText);
        Check(modifiers == -1 || InTable(HotKeyModifierNames(), modifiers), "a modifier is one of the table");
        const int hotKey = KeyFromName(keyText);
        Check(hotKey == -1 || hotKey == 33 || hotKey == 34 || InTable(HotKeyKeyNames(), hotKey),
              "a key is one of the table");
    }
    return 0;
}
