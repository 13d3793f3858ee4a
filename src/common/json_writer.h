#pragma once
// A small writer of JSON text, for the command-line tool's reports.

#include <ostream>
#include <string>
#include <string_view>

namespace vorelbox::common {

// The text as a JSON string literal, quotes included. Bytes that are not UTF-8
// are taken as Latin-1 characters, so the result is always valid JSON.
std::string json_string(std::string_view text);

// A number as JSON: whole numbers without a point, others in their shortest exact form.
std::string json_number(double value);

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void begin_object();
    void end_object();
    void begin_array();
    void end_array();
    void key(std::string_view name);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(double number);
    void value(int number) { value(static_cast<double>(number)); }
    void value(bool flag);
    void null();

private:
    void before_value();

    std::ostream& out_;
    bool first_ = true;
    bool after_key_ = false;
};

}  // namespace vorelbox::common
