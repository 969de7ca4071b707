// Export and import of the library's classes and functions: tesk.dll builds with
// TESK_EXPORTS defined; the program and the tests import.
#pragma once

#if defined(TESK_EXPORTS)
#define TESK_API __declspec(dllexport)
#else
#define TESK_API __declspec(dllimport)
#endif
