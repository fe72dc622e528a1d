#pragma once

// Brenlow is built with hidden default visibility; only what carries BRENLOW_API is exported.
#if defined(_WIN32)
#if defined(BRENLOW_BUILDING)
#define BRENLOW_API __declspec(dllexport)
#else
#define BRENLOW_API __declspec(dllimport)
#endif
#else
#define BRENLOW_API __attribute__((visibility("default")))
#endif
