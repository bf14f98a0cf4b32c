#pragma once

// Public C interface of the skin library (SkinH_pelm). The program loads the library at run time
// and calls SkinH_AttachEx from the GUI thread once per window load.

#if defined(_WIN32)
#if defined(SKINH_BUILDING)
#define SKINH_API __declspec(dllexport)
#else
#define SKINH_API __declspec(dllimport)
#endif
#if defined(_M_IX86) || defined(__i386__)
#define SKINH_CALL __stdcall
#else
#define SKINH_CALL
#endif
#else
#define SKINH_API __attribute__((visibility("default")))
#define SKINH_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Results of SkinH_AttachEx.
enum SkinHResult {
    SKINH_OK = 0,
    SKINH_ERR_NO_APPLICATION = 1,  // no QApplication, or not called from its thread
    SKINH_ERR_READ = 2,            // the skin file cannot be found or read
    SKINH_ERR_HEADER = 3,          // not a skin file: bad or incomplete header
    SKINH_ERR_STYLE = 4,           // the style sheet is empty or malformed
    SKINH_ERR_PASSWORD = 5         // the password does not match the file's Password header
};

// Applies the skin file's style sheet to the whole application. Both strings are in the system's
// ANSI code page (GBK outside Windows); either may be null. A relative path is looked up in the
// working folder, then in the program's folder. An empty password is always accepted.
// Returns 0 on success; on failure the current look is left untouched.
SKINH_API int SKINH_CALL SkinH_AttachEx(const char* skinFile, const char* password);

// Pointer type for QLibrary::resolve("SkinH_AttachEx").
typedef int(SKINH_CALL* SkinH_AttachExFn)(const char* skinFile, const char* password);

#ifdef __cplusplus
}
#endif
