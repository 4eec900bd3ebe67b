// Keeps the editor library non-empty until its first widget lands.
