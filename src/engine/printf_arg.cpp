#include "engine/printf_arg.h"

PrintfArg PrintfArg::MakeFloat(float value) {
    PrintfArg a;
    a.type = kFloat;
    a.float_value = value;
    return a;
}

PrintfArg PrintfArg::MakeString(std::string value) {
    PrintfArg a;
    a.type = kString;
    a.string_value = std::move(value);
    return a;
}
