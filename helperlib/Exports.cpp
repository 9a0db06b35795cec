// The helper library's exports are added with their own work; until then the library exports nothing.
