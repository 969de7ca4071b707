// Keeps the program library non-empty while a build holds no program sources yet.
