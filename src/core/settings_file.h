// The settings file: location and the readers used wherever a number is read.
#pragma once

#include <string>

#include "forms/text_list.h"
#include "platform/os_port.h"

namespace tivoler {

// Reads a decimal number: blanks and control characters around the text are
// ignored, at most the first nine characters are looked at, and digits count up
// to the first other character. value is what was read (0 without leading digits);
// the result tells whether every looked-at character was a digit.
bool ReadDecimal(const std::string& text, int* value);
int DecimalValue(const std::string& text);
// The same reader for a value that may lie left of or above the origin: a "-" before
// the digits gives the negative number ("-5" is -5).
int SignedDecimalValue(const std::string& text);

// True when any line contains key anywhere (letter case counts).
bool KeyPresent(const TStringList& lines, const std::string& key);

// <local application data>\tivoler\tivoler.ini; empty when that folder is unknown.
std::string GetSettingsPath(OsPort& os);

bool FileExists(OsPort& os, const std::string& path);
bool DirectoryExists(OsPort& os, const std::string& path);
std::string ExtractFileDir(const std::string& path);
// Creates a folder with every missing folder above it.
bool ForceDirectories(OsPort& os, const std::string& path);

// Replaces the file's content without ever leaving a partial file: the text goes to
// a temporary file beside it first. Raises an error naming the file on failure.
void WriteFileSafely(OsPort& os, const std::string& path, const std::string& content);

}  // namespace tivoler
