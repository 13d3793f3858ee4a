#pragma once
// Small text and path routines used all over the program.

#include <string>
#include <string_view>

namespace vorelbox::common {

// Blanks are spaces, tabs, carriage returns and NUL characters.
inline bool is_blank_char(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\0'; }
std::string_view trim_right(std::string_view text);
std::string_view trim_left(std::string_view text);
std::string_view trim(std::string_view text);
bool is_blank(std::string_view text);

// Every "a".."z" up to the last non-blank character becomes a capital.
std::string CAPS(std::string_view text);
// Every "A".."Z" becomes a small letter.
std::string LOWCASE(std::string_view text);

struct PathParts {
    std::string drive;      // "C:" or empty
    std::string directory;  // "\data\run1\" or "/home/me/", with the closing separator
    std::string name;       // "spec"
    std::string extension;  // ".dat", with the point, or empty
};

// Splits a file name. Both "/" and "\" separate directories.
PathParts SPLITPATH(std::string_view path);

// The name and extension of a path, "spec.dat" of "C:\data\spec.dat".
std::string name_with_extension(std::string_view path);

// The first max_chars characters of a text. Characters are UTF-8 code points
// when the text is valid UTF-8, bytes otherwise, so a cut never splits a character.
std::string cut_chars(std::string_view text, std::size_t max_chars);

// Control characters are the bytes 0..31 and 127: NUL, tabs, line breaks...
bool is_control_char(char c);
bool has_control_char(std::string_view text);
// A file name for a message: every control character is written as \xNN, so
// that a name holding one is seen whole.
std::string shown_name(std::string_view name);

// The text with every control character (line breaks, tabs, NUL...) made a blank,
// so that it stays on one line.
std::string blank_control_chars(std::string_view text);

// Text cut at its first NUL character, as names coming from the platform are.
std::string_view cut_at_nul(std::string_view text);

}  // namespace vorelbox::common
