#pragma once
// Test hook of the program: QUOREL_WINDOW_MAP=<file> writes, every 100 ms while the program runs, where each
// named control of each shown window of the program is on the screen, so that an end-to-end test can find
// what to click and read back what the windows show. One line per control, fields separated by tabs:
//   window name, control name, x, y, width, height (screen pixels), shown (1 or 0), text
// The text is a label's or a panel's caption, an edit's or a combo box's text. The items of the pop-up menus on
// the screen are listed too, under the window name "Menu" (shown: the item can be chosen; text: its caption,
// with " (checked)" after it when it is checked). The file is replaced whole (written under a temporary name
// first).

void WriteWindowMapWhenAsked();
