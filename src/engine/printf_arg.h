#pragma once
// One argument of a label's text whose type is known only at run time.
#include <string>

struct PrintfArg {
    enum Type { kNone = 0, kInt = 1, kFloat = 2, kString = 3 };

    int type = kNone;
    int int_value = 0;
    float float_value = 0.0f;
    std::string string_value;

    PrintfArg() = default;
    PrintfArg(int value) : type(kInt), int_value(value) {}  // NOLINT: labels pass plain numbers
    static PrintfArg MakeFloat(float value);
    static PrintfArg MakeString(std::string value);

    // The value as that type: 0, 0.0 or "" unless the tag says so.
    int GetInt() const { return type == kInt ? int_value : 0; }
    float GetFloat() const { return type == kFloat ? float_value : 0.0f; }
    std::string GetString() const { return type == kString ? string_value : std::string(); }
};
