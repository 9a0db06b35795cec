// The dialog library's exports are added with their dialogs; until then the library exports nothing.
