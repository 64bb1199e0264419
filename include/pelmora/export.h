/// @file
/// @brief PELMORA_API, the mark of what the library exports.
#pragma once

#if defined(__GNUC__)
/// Marks a declaration the library exports; everything else in it is hidden.
#define PELMORA_API __attribute__((visibility("default")))
#else
#define PELMORA_API
#endif
