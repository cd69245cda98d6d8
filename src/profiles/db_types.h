#pragma once
// Values bound to the parameters ("?") of a statement: texts and blobs reach
// SQLite as data, never as part of the statement text.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace db {

using blob = std::vector<unsigned char>;
using param = std::variant<std::int64_t, double, std::string, blob>;
using params = std::vector<param>;

}  // namespace db
